// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/convergence_plot.h"

#include <algorithm>
#include <boost/math/quadrature/gauss.hpp>
#include <cmath>
#include <cstdio>
#include <utility>

#include "integrands/chosen_integrand.h"
#include "integrands/integrand_catalogue.h"
#include "model/run_analysis.h"
#include "quadrature/gauss_table.h"

namespace integral {

namespace {

bool plottable(double value) {
    return std::isfinite(value) && value > 0.0;
}

std::string shortly(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3g", value);
    return buffer;
}

PlotSeries errorsOf(const RunAnalysis& analysis, std::string name, SeriesRole role) {
    PlotSeries series{std::move(name), role, SeriesStyle::Markers, {}, {}, {}};
    for (const RowAnalysis& row : analysis.rows) {
        const double x = static_cast<double>(row.evaluations);
        if (row.roundingLevel && row.roundingBound && plottable(*row.roundingBound)) {
            series.roundingLevel.push_back({x, *row.roundingBound});
        } else if (row.error && *row.error == 0.0) {
            series.zeroErrorAt.push_back(x);
        } else if (row.error && plottable(std::fabs(*row.error))) {
            series.points.push_back({x, std::fabs(*row.error)});
        }
    }
    return series;
}

// A reference of the given slope on log-log axes, parallel to the figures it is compared with
// and a factor below them, so that it never hides the series it is anchored to.
PlotSeries slope(std::string name, PlotPoint anchor, double power, double from, double to) {
    constexpr double kBelow = 0.25;
    PlotSeries series{
        std::move(name), SeriesRole::ReferenceSlope, SeriesStyle::Reference, {}, {}, {}};
    for (const double x : {from, to}) {
        const double y = kBelow * anchor.y * std::pow(x / anchor.x, power);
        if (plottable(y)) {
            series.points.push_back({x, y});
        }
    }
    if (series.points.size() < 2) {
        series.points.clear();
    }
    return series;
}

// The error the eight-digit node table makes by itself: the table's estimate minus that of
// full-precision nodes and weights, for each node count.
template <int M>
std::optional<double> fullPrecisionGauss(const ChosenIntegrand& f, double a, double b) {
    using Rule = boost::math::quadrature::gauss<double, M>;
    const double half = (b - a) / 2.0;
    const double middle = (a + b) / 2.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < Rule::abscissa().size(); ++i) {
        const double t = Rule::abscissa()[i];
        const double w = Rule::weights()[i];
        sum += w * f(Variant::real(middle + half * t)).toDouble();
        if (t != 0.0) {
            sum += w * f(Variant::real(middle - half * t)).toDouble();
        }
    }
    const double value = sum * half;
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> fullPrecisionGauss(int m, const ChosenIntegrand& f, double a, double b) {
    switch (m) {
        case 2:
            return fullPrecisionGauss<2>(f, a, b);
        case 3:
            return fullPrecisionGauss<3>(f, a, b);
        case 4:
            return fullPrecisionGauss<4>(f, a, b);
        case 5:
            return fullPrecisionGauss<5>(f, a, b);
        case 6:
            return fullPrecisionGauss<6>(f, a, b);
        default:
            return std::nullopt;
    }
}

PlotSeries gaussTableFloor(const MethodRun& run) {
    PlotSeries floor{"Gauss: the node table's own error",
                     SeriesRole::GaussTableFloor,
                     SeriesStyle::Floor,
                     {},
                     {},
                     {}};
    const ChosenIntegrand f(run.fnum);
    try {
        for (const RowFigures& row : run.figures) {
            const std::optional<double> full = fullPrecisionGauss(
                static_cast<int>(row.counter), f, run.x1.toDouble(), run.x2.toDouble());
            if (full && plottable(std::fabs(row.estimate - *full))) {
                floor.points.push_back(
                    {static_cast<double>(row.evaluations), std::fabs(row.estimate - *full)});
            }
        }
    } catch (const RuntimeError&) {
        // Where f fails there is no floor to show.
    }
    return floor;
}

void addRoundingFloor(ConvergencePlot& plot, const std::vector<RunAnalysis>& analyses) {
    PlotSeries floor{
        "rounding level of a double", SeriesRole::RoundingFloor, SeriesStyle::Floor, {}, {}, {}};
    for (const RunAnalysis& analysis : analyses) {
        for (const RowAnalysis& row : analysis.rows) {
            if (row.roundingBound && plottable(*row.roundingBound)) {
                floor.points.push_back({static_cast<double>(row.evaluations), *row.roundingBound});
            }
        }
    }
    std::sort(floor.points.begin(), floor.points.end(),
              [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; });
    if (!floor.points.empty()) {
        plot.series.push_back(std::move(floor));
    }
}

bool plottable(const PlotPoint& p) {
    return plottable(p.x) && plottable(p.y);
}

// Only what a log-log plot can place stays: whatever the runs held, no point of the plot is
// zero, negative, infinite or NaN.
void keepPlottable(ConvergencePlot& plot) {
    const auto unplottable = [](const PlotPoint& p) { return !plottable(p); };
    for (PlotSeries& s : plot.series) {
        std::erase_if(s.points, unplottable);
        std::erase_if(s.roundingLevel, unplottable);
        std::erase_if(s.zeroErrorAt, [](double x) { return !plottable(x); });
        if (s.style != SeriesStyle::Markers && s.points.size() < 2) {
            s.points.clear();
        }
    }
    for (PlotNote& note : plot.notes) {
        if (note.at && !plottable(*note.at)) {
            note.at.reset();
        }
    }
}

bool hasAnyPoint(const PlotSeries& series) {
    return !series.points.empty() || !series.roundingLevel.empty() || !series.zeroErrorAt.empty();
}

const char* nameOf(Method method) {
    switch (method) {
        case Method::Zelbrin:
            return "the parabolic rule";
        case Method::Gauss:
            return "Gauss-Legendre";
        case Method::MonteCarlo:
            break;
    }
    return "Monte Carlo";
}

// Rows that are not there, or whose error cannot be shown, are said to be missing, with the
// reason.
void noteMissingErrors(ConvergencePlot& plot, const MethodRun& run, const RunAnalysis& analysis) {
    if (run.fault) {
        plot.notes.push_back({std::string("Rows of ") + nameOf(run.method) +
                                  " are missing: it stopped on \"" +
                                  std::string(faultName(run.fault->fault)) + "\" after " +
                                  std::to_string(run.rows.size()) + " of them.",
                              std::nullopt});
    }
    const bool missing = std::any_of(analysis.rows.begin(), analysis.rows.end(),
                                     [](const auto& r) { return !r.error && !r.roundingLevel; });
    if (!missing) {
        return;
    }
    plot.notes.push_back(
        {std::string("Some errors of ") + nameOf(run.method) + " are not plotted: " +
             (analysis.exact ? "they are beyond the range of a double."
                             : "the exact integral is beyond the range of a double."),
         std::nullopt});
}

void addDeterministic(ConvergencePlot& plot, const MethodRun& run, const RunAnalysis& analysis) {
    if (run.method == Method::Zelbrin) {
        PlotSeries series = errorsOf(analysis, "Parabolic rule", SeriesRole::ParabolicRule);
        PlotSeries reference;
        if (!series.points.empty()) {
            const PlotPoint first = series.points.front();
            reference = slope("slope N^-4 (reference)", first, -4.0, first.x, 200.0);
        }
        if (!series.roundingLevel.empty()) {
            plot.notes.push_back(
                {"From here the parabolic rule's errors are rounding noise: a double cannot "
                 "tell them from 0, so they are drawn hollow on the rounding level.",
                 series.roundingLevel.front()});
        }
        plot.series.push_back(std::move(series));
        if (!reference.points.empty()) {
            plot.series.push_back(std::move(reference));
        }
        return;
    }
    PlotSeries series = errorsOf(analysis, "Gauss-Legendre", SeriesRole::Gauss);
    PlotSeries floor = gaussTableFloor(run);
    // Where the table's own error is as large as the row's, the rule has stopped improving.
    for (std::size_t i = 0; i < analysis.rows.size() && i < run.figures.size(); ++i) {
        const RowAnalysis& row = analysis.rows[i];
        const auto at = std::find_if(floor.points.begin(), floor.points.end(), [&](const auto& p) {
            return p.x == static_cast<double>(row.evaluations);
        });
        if (row.error && at != floor.points.end() && at->y >= 0.5 * std::fabs(*row.error)) {
            plot.notes.push_back({"Gauss levels off near " + shortly(at->y) +
                                      ": its stored nodes and weights carry eight digits, so "
                                      "from here the error is the table's, not the rule's.",
                                  *at});
            break;
        }
    }
    plot.series.push_back(std::move(series));
    if (!floor.points.empty()) {
        plot.series.push_back(std::move(floor));
    }
}

void addMonteCarlo(ConvergencePlot& plot, const MethodRun& run, const RunAnalysis& analysis) {
    PlotSeries samples = errorsOf(analysis, "Monte Carlo (last run)", SeriesRole::MonteCarlo);
    PlotSeries sigma{
        "Monte Carlo one sigma", SeriesRole::MonteCarloSigma, SeriesStyle::Line, {}, {}, {}};
    for (const RowAnalysis& row : analysis.rows) {
        if (row.sigma && plottable(*row.sigma)) {
            sigma.points.push_back({static_cast<double>(row.evaluations), *row.sigma});
        }
    }
    plot.series.push_back(std::move(samples));
    if (!sigma.points.empty()) {
        PlotSeries reference = slope("slope N^-1/2 (reference)", sigma.points.front(), -0.5,
                                     sigma.points.front().x, sigma.points.back().x);
        plot.series.push_back(std::move(sigma));
        if (!reference.points.empty()) {
            plot.series.push_back(std::move(reference));
        }
    }
    if (analysis.limit && !analysis.limit->holdsCurve && analysis.limit->offExact &&
        plottable(std::fabs(*analysis.limit->offExact)) && !run.figures.empty()) {
        const double bias = std::fabs(*analysis.limit->offExact);
        const double first = static_cast<double>(run.figures.front().evaluations);
        const double last = static_cast<double>(run.figures.back().evaluations);
        plot.series.push_back({"Monte Carlo: |limit - exact|",
                               SeriesRole::BoxFloor,
                               SeriesStyle::Floor,
                               {{first, bias}, {last, bias}},
                               {},
                               {}});
        plot.notes.push_back({"Monte Carlo levels off near " + shortly(bias) +
                                  ": the box, from 0 to " + shortly(run.ymax.toDouble()) +
                                  ", does not hold the curve, so the estimates converge to " +
                                  shortly(analysis.limit->value) + ", not to the exact integral.",
                              PlotPoint{last, bias}});
    }
}

std::string titleOf(const MethodRun& run) {
    std::string title = "Convergence";
    const Formula formula = formulaOf(run.fnum);
    if (formula != Formula::None) {
        title += " of ";
        title += kIntegrandLabels[static_cast<std::size_t>(formula) - 1];
    }
    char limits[80];
    std::snprintf(limits, sizeof limits, " on [%.10g, %.10g]", run.x1.toDouble(),
                  run.x2.toDouble());
    return title + limits;
}

bool sameInputs(const MethodRun& run, const Model& model) {
    return run.fnum.identical(model.fnum()) && run.x1.identical(model.x1()) &&
           run.x2.identical(model.x2()) && run.ymax.identical(model.ymax());
}

}  // namespace

std::vector<int> DecadeAxis::ticks() const {
    std::vector<int> result;
    const int stride = std::max(step, 1);
    for (int d = low; d <= high && result.size() <= static_cast<std::size_t>(kMaxTicks);
         d += stride) {
        result.push_back(d);
    }
    return result;
}

DecadeAxis decadesAround(const std::vector<double>& values) {
    double low = 1.0;
    double high = 1.0;
    bool any = false;
    for (const double v : values) {
        if (plottable(v)) {
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    }
    // Every positive finite double lies within 10^-324 .. 10^309, so these are small integers.
    DecadeAxis axis;
    axis.low = static_cast<int>(std::floor(std::log10(low)));
    axis.high = static_cast<int>(std::ceil(std::log10(high)));
    if (axis.high <= axis.low) {
        axis.high = axis.low + 1;
    }
    axis.step = std::max(1, (axis.high - axis.low + kMaxTicks - 2) / (kMaxTicks - 1));
    // Whole steps from the low end, so that the top tick closes the range.
    axis.high = axis.low + ((axis.high - axis.low + axis.step - 1) / axis.step) * axis.step;
    return axis;
}

ConvergencePlot plotOfRuns(const std::vector<MethodRun>& runs) {
    ConvergencePlot plot;
    std::vector<RunAnalysis> deterministic;
    for (const MethodRun& run : runs) {
        if (plot.title.empty()) {
            plot.title = titleOf(run);
        }
        const RunAnalysis analysis = analyse(run);
        noteMissingErrors(plot, run, analysis);
        if (run.method == Method::MonteCarlo) {
            addMonteCarlo(plot, run, analysis);
        } else {
            addDeterministic(plot, run, analysis);
            deterministic.push_back(analysis);
        }
    }
    addRoundingFloor(plot, deterministic);
    keepPlottable(plot);

    std::vector<double> xs;
    std::vector<double> ys;
    bool anyFigure = false;
    for (const PlotSeries& s : plot.series) {
        for (const PlotPoint& p : s.points) {
            xs.push_back(p.x);
            ys.push_back(p.y);
        }
        for (const PlotPoint& p : s.roundingLevel) {
            xs.push_back(p.x);
            ys.push_back(p.y);
        }
        xs.insert(xs.end(), s.zeroErrorAt.begin(), s.zeroErrorAt.end());
        const bool figures = s.style == SeriesStyle::Markers || s.style == SeriesStyle::Line;
        anyFigure = anyFigure || (figures && hasAnyPoint(s));
    }
    plot.x = decadesAround(xs);
    plot.y = decadesAround(ys);
    if (!anyFigure) {
        plot.nothingToPlot =
            "Nothing to plot: no row has a finite error. Choose an integrand, enter limits "
            "whose integral is a finite number, and run a method.";
    }
    return plot;
}

ConvergencePlot convergencePlot(const Model& model, const std::optional<MethodRun>& monteCarlo) {
    // A copy, so that asking for the picture changes nothing of the window's state.
    Model scratch = model;
    std::vector<MethodRun> runs = {scratch.run(Method::Zelbrin), scratch.run(Method::Gauss)};
    if (monteCarlo && sameInputs(*monteCarlo, model)) {
        runs.push_back(*monteCarlo);
    }
    return plotOfRuns(runs);
}

}  // namespace integral
