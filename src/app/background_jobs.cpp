// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/background_jobs.h"

#include <QtConcurrent/QtConcurrentRun>
#include <utility>

#include "runtime/stop_request.h"

namespace integral {

BackgroundJobs::BackgroundJobs(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcherBase::finished, this, &BackgroundJobs::finished);
}

BackgroundJobs::~BackgroundJobs() {
    stopAndWait();
}

void BackgroundJobs::stopAndWait() {
    waiting_.reset();
    if (stop_) {
        stop_->store(true);
    }
    watcher_.disconnect(this);
    watcher_.waitForFinished();
}

bool BackgroundJobs::busy() const {
    return launched_ || waiting_.has_value();
}

void BackgroundJobs::stop() {
    waiting_.reset();
    if (stop_) {
        stop_->store(true);
    }
}

void BackgroundJobs::start(Work work) {
    if (launched_) {
        // The new job waits for the old one to stop; only the latest asked for is kept.
        stop_->store(true);
        waiting_ = std::move(work);
        return;
    }
    launch(std::move(work));
    emit busyChanged(true);
}

void BackgroundJobs::launch(Work work) {
    launched_ = true;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    const std::uint64_t job = ++job_;
    // Called on the job's thread: the news crosses to the GUI thread queued, and is dropped
    // there once a newer job has started.
    Progress progress = [this, job, stop](std::size_t done, std::size_t total) {
        QMetaObject::invokeMethod(
            this,
            [this, job, done, total] {
                if (job == job_) {
                    emit progressed(done, total);
                }
            },
            Qt::QueuedConnection);
        return !stop->load();
    };
    watcher_.setFuture(
        QtConcurrent::run([work = std::move(work), stop, progress = std::move(progress)] {
            // Every evaluation of f looks at the request: Esc stops even a slow integrand at
            // once, inside a method as between two.
            const StopScope scope(*stop);
            try {
                return work(*stop, progress);
            } catch (const StopRequested&) {
                return std::function<void()>();
            }
        }));
}

void BackgroundJobs::finished() {
    launched_ = false;
    const std::function<void()> report = watcher_.result();
    if (waiting_) {
        Work next = std::move(*waiting_);
        waiting_.reset();
        launch(std::move(next));
    }
    if (report) {
        report();
    } else if (!launched_) {
        endedSilently();
    }
    if (!busy()) {
        emit busyChanged(false);
    }
}

}  // namespace integral
