// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/convergence_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace integral {
namespace {

Model modelOf(int integrandRow, double lower, double upper, float height) {
    Model model;
    model.chooseIntegrand(integrandRow);
    model.setLower(Variant::real(lower));
    model.setUpper(Variant::real(upper));
    model.setHeight(height);
    return model;
}

const PlotSeries* named(const ConvergencePlot& plot, const std::string& name) {
    const auto it = std::find_if(plot.series.begin(), plot.series.end(),
                                 [&](const PlotSeries& s) { return s.name == name; });
    return it == plot.series.end() ? nullptr : &*it;
}

// A reference slope runs parallel to what it is compared with and visibly below it, never on
// top of it; and it is never anchored on a row whose error is rounding noise.
TEST(ConvergencePlotTest, ReferencesShowBesideTheirSeries) {
    Model model = modelOf(3, 0, 0.001, 1e-6f);
    const AnalysedRun monteCarlo = analysed(model.run(Method::MonteCarlo));
    const ConvergencePlot plot = convergencePlot(model, monteCarlo);
    const PlotSeries* sigma = named(plot, "Monte Carlo one sigma");
    const PlotSeries* half = named(plot, "slope N^-1/2 (reference)");
    ASSERT_NE(sigma, nullptr);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(half->points.front().x, sigma->points.front().x);
    EXPECT_LE(half->points.front().y, sigma->points.front().y / 2);

    const PlotSeries* parabolic = named(plot, "Parabolic rule");
    const PlotSeries* fourth = named(plot, "slope N^-4 (reference)");
    ASSERT_NE(parabolic, nullptr);
    ASSERT_NE(fourth, nullptr);
    // x sin x on 0..0.001: the errors fall to 1e-23, yet the rule's own error stays well above
    // the rounding the rows actually carry (1e-25), so none is lost in the noise.
    EXPECT_TRUE(parabolic->roundingLevel.empty());
    EXPECT_EQ(fourth->points.front().x, parabolic->points.front().x);
    EXPECT_NEAR(fourth->points.front().y, parabolic->points.front().y / 4, 1e-30);
    for (const PlotPoint& p : parabolic->roundingLevel) {
        EXPECT_GT(p.x, parabolic->points.front().x);
    }
}

// Where the errors level off the plot says why: Gauss on the stored eight-digit nodes, Monte
// Carlo in a box lower than the curve.
TEST(ConvergencePlotTest, FloorsAreExplainedWhereTheyHappen) {
    Model model = modelOf(1, 0, 1, 2.0f);
    const AnalysedRun monteCarlo = analysed(model.run(Method::MonteCarlo));
    const ConvergencePlot plot = convergencePlot(model, monteCarlo);
    std::vector<std::string> notes;
    for (const PlotNote& note : plot.notes) {
        notes.push_back(note.text);
    }
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("stored nodes and weights carry eight digits"), std::string::npos);
    EXPECT_NE(notes[1].find("does not hold the curve"), std::string::npos);
    EXPECT_NE(named(plot, "Gauss-Legendre: node table's own error"), nullptr);
    EXPECT_NE(named(plot, "Monte Carlo: |limit - exact|"), nullptr);
    EXPECT_FALSE(plot.nothingToPlot.has_value());
}

// Figures of any size, infinities and NaN give axes with a bounded number of ticks; with no
// finite error at all the plot says so instead.
TEST(ConvergencePlotTest, AxesAreBoundedForAnyFigures) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> cases = {
        {},
        {inf, -inf, std::nan(""), -1.0, 0.0},
        {5e-324, 1.7e308},
        {3.0, 3.0},
    };
    for (const std::vector<double>& values : cases) {
        const DecadeAxis axis = decadesAround(values);
        EXPECT_LT(axis.low, axis.high);
        const std::vector<int> ticks = axis.ticks();
        EXPECT_LE(ticks.size(), static_cast<std::size_t>(kMaxTicks));
        EXPECT_EQ(ticks.front(), axis.low);
        EXPECT_EQ(ticks.back(), axis.high);
    }
    EXPECT_EQ(decadesAround({5e-324, 1.7e308}).low, -324);

    Model nothing = modelOf(2, -1e200, 1e200, 1.0f);
    const ConvergencePlot plot = convergencePlot(nothing, std::nullopt);
    EXPECT_TRUE(plot.nothingToPlot.has_value());
}

}  // namespace
}  // namespace integral
