// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dimensions_jobs.h"

#include <utility>
#include <variant>

namespace integral {

namespace {

struct Pictured {
    std::optional<ProjectedPoints> points;
    std::string absent;
};

Pictured picture(const DimensionsIntegrand& integrand, const ManyDimensionsInputs& inputs,
                 PointsChoice choice) {
    Pictured made;
    try {
        made.points = projectedPoints(integrand, choice.method, choice.axisX, choice.axisY,
                                      inputs.budget, inputs.seed);
        if (!made.points) {
            made.absent = std::string(cubatureMethodInfo(choice.method).name) +
                          (cubatureMethodSuits(choice.method, *integrand.f)
                               ? " has no size within the budget."
                               : " counts hits, so it integrates only the ball.");
        }
    } catch (const CubeFault& fault) {
        made.absent = std::string("f has no finite value at a point: ") + fault.what();
    }
    return made;
}

}  // namespace

DimensionsJobs::DimensionsJobs(QObject* parent) : BackgroundJobs(parent) {}

DimensionsJobs::~DimensionsJobs() {
    stopAndWait();
}

void DimensionsJobs::runRace(const ManyDimensionsInputs& inputs, PointsChoice points) {
    start([this, inputs, points](const std::atomic<bool>&, const Progress& progress) {
        auto made = integrandOf(inputs);
        if (auto* why = std::get_if<std::string>(&made)) {
            return std::function<void()>(
                [this, why = QString::fromStdString(*why)] { emit failed(why); });
        }
        const DimensionsIntegrand& integrand = std::get<DimensionsIntegrand>(made);
        const std::size_t methods = dimensionsMethods(inputs).size();
        const std::size_t total = 2 * methods + 1;
        DimensionsResults results;
        results.race =
            raceInDimensions(inputs, integrand, truthOf(integrand),
                             [&](std::size_t done, std::size_t) { return progress(done, total); });
        const bool whole = results.race.rows.size() == results.race.requested;
        if (whole && results.race.fault.empty()) {
            results.errorCost = sweepInDimensions(
                inputs, integrand, results.race.truth,
                [&](std::size_t done, std::size_t) { return progress(methods + done, total); });
            if (results.errorCost) {
                const Pictured pictured = picture(integrand, inputs, points);
                results.points = pictured.points;
                results.pointsAbsent = pictured.absent;
                progress(total, total);
            }
        }
        // A race that was stopped still shows the methods it ran, and says that it stopped.
        return std::function<void()>([this, results = std::move(results)] { emit raced(results); });
    });
}

void DimensionsJobs::runCurse(const ManyDimensionsInputs& inputs) {
    start([this, inputs](const std::atomic<bool>&, const Progress& progress) {
        std::optional<DimensionsPlot> plot = cursePlot(inputs, progress);
        if (!plot) {
            return std::function<void()>();
        }
        return std::function<void()>([this, plot = std::move(*plot)] { emit cursed(plot); });
    });
}

void DimensionsJobs::runPoints(const ManyDimensionsInputs& inputs, PointsChoice points) {
    start([this, inputs, points](const std::atomic<bool>&, const Progress&) {
        auto made = integrandOf(inputs);
        if (auto* why = std::get_if<std::string>(&made)) {
            return std::function<void()>(
                [this, why = QString::fromStdString(*why)] { emit failed(why); });
        }
        Pictured pictured = picture(std::get<DimensionsIntegrand>(made), inputs, points);
        return std::function<void()>([this, pictured = std::move(pictured)] {
            emit pointsMade(pictured.points, QString::fromStdString(pictured.absent));
        });
    });
}

}  // namespace integral
