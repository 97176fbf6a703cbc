// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the window "Many dimensions", computed without a window: each method's error
// against its cost, the curse of dimensionality (what each method pays for a relative error of
// 1e-3 as d grows), and the points a method places, seen along two chosen axes. Only finite,
// positive figures reach a logarithmic axis, every axis has a bounded number of ticks, and a
// picture holds at most kMostPicturePoints points, so drawing any of them always ends.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/convergence_plot.h"
#include "model/many_dimensions.h"

namespace integral {

struct DimensionsSeries {
    CubatureMethod method = CubatureMethod::ProductGauss;
    std::vector<PlotPoint> points;   // the true |error|, or the evaluations needed
    std::vector<PlotPoint> claimed;  // the method's own error estimate, where it has one
    // Where the method never reached the goal within the cost allowed (x only; the curse plot).
    std::vector<double> notReachedAt;
};

struct DimensionsPlot {
    std::string title;
    std::string xLabel;
    std::string yLabel;
    bool xLogarithmic = true;
    DecadeAxis x;  // decades where logarithmic
    int xLow = 1;  // else whole numbers xLow .. xHigh
    int xHigh = 10;
    DecadeAxis y;
    std::vector<DimensionsSeries> series;
    std::vector<std::string> notes;
    std::optional<std::string> nothingToPlot;
};

// The sweep's picture: |estimate - truth| and the method's own estimate against evaluations.
DimensionsPlot errorCostPlot(const std::vector<CubatureSweep>& sweeps,
                             const DimensionsTruth& truth);
// Every method of the inputs at every size up to the budget, then its picture; nothing where it
// was stopped. A fault of f ends the sweep, and the plot says so in words.
std::optional<DimensionsPlot> sweepInDimensions(const ManyDimensionsInputs& inputs,
                                                const DimensionsIntegrand& integrand,
                                                const DimensionsTruth& truth,
                                                const DimensionsProgress& progress = {});

// The curse: for d = 1 ... kCurseDimensions, the family of the inputs at that d (its difficulty
// and seed), each method's rows in rising size up to kCurseEvaluations evaluations, and the
// evaluations of the first row whose relative error, and the method's own estimate of it, are
// both at most kCurseTolerance; "not reached" where none is. A typed f has its d fixed by its
// variables: the plot then says so instead.
inline constexpr int kCurseDimensions = 10;
inline constexpr double kCurseTolerance = 1e-3;
inline constexpr std::int64_t kCurseEvaluations = 1000000;
std::optional<DimensionsPlot> cursePlot(const ManyDimensionsInputs& inputs,
                                        const DimensionsProgress& progress = {});

// The points one method places, projected on the axes x_(axisX+1) and x_(axisY+1): the method
// at the largest of its sizes within min(budget, kPictureEvaluations), each place drawn once.
// Product Gauss shows its own grid (not the one size smaller it checks itself with), Sobol one
// of its 16 shifted copies; adaptive cubature also its regions, VEGAS its grid.
inline constexpr std::int64_t kPictureEvaluations = 100000;
inline constexpr std::size_t kMostPicturePoints = 10000;
// A box of the cube seen along the two axes.
struct ProjectedRegion {
    double xLow = 0.0;
    double xHigh = 0.0;
    double yLow = 0.0;
    double yHigh = 0.0;
    auto operator<=>(const ProjectedRegion&) const = default;
};
struct ProjectedPoints {
    CubatureMethod method = CubatureMethod::ProductGauss;
    int axisX = 0;
    int axisY = 1;
    double lower = 0.0;
    double upper = 1.0;
    std::vector<PlotPoint> points;  // distinct places, at most kMostPicturePoints
    std::int64_t shown = 0;         // the points they stand for
    std::size_t valuesX = 0;        // distinct coordinates on each axis among them
    std::size_t valuesY = 0;
    bool cut = false;  // more distinct places than a picture holds
    // Adaptive cubature: the regions it ended with, each rectangle once (regions split along
    // other axes look alike), at most kMostPicturePoints of them.
    std::vector<ProjectedRegion> regions;
    std::size_t regionCount = 0;  // the regions in d dimensions they stand for
    bool regionsCut = false;
    // VEGAS: its bin edges on the two axes after adapting, rising from lower to upper.
    std::vector<double> edgesX;
    std::vector<double> edgesY;
    std::string caption;
};
// Nothing where the method has no size within the budget or does not suit f; a fault of f is
// thrown on as CubeFault.
std::optional<ProjectedPoints> projectedPoints(const DimensionsIntegrand& integrand,
                                               CubatureMethod method, int axisX, int axisY,
                                               std::int64_t budget, std::uint64_t seed);

}  // namespace integral
