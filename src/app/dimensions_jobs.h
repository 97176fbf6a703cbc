// SPDX-License-Identifier: GPL-3.0-or-later
// The work of the window "Many dimensions" off the GUI thread: the race with its sweep and its
// picture of points, the curse plot, or a picture alone, so that the window answers while a
// million evaluations in ten dimensions run. One job at a time: asking for another while one
// runs stops that one, and the new one starts as soon as it has stopped. Each job builds its
// integrand from the inputs on its own thread, as a typed f's evaluator is not to be shared.
#pragma once

#include "app/background_jobs.h"

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

class DimensionsJobs : public BackgroundJobs {
    Q_OBJECT

  public:
    explicit DimensionsJobs(QObject* parent = nullptr);
    // Stops the job under way and waits for it: nothing it reports to may go first.
    ~DimensionsJobs() override;

    void runRace(const ManyDimensionsInputs& inputs, PointsChoice points);
    void runCurse(const ManyDimensionsInputs& inputs);
    void runPoints(const ManyDimensionsInputs& inputs, PointsChoice points);

  signals:
    void raced(const integral::DimensionsResults& results);
    void cursed(const integral::DimensionsPlot& plot);
    void pointsMade(const std::optional<integral::ProjectedPoints>& points, const QString& absent);
    // The inputs name no integrand (the window checks them first; this is the last word).
    void failed(const QString& why);
    // A job stopped before it had anything to show.
    void stopped();

  private:
    void endedSilently() override { emit stopped(); }
};

}  // namespace integral
