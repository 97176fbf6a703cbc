// SPDX-License-Identifier: GPL-3.0-or-later
// Work off the GUI thread for a window that must answer while it runs: one job at a time.
// Asking for another while one runs stops that one, and the new one starts as soon as it has
// stopped, so a request is never dropped. A job returns what to report, which is done on the
// GUI thread; its progress crosses there queued, and an old job's is dropped.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace integral {

class BackgroundJobs : public QObject {
    Q_OBJECT

  public:
    explicit BackgroundJobs(QObject* parent = nullptr);
    ~BackgroundJobs() override;

    // Stops the job under way and forgets one waiting to start.
    void stop();
    // A job under way or waiting, stopped or not.
    bool busy() const;

  signals:
    void busyChanged(bool busy);
    // After each step of a job that has steps (the methods of a race).
    void progressed(std::size_t done, std::size_t total);

  protected:
    using Progress = std::function<bool(std::size_t, std::size_t)>;
    // Runs off the GUI thread, where every evaluation of f looks at the stop request, and
    // returns what to report.
    using Work = std::function<std::function<void()>(const std::atomic<bool>&, const Progress&)>;

    void start(Work work);
    // Stops the job under way and waits for it: a derived class calls this first in its own
    // destructor, as its jobs report to it.
    void stopAndWait();
    // A job ended with nothing to report and none waits to start.
    virtual void endedSilently() {}

  private:
    void launch(Work work);
    void finished();

    QFutureWatcher<std::function<void()>> watcher_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::optional<Work> waiting_;
    // Which job's progress is news: an old job's, queued before it ended, is not.
    std::uint64_t job_ = 0;
    // From a job's launch until its report is made: the future may have ended before the GUI
    // thread hears of it, and the job is not over until then.
    bool launched_ = false;
};

}  // namespace integral
