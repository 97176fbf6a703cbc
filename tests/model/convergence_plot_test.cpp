// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/convergence_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
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

RaceEntry entryOf(Method method, std::int64_t evaluations, std::optional<double> error,
                  std::optional<double> claim) {
    RaceEntry entry;
    entry.method = method;
    entry.counter = evaluations;
    entry.evaluations = evaluations;
    entry.estimate = 1.0;
    entry.error = error;
    entry.estimatedError = claim;
    return entry;
}

std::vector<std::string> notesOf(const ConvergencePlot& plot) {
    std::vector<std::string> notes;
    for (const PlotNote& note : plot.notes) {
        notes.push_back(note.text);
    }
    return notes;
}

std::string named(Method method) {
    return std::string(methodInfo(method).plotName);
}

std::vector<std::pair<double, double>> pointsOf(const PlotSeries* series) {
    std::vector<std::pair<double, double>> points;
    for (const PlotPoint& p : series->points) {
        points.emplace_back(p.x, p.y);
    }
    return points;
}

// The sweep's plot: each method's true |error| and claim at the evaluations it used, one point
// per budget that bought something new; what cannot be drawn is said.
TEST(ConvergencePlotTest, TheSweepsPlotDrawsEachBudgetsFigures) {
    const Method T = Method::Trapezoid;
    const Method G = Method::Gauss;
    const Method M = Method::MonteCarlo;
    const Method S = Method::Sobol;
    RaceEntry noBox = entryOf(M, 10, -1.0, std::nullopt);
    noBox.noClaim = "no box to sample: every row is 0 until the box has a height";
    RaceEntry beforeFirst;
    beforeFirst.method = S;
    // Budgets 10, 20, 50, 100: Gauss runs only its table, so 100 buys the row 50 bought.
    const std::vector<std::vector<RaceEntry>> entries = {
        {entryOf(T, 9, -0.5, 0.25), entryOf(G, 6, 1e-3, 1e-2), noBox, beforeFirst},
        {entryOf(T, 17, 0.125, 0.0625), entryOf(G, 12, 0.0, 1e-9), noBox,
         entryOf(S, 16, 0.1, std::nullopt)},
        {entryOf(T, 33, -0.03125, 0.015625), entryOf(G, 48, 1e-12, 1e-11), noBox,
         entryOf(S, 48, 0.01, 0.02)},
        {entryOf(T, 65, 0.0078125, 0.00390625), entryOf(G, 48, 1e-12, 1e-11), noBox,
         entryOf(S, 96, 0.001, 0.002)},
    };
    Sweep sweep;
    for (std::size_t b = 0; b < entries.size(); ++b) {
        Race race;
        race.budget = kSweepBudgets[b];
        race.seed = 7;
        race.integrand = IntegrandDescriptor(Variant::integer(1));
        race.x1 = Variant::real(0);
        race.x2 = Variant::real(3);
        race.reference = ReferenceValue{1.0, 0.0};
        race.entries = entries[b];
        sweep.races.push_back(race);
    }
    const ConvergencePlot plot = sweepPlot(sweep);
    EXPECT_EQ(plot.title, "Claimed and true errors of y = x*Exp(-x) on [0, 3], seed 7");
    using Points = std::vector<std::pair<double, double>>;
    struct Case {
        std::string series;
        Points points;
    };
    for (const Case& c : {
             Case{named(T) + ": true error",
                  {{9, 0.5}, {17, 0.125}, {33, 0.03125}, {65, 0.0078125}}},
             Case{named(T) + ": claimed",
                  {{9, 0.25}, {17, 0.0625}, {33, 0.015625}, {65, 0.00390625}}},
             Case{named(G) + ": true error", {{6, 1e-3}, {48, 1e-12}}},
             Case{named(G) + ": claimed", {{6, 1e-2}, {12, 1e-9}, {48, 1e-11}}},
             Case{named(S) + ": true error", {{16, 0.1}, {48, 0.01}, {96, 0.001}}},
             Case{named(S) + ": claimed", {{48, 0.02}, {96, 0.002}}},
         }) {
        const PlotSeries* series = named(plot, c.series);
        ASSERT_NE(series, nullptr) << c.series;
        EXPECT_EQ(pointsOf(series), c.points) << c.series;
    }
    EXPECT_EQ(named(plot, named(T) + ": true error")->style, SeriesStyle::Line);
    EXPECT_EQ(named(plot, named(T) + ": claimed")->style, SeriesStyle::Reference);
    EXPECT_EQ(named(plot, named(M) + ": true error"), nullptr);
    EXPECT_EQ(named(plot, named(M) + ": claimed"), nullptr);
    EXPECT_EQ(notesOf(plot),
              (std::vector<std::string>{
                  named(G) + ": its error is exactly 0 at 1 budget, which a log scale cannot "
                             "show.",
                  named(M) + ": no box to sample: every row is 0 until the box has a height, so "
                             "nothing is drawn for it.",
                  named(S) + ": claims no error at 1 budget; no dashed point there.",
              }));

    // Without a truth: the claims alone, and the reason said once.
    for (Race& race : sweep.races) {
        race.reference.reset();
        race.whyNoReference = "the integral does not exist";
        for (RaceEntry& entry : race.entries) {
            entry.error.reset();
        }
    }
    const ConvergencePlot claimsOnly = sweepPlot(sweep);
    EXPECT_EQ(named(claimsOnly, named(T) + ": true error"), nullptr);
    ASSERT_NE(named(claimsOnly, named(T) + ": claimed"), nullptr);
    EXPECT_EQ(notesOf(claimsOnly).front(), "No true errors: the integral does not exist.");
    EXPECT_FALSE(claimsOnly.nothingToPlot.has_value());

    // The legend names each method once where both its lines are drawn, and a lone line by
    // its own name.
    const auto namesOf = [](const Legend& legend) {
        std::vector<std::string> names;
        for (const LegendEntry& entry : legend.entries) {
            names.push_back(entry.name + (entry.method ? " (pair)" : ""));
        }
        return names;
    };
    const Legend both = legendOf(plot);
    EXPECT_TRUE(both.pairs);
    EXPECT_EQ(namesOf(both), (std::vector<std::string>{named(T) + " (pair)", named(G) + " (pair)",
                                                       named(S) + " (pair)"}));
    const Legend alone = legendOf(claimsOnly);
    EXPECT_FALSE(alone.pairs);
    EXPECT_EQ(namesOf(alone),
              (std::vector<std::string>{named(T) + ": claimed", named(G) + ": claimed",
                                        named(S) + ": claimed"}));
}

// A real sweep: every point is a race entry's own figures.
TEST(ConvergencePlotTest, TheSweepsPointsAreItsEntries) {
    const Model model = modelOf(1, 0, 3, 0.0f);
    const std::vector<Method> methods = {Method::Zelbrin, Method::MeanValue};
    const std::int64_t budgets[] = {100, 1000, 10000};
    const Sweep swept = sweep(model, budgets, methods, {}, 3);
    const ConvergencePlot plot = sweepPlot(swept);
    for (std::size_t m = 0; m < methods.size(); ++m) {
        const std::string name = named(methods[m]);
        SCOPED_TRACE(name);
        std::vector<std::pair<double, double>> truth;
        std::vector<std::pair<double, double>> claimed;
        for (const Race& race : swept.races) {
            const RaceEntry& entry = race.entries[m];
            truth.emplace_back(static_cast<double>(entry.evaluations), std::fabs(*entry.error));
            claimed.emplace_back(static_cast<double>(entry.evaluations), *entry.estimatedError);
        }
        EXPECT_EQ(pointsOf(named(plot, name + ": true error")), truth);
        EXPECT_EQ(pointsOf(named(plot, name + ": claimed")), claimed);
    }
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
