// SPDX-License-Identifier: GPL-3.0-or-later
// The work of the window "Many dimensions" off the GUI thread: the race with its sweep and its
// picture of points, the curse plot, or a picture alone, so that the window answers while a
// million evaluations in ten dimensions run. One job at a time: asking for another while one
// runs stops that one, and the new one starts as soon as it has stopped. Each job builds its
// integrand from the inputs on its own thread, as a typed f's evaluator is not to be shared.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/dimensions_plots.h"
#include "model/many_dimensions.h"

namespace integral {

// Which method's points, along which two axes (0 for x1).
struct PointsChoice {
    CubatureMethod method = CubatureMethod::ProductGauss;
    int axisX = 0;
    int axisY = 1;
};

// A race and what comes with it; the plot and the picture are missing where the job was
// stopped before them, the picture also where the method has none (then `pointsAbsent` says
// why).
struct DimensionsResults {
    DimensionsRace race;
    std::optional<DimensionsPlot> errorCost;
    std::optional<ProjectedPoints> points;
    std::string pointsAbsent;
};

class DimensionsJobs : public QObject {
    Q_OBJECT

  public:
    explicit DimensionsJobs(QObject* parent = nullptr);
    // Stops the job under way and waits for it: nothing it reports to may go first.
    ~DimensionsJobs() override;

    void runRace(const ManyDimensionsInputs& inputs, PointsChoice points);
    void runCurse(const ManyDimensionsInputs& inputs);
    void runPoints(const ManyDimensionsInputs& inputs, PointsChoice points);

    void stop();
    bool busy() const;

  signals:
    void busyChanged(bool busy);
    void progressed(std::size_t done, std::size_t total);
    void raced(const integral::DimensionsResults& results);
    void cursed(const integral::DimensionsPlot& plot);
    void pointsMade(const std::optional<integral::ProjectedPoints>& points, const QString& absent);
    // The inputs name no integrand (the window checks them first; this is the last word).
    void failed(const QString& why);
    // A job stopped before it had anything to show.
    void stopped();

  private:
    using Progress = std::function<bool(std::size_t, std::size_t)>;
    using Work = std::function<std::function<void()>(const Progress&)>;

    void start(Work work);
    void launch(Work work);
    void finished();

    QFutureWatcher<std::function<void()>> watcher_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::optional<Work> waiting_;
    std::uint64_t job_ = 0;
    bool launched_ = false;
};

}  // namespace integral
