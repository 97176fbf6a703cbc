// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of many dimensions: the curse as the lesson states it, the points a grid places
// seen along two axes, and plots that never carry a figure a logarithmic axis cannot show.
#include "model/dimensions_plots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace integral {
namespace {

DimensionsIntegrand integrand(const ManyDimensionsInputs& inputs) {
    auto made = integrandOf(inputs);
    return std::move(std::get<DimensionsIntegrand>(made));
}

ManyDimensionsInputs gaussianIn(int d) {
    ManyDimensionsInputs inputs;
    inputs.dimensions = d;
    return inputs;
}

// How far towards the upper corner the points reach on the nearer of the two axes: a picture
// of the first rows or lines of a run alone reaches far less on one of them.
double reachOnBothAxes(const std::vector<PlotPoint>& points) {
    double reachX = 0.0;
    double reachY = 0.0;
    for (const PlotPoint& p : points) {
        reachX = std::max(reachX, p.x);
        reachY = std::max(reachY, p.y);
    }
    return std::min(reachX, reachY);
}

std::optional<double> needed(const DimensionsPlot& plot, CubatureMethod method, int d) {
    for (const DimensionsSeries& s : plot.series) {
        if (s.method == method) {
            for (const PlotPoint& p : s.points) {
                if (p.x == d) {
                    return p.y;
                }
            }
        }
    }
    return std::nullopt;
}

// The lesson: a product rule's cost explodes with d, a sparse grid's and Sobol's do not.
TEST(DimensionsPlotsTest, TheCurseHitsTheProductRuleAlone) {
    ManyDimensionsInputs inputs = gaussianIn(10);
    inputs.methods = {CubatureMethod::ProductGauss, CubatureMethod::SparseGrid,
                      CubatureMethod::Sobol};
    const auto plot = cursePlot(inputs);
    ASSERT_TRUE(plot);
    ASSERT_FALSE(plot->nothingToPlot);
    const auto gauss = [&](int d) { return needed(*plot, CubatureMethod::ProductGauss, d); };
    for (int d = 2; d <= 8; ++d) {
        SCOPED_TRACE(d);
        ASSERT_TRUE(gauss(d) && gauss(d - 1));
        EXPECT_GT(*gauss(d), *gauss(d - 1));
    }
    EXPECT_GT(*gauss(8), 1000 * *gauss(2));
    EXPECT_FALSE(gauss(10)) << "product Gauss reached 1e-3 in ten dimensions";
    struct Case {
        CubatureMethod method;
        double factor;  // at most between the cheapest and the dearest d
    };
    for (const Case& c :
         {Case{CubatureMethod::Sobol, 16.0}, Case{CubatureMethod::SparseGrid, 1000.0}}) {
        SCOPED_TRACE(cubatureMethodInfo(c.method).name);
        std::vector<double> costs;
        for (int d = 1; d <= kCurseDimensions; ++d) {
            const auto cost = needed(*plot, c.method, d);
            ASSERT_TRUE(cost) << "d = " << d;
            costs.push_back(*cost);
        }
        const auto [low, high] = std::minmax_element(costs.begin(), costs.end());
        EXPECT_LE(*high / *low, c.factor);
        EXPECT_LT(costs.back(), kCurseEvaluations / 10);
    }
}

TEST(DimensionsPlotsTest, TheCurseSaysWhatItCannotShow) {
    ManyDimensionsInputs typed;
    typed.family.reset();
    typed.function = "x1*x2";
    typed.dimensions = 2;
    const auto plot = cursePlot(typed);
    ASSERT_TRUE(plot && plot->nothingToPlot);
    EXPECT_NE(plot->nothingToPlot->find("typed f has its d fixed"), std::string::npos);

    ManyDimensionsInputs onlyHits = gaussianIn(3);
    onlyHits.methods = {CubatureMethod::HitOrMiss};
    const auto hits = cursePlot(onlyHits);
    ASSERT_TRUE(hits && hits->nothingToPlot);
    EXPECT_EQ(hits->notes.front(), "hit-or-miss counts hits, so it integrates only the ball.");

    // Asked to stop after the first step, it stops.
    std::size_t steps = 0;
    EXPECT_FALSE(cursePlot(gaussianIn(3), [&](std::size_t, std::size_t) { return ++steps < 1; }));
    EXPECT_EQ(steps, 1u);
}

// A grid of m points per axis, seen along any two axes, has m values on each: the picture that
// shows why 3^10 points see only three values per axis.
TEST(DimensionsPlotsTest, AProductGridShowsItsPointsPerAxisAlongAnyTwoAxes) {
    struct Case {
        int d;
        std::int64_t budget;
        int axisX;
        int axisY;
        std::size_t perAxis;
        std::int64_t shown;
        std::size_t drawnPerAxis = perAxis;  // too fine a grid is drawn thinned, over all of it
    };
    for (const Case& c : {
             Case{2, 100, 0, 1, 7, 49},         // 49 + 36 = 85 evaluations
             Case{3, 1000, 2, 0, 8, 512},       // 9^3 + 8^3 is beyond 1000
             Case{10, 100000, 8, 9, 3, 59049},  // 3^10 + 2^10 within 10^5
             Case{10, 1000, 0, 5, 1, 1},        // 2^10 + 1 is beyond 1000
             Case{5, 100000, 4, 4, 9, 59049},
             Case{2, 100000, 1, 0, 224, 50176, 75},  // every 3rd value on each axis
         }) {
        SCOPED_TRACE(c.d);
        const auto points =
            projectedPoints(integrand(gaussianIn(c.d)), CubatureMethod::ProductGauss, c.axisX,
                            c.axisY, c.budget, 1);
        ASSERT_TRUE(points);
        EXPECT_EQ(points->valuesX, c.perAxis);
        EXPECT_EQ(points->valuesY, c.perAxis);
        EXPECT_EQ(points->points.size(),
                  c.axisX == c.axisY ? c.drawnPerAxis : c.drawnPerAxis * c.drawnPerAxis);
        EXPECT_EQ(points->shown, c.shown);
        EXPECT_FALSE(points->cut);
        // Drawn from one side of the cube to the other on both axes, not its first rows.
        EXPECT_GT(reachOnBothAxes(points->points), c.perAxis >= 3 ? 0.85 : 0.4);
    }
}

TEST(DimensionsPlotsTest, RandomPointsAreDistinctAndAPictureHoldsAtMostTenThousand) {
    struct Case {
        CubatureMethod method;
        std::int64_t budget;
        std::size_t drawn;
        bool cut;
    };
    for (const Case& c : {
             Case{CubatureMethod::MonteCarlo, 1000, 1000, false},
             Case{CubatureMethod::Sobol, 1000, 32, false},  // 32 points times 16 shifts
             Case{CubatureMethod::MonteCarlo, 1000000, kMostPicturePoints, true},
             Case{CubatureMethod::Sobol, 1000000, 4096, false},
         }) {
        SCOPED_TRACE(cubatureMethodInfo(c.method).name);
        const auto points = projectedPoints(integrand(gaussianIn(4)), c.method, 0, 3, c.budget, 1);
        ASSERT_TRUE(points);
        EXPECT_EQ(points->points.size(), c.drawn);
        EXPECT_EQ(points->cut, c.cut);
        for (const PlotPoint& p : points->points) {
            ASSERT_TRUE(p.x >= 0.0 && p.x <= 1.0 && p.y >= 0.0 && p.y <= 1.0);
        }
    }
    EXPECT_FALSE(
        projectedPoints(integrand(gaussianIn(4)), CubatureMethod::HitOrMiss, 0, 1, 1000, 1));
    EXPECT_FALSE(projectedPoints(integrand(gaussianIn(10)), CubatureMethod::Sobol, 0, 1, 10, 1));
}

// Adaptive cubature's regions and VEGAS's grid, seen along two axes: in two dimensions the
// rectangles are the regions and tile the square; in more, regions split along the other axes
// coincide and are drawn once. VEGAS shows the points it placed last, on a grid adapted to the
// peak: far more near it than uniform points (4 in 100).
TEST(DimensionsPlotsTest, RegionsGridAndPointsAfterAdapting) {
    ManyDimensionsInputs peak;
    peak.family.reset();
    peak.function = "exp(-100*((x1-0.3)^2+(x2-0.3)^2))";
    peak.dimensions = 2;
    struct Case {
        CubatureMethod method;
        ManyDimensionsInputs inputs;
        int axisX;
        std::int64_t budget;
        bool tiles;  // the rectangles are all the regions, the square's area in all
        std::size_t bins;
        double nearLow;  // the share of points within 0.1 of the peak on both axes
        double nearHigh;
        const char* says;
    };
    for (const Case& c : {
             Case{CubatureMethod::AdaptiveCubature, gaussianIn(2), 0, 5000, true, 0, 0, 1,
                  "Lines: the 147 regions it ended with, split most where f was hardest."},
             Case{CubatureMethod::AdaptiveCubature, gaussianIn(5), 3, 100000, false, 0, 0, 1,
                  "rectangles."},
             Case{CubatureMethod::Vegas, peak, 0, 100000, false, 50, 0.3, 1,
                  "Lines: its grid after adapting, 50 bins per axis, crowded where |f| is large."},
             Case{CubatureMethod::MonteCarlo, peak, 0, 100000, false, 0, 0.03, 0.05,
                  "places are drawn."},
             // Spread over the whole run, not the first sampling or the first lines of the grid.
             Case{CubatureMethod::Miser, peak, 0, 100000, false, 0, 0.2, 1,
                  "(every 10th it evaluated)"},
             Case{CubatureMethod::SparseGrid, gaussianIn(2), 0, 100000, false, 0, 0, 1,
                  "(level 13, every 7th)"},
         }) {
        SCOPED_TRACE(cubatureMethodInfo(c.method).name);
        const auto picture =
            projectedPoints(integrand(c.inputs), c.method, c.axisX, 1, c.budget, 1);
        ASSERT_TRUE(picture);
        const std::string& caption = picture->caption;
        EXPECT_NE(caption.find(c.says), std::string::npos) << caption;
        double area = 0.0;
        for (const ProjectedRegion& r : picture->regions) {
            ASSERT_TRUE(0.0 <= r.xLow && r.xLow < r.xHigh && r.xHigh <= 1.0);
            ASSERT_TRUE(0.0 <= r.yLow && r.yLow < r.yHigh && r.yHigh <= 1.0);
            area += (r.xHigh - r.xLow) * (r.yHigh - r.yLow);
        }
        const bool adaptive = c.method == CubatureMethod::AdaptiveCubature;
        EXPECT_EQ(picture->regions.empty(), !adaptive);
        EXPECT_EQ(picture->regions.size() < picture->regionCount, adaptive && !c.tiles);
        EXPECT_EQ(std::fabs(area - 1.0) < 1e-12, c.tiles);
        EXPECT_EQ(picture->edgesX.size(), c.bins == 0 ? 0 : c.bins + 1);
        EXPECT_EQ(picture->edgesY.size(), picture->edgesX.size());
        const auto near =
            std::count_if(picture->points.begin(), picture->points.end(), [](const PlotPoint& p) {
                return std::fabs(p.x - 0.3) < 0.1 && std::fabs(p.y - 0.3) < 0.1;
            });
        const double share = static_cast<double>(near) / picture->points.size();
        EXPECT_TRUE(share >= c.nearLow && share <= c.nearHigh) << share;
        EXPECT_GT(reachOnBothAxes(picture->points), 0.85);
    }
}

// Only what a logarithmic axis can place reaches the plot, and what is left out is said.
TEST(DimensionsPlotsTest, TheErrorPlotKeepsOnlyWhatALogarithmicAxisShows) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CubatureRow exact;
    exact.evaluations = 10;
    exact.estimate = 2.0;
    exact.estimatedError = 0.0;
    CubatureRow off;
    off.evaluations = 100;
    off.estimate = 2.5;
    off.estimatedError = inf;
    CubatureRow broken;
    broken.evaluations = 1000;
    broken.estimate = nan;
    broken.estimatedError = nan;
    const std::vector<CubatureSweep> sweeps = {{CubatureMethod::MonteCarlo, {exact, off, broken}},
                                               {CubatureMethod::Vegas, {}}};
    DimensionsTruth truth;
    truth.value = 2.0;
    truth.exact = true;
    const DimensionsPlot plot = errorCostPlot(sweeps, truth);
    ASSERT_EQ(plot.series.size(), 2u);
    ASSERT_EQ(plot.series[0].points.size(), 1u);
    EXPECT_EQ(plot.series[0].points[0].x, 100.0);
    EXPECT_EQ(plot.series[0].points[0].y, 0.5);
    EXPECT_TRUE(plot.series[0].claimed.empty());
    EXPECT_EQ(plot.notes, (std::vector<std::string>{
                              "monte-carlo: some errors are not plotted, as they are 0 or "
                              "within the reference's own uncertainty.",
                              "vegas: the first row of its table costs more than the budget."}));
    EXPECT_EQ(plot.y.low, -1);
    EXPECT_FALSE(plot.nothingToPlot);

    truth.value.reset();
    truth.absent = "f has no finite value at a point of the cube";
    const DimensionsPlot none = errorCostPlot({{CubatureMethod::MonteCarlo, {broken}}}, truth);
    EXPECT_TRUE(none.nothingToPlot);
    EXPECT_EQ(none.notes.front(),
              "No true errors: f has no finite value at a point of the cube; only the own "
              "estimates.");
}

}  // namespace
}  // namespace integral
