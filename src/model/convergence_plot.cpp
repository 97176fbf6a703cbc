// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/convergence_plot.h"
#include "model/window_notes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "integrands/integrand_catalogue.h"
#include "integrands/integrand_descriptor.h"
#include "model/run_analysis.h"
#include "quadrature/gauss_table.h"

#include "runtime/short_number.h"

namespace integral {

namespace {

bool plottable(double value) {
    return std::isfinite(value) && value > 0.0;
}

std::string shortly(double value) {
    return shortNumber(value, 3);
}

PlotSeries series(std::string name, SeriesRole role, SeriesStyle style,
                  std::optional<Method> method) {
    PlotSeries s;
    s.name = std::move(name);
    s.role = role;
    s.style = style;
    s.method = method;
    return s;
}

PlotSeries errorsOf(const MethodRun& run, const RunAnalysis& analysis) {
    const NumericalMethod& method = methodOf(run.method);
    std::string name(method.info().plotName);
    if (method.statistical()) {
        name += " (last run)";
    }
    PlotSeries errors =
        series(std::move(name), SeriesRole::Errors, SeriesStyle::Markers, run.method);
    for (const RowAnalysis& row : analysis.rows) {
        const double x = static_cast<double>(row.evaluations);
        if (row.roundingLevel && row.roundingCarried && plottable(*row.roundingCarried)) {
            errors.roundingLevel.push_back({x, *row.roundingCarried});
        } else if (row.error && *row.error == 0.0) {
            errors.zeroErrorAt.push_back(x);
        } else if (row.error) {
            errors.points.push_back({x, std::fabs(*row.error)});
        }
    }
    return errors;
}

std::string powerName(double power) {
    if (power == -0.5) {
        return "N^-1/2";
    }
    return "N^" + shortly(power);
}

// A reference of the method's slope on log-log axes, parallel to the figures it is compared
// with and a factor below them, so that it never hides the series it is anchored to.
PlotSeries slope(double power, const std::vector<PlotPoint>& along) {
    constexpr double kBelow = 0.25;
    PlotSeries reference = series("slope " + powerName(power) + " (reference)",
                                  SeriesRole::ReferenceSlope, SeriesStyle::Reference, std::nullopt);
    const PlotPoint anchor = along.front();
    for (const double x : {along.front().x, along.back().x}) {
        reference.points.push_back({x, kBelow * anchor.y * std::pow(x / anchor.x, power)});
    }
    return reference;
}

// The error the method's stored table makes by itself: the row's estimate minus that of the
// same rule at full precision, where the method has one.
PlotSeries tableFloor(const MethodRun& run) {
    const NumericalMethod& method = methodOf(run.method);
    PlotSeries floor = series(std::string(method.info().plotName) + ": node table's own error",
                              SeriesRole::TableFloor, SeriesStyle::Floor, run.method);
    const IntegrandDescriptor& f = run.integrand;
    try {
        for (const RowFigures& row : run.figures) {
            const std::optional<double> full = method.fullPrecisionEstimate(
                Integrand(f), run.x1.toDouble(), run.x2.toDouble(), row.counter);
            if (full) {
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
    PlotSeries floor = series("rounding level of a double", SeriesRole::RoundingFloor,
                              SeriesStyle::Floor, std::nullopt);
    for (const RunAnalysis& analysis : analyses) {
        for (const RowAnalysis& row : analysis.rows) {
            if (row.roundingCarried && plottable(*row.roundingCarried)) {
                floor.points.push_back(
                    {static_cast<double>(row.evaluations), *row.roundingCarried});
            }
        }
    }
    std::sort(floor.points.begin(), floor.points.end(),
              [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; });
    plot.series.push_back(std::move(floor));
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
    std::erase_if(plot.series, [](const PlotSeries& s) {
        return s.style != SeriesStyle::Markers && s.points.empty();
    });
    for (PlotNote& note : plot.notes) {
        if (note.at && !plottable(*note.at)) {
            note.at.reset();
        }
    }
}

bool hasAnyPoint(const PlotSeries& series) {
    return !series.points.empty() || !series.roundingLevel.empty() || !series.zeroErrorAt.empty();
}

// Rows that are not there, or whose error cannot be shown, are said to be missing, with the
// reason.
void noteMissingErrors(ConvergencePlot& plot, const MethodRun& run, const RunAnalysis& analysis) {
    const std::string name(methodInfo(run.method).plotName);
    if (run.fault) {
        plot.notes.push_back({name + ": rows are missing, as the run stopped on \"" +
                                  std::string(faultName(run.fault->fault)) + "\" after " +
                                  std::to_string(run.rows.size()) + " of them.",
                              std::nullopt});
    }
    const auto unplotted = [&analysis](bool belowUncertainty) {
        return std::any_of(analysis.rows.begin(), analysis.rows.end(), [&](const auto& r) {
            return !r.error && !r.roundingLevel && r.belowReferenceUncertainty == belowUncertainty;
        });
    };
    if (unplotted(true)) {
        plot.notes.push_back({name +
                                  ": some errors are not plotted, as they are no larger than ten "
                                  "times the reference's own uncertainty.",
                              std::nullopt});
    }
    if (unplotted(false)) {
        std::string why = "the exact integral is beyond the range of a double.";
        if (analysis.exact) {
            why = "they are beyond the range of a double.";
        } else if (analysis.divergence) {
            why = divergenceText(*analysis.divergence) + ".";
        } else if (!analysis.reference && !analysis.whyNoReference.empty()) {
            why = "there is no reference: " + analysis.whyNoReference + ".";
        }
        plot.notes.push_back({name + ": some errors are not plotted, as " + why, std::nullopt});
    }
}

void addRun(ConvergencePlot& plot, const MethodRun& run, const RunAnalysis& analysis) {
    const NumericalMethod& method = methodOf(run.method);
    const std::string name(method.info().plotName);
    noteMissingErrors(plot, run, analysis);
    PlotSeries errors = errorsOf(run, analysis);
    PlotSeries sigma =
        series(name + " one sigma", SeriesRole::Sigma, SeriesStyle::Line, run.method);
    for (const RowAnalysis& row : analysis.rows) {
        if (row.sigma) {
            sigma.points.push_back({static_cast<double>(row.evaluations), *row.sigma});
        }
    }
    std::erase_if(errors.points, [](const PlotPoint& p) { return !plottable(p); });
    std::erase_if(sigma.points, [](const PlotPoint& p) { return !plottable(p); });
    // The reference runs beside what the method's errors are expected to follow: the errors
    // themselves, or for a statistical method its sigma.
    const std::vector<PlotPoint>& anchor = method.statistical() ? sigma.points : errors.points;
    std::optional<PlotSeries> reference;
    if (method.referenceSlope() && anchor.size() >= 2) {
        reference = slope(*method.referenceSlope(), anchor);
    }
    if (!errors.roundingLevel.empty()) {
        plot.notes.push_back({"From here the errors of " + name +
                                  " are rounding noise: a double cannot tell them from 0, so "
                                  "they are drawn hollow on the rounding level.",
                              errors.roundingLevel.front()});
    }
    PlotSeries floor = tableFloor(run);
    // Where the table's own error is as large as the row's, the rule has stopped improving.
    for (const RowAnalysis& row : analysis.rows) {
        const auto at = std::find_if(floor.points.begin(), floor.points.end(), [&](const auto& p) {
            return p.x == static_cast<double>(row.evaluations);
        });
        if (row.error && at != floor.points.end() && plottable(*at) &&
            at->y >= 0.5 * std::fabs(*row.error)) {
            plot.notes.push_back({name + " levels off near " + shortly(at->y) +
                                      ": its stored nodes and weights carry eight digits, so "
                                      "from here the error is the table's, not the rule's.",
                                  *at});
            break;
        }
    }
    plot.series.push_back(std::move(errors));
    plot.series.push_back(std::move(sigma));
    if (reference) {
        plot.series.push_back(std::move(*reference));
    }
    plot.series.push_back(std::move(floor));
    if (method.statistical() && analysis.limit && !analysis.limit->holdsCurve &&
        analysis.limit->offExact && plottable(std::fabs(*analysis.limit->offExact)) &&
        !run.figures.empty()) {
        const double bias = std::fabs(*analysis.limit->offExact);
        const double first = static_cast<double>(run.figures.front().evaluations);
        const double last = static_cast<double>(run.figures.back().evaluations);
        PlotSeries box = series(name + ": |limit - exact|", SeriesRole::BoxFloor,
                                SeriesStyle::Floor, run.method);
        box.points = {{first, bias}, {last, bias}};
        plot.series.push_back(std::move(box));
        plot.notes.push_back({name + " levels off near " + shortly(bias) + ": the box, from 0 to " +
                                  shortly(run.ymax.toDouble()) +
                                  ", does not hold the curve, so the estimates converge to " +
                                  shortly(analysis.limit->value) + ", not to the exact integral.",
                              PlotPoint{last, bias}});
    }
}

std::string titleOf(const MethodRun& run) {
    std::string title = "Convergence";
    if (run.integrand.chosen()) {
        title += " of " + run.integrand.name();
    }
    return title + " on [" + shortNumber(run.x1.toDouble(), 10) + ", " +
           shortNumber(run.x2.toDouble(), 10) + "]";
}

bool sameInputs(const MethodRun& run, const Model& model) {
    return run.integrand.same(model.integrand()) && run.x1.identical(model.x1()) &&
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

// Decades around every point that is drawn; or, where none is, the words that say so.
void frameAxes(ConvergencePlot& plot) {
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
}

ConvergencePlot plotOfRuns(const std::vector<AnalysedRun>& runs) {
    ConvergencePlot plot;
    std::vector<RunAnalysis> deterministic;
    for (const auto& [run, analysis] : runs) {
        if (plot.title.empty()) {
            plot.title = titleOf(run);
            plot.fileName = suggestedFileName("convergence", run.integrand.name(),
                                              run.x1.toDouble(), run.x2.toDouble());
            if (run.integrand.expression() != nullptr) {
                plot.yLabel =
                    "|estimate - reference| (log scale; reference by adaptive quadrature)";
            }
        }
        addRun(plot, run, analysis);
        if (!methodOf(run.method).statistical()) {
            deterministic.push_back(analysis);
        }
    }
    addRoundingFloor(plot, deterministic);
    frameAxes(plot);
    return plot;
}

Legend legendOf(const ConvergencePlot& plot) {
    const auto drawn = [](const PlotSeries& s) {
        return !s.points.empty() || !s.roundingLevel.empty() || !s.zeroErrorAt.empty();
    };
    const auto paired = [&](const PlotSeries& s) {
        if (!s.method || (s.role != SeriesRole::Errors && s.role != SeriesRole::ClaimedError)) {
            return false;
        }
        const SeriesRole other =
            s.role == SeriesRole::Errors ? SeriesRole::ClaimedError : SeriesRole::Errors;
        return std::any_of(plot.series.begin(), plot.series.end(), [&](const PlotSeries& t) {
            return t.method == s.method && t.role == other && drawn(t);
        });
    };
    Legend legend;
    for (std::size_t i = 0; i < plot.series.size(); ++i) {
        const PlotSeries& s = plot.series[i];
        if (!drawn(s)) {
            continue;
        }
        if (!paired(s)) {
            legend.entries.push_back({s.name, std::nullopt, i});
            continue;
        }
        legend.pairs = true;
        const bool named = std::any_of(legend.entries.begin(), legend.entries.end(),
                                       [&](const LegendEntry& e) { return e.method == s.method; });
        if (!named) {
            legend.entries.push_back({std::string(methodInfo(*s.method).plotName), s.method, {}});
        }
    }
    return legend;
}

ConvergencePlot sweepPlot(const Sweep& sweep) {
    ConvergencePlot plot;
    plot.yLabel = "|error|, true and claimed (log scale)";
    if (sweep.races.empty()) {
        frameAxes(plot);
        return plot;
    }
    const Race& first = sweep.races.front();
    const double x1 = first.x1.toDouble();
    const double x2 = first.x2.toDouble();
    plot.title = "Claimed and true errors";
    if (first.integrand.chosen()) {
        plot.title += " of " + first.integrand.name();
    }
    plot.title += " on [" + shortNumber(x1, 10) + ", " + shortNumber(x2, 10) + "], seed " +
                  std::to_string(first.seed);
    plot.fileName = suggestedFileName("claims", first.integrand.name(), x1, x2);
    if (!first.reference) {
        plot.notes.push_back({"No true errors: " + first.whyNoReference + ".", std::nullopt});
    }
    for (std::size_t m = 0; m < first.entries.size(); ++m) {
        const Method method = first.entries[m].method;
        const std::string name(methodInfo(method).plotName);
        PlotSeries truth =
            series(name + ": true error", SeriesRole::Errors, SeriesStyle::Line, method);
        PlotSeries claimed =
            series(name + ": claimed", SeriesRole::ClaimedError, SeriesStyle::Reference, method);
        int unclaimed = 0;
        int exactlyRight = 0;
        const RaceEntry* faulted = nullptr;
        std::string noClaim;
        for (const Race& race : sweep.races) {
            const RaceEntry& entry = race.entries.at(m);
            faulted = faulted != nullptr ? faulted : (entry.fault ? &entry : nullptr);
            if (!entry.noClaim.empty()) {
                noClaim = entry.noClaim;
            }
            // A budget below the method's first size, or the same size as at the budget before
            // (a method that runs only its table): nothing new to draw.
            const double x = static_cast<double>(entry.evaluations);
            if (!entry.counter || !noClaim.empty() ||
                (!truth.points.empty() && truth.points.back().x == x) ||
                (!claimed.points.empty() && claimed.points.back().x == x)) {
                continue;
            }
            if (entry.error && *entry.error == 0.0) {
                ++exactlyRight;
            } else if (entry.error) {
                truth.points.push_back({x, std::fabs(*entry.error)});
            }
            if (entry.estimatedError) {
                claimed.points.push_back({x, *entry.estimatedError});
            } else {
                ++unclaimed;
            }
        }
        if (!noClaim.empty()) {
            plot.notes.push_back(
                {name + ": " + noClaim + ", so nothing is drawn for it.", std::nullopt});
            continue;
        }
        if (faulted != nullptr) {
            plot.notes.push_back({name + ": stopped by \"" +
                                      std::string(faultName(faulted->fault->fault)) +
                                      "\" at some budgets; those are not drawn.",
                                  std::nullopt});
        }
        if (unclaimed > 0) {
            plot.notes.push_back({name + ": claims no error at " + std::to_string(unclaimed) +
                                      (unclaimed == 1 ? " budget" : " budgets") +
                                      "; no dashed point there.",
                                  std::nullopt});
        }
        if (exactlyRight > 0) {
            plot.notes.push_back({name + ": its error is exactly 0 at " +
                                      std::to_string(exactlyRight) +
                                      (exactlyRight == 1 ? " budget" : " budgets") +
                                      ", which a log scale cannot show.",
                                  std::nullopt});
        }
        plot.series.push_back(std::move(truth));
        plot.series.push_back(std::move(claimed));
    }
    frameAxes(plot);
    // Without a truth the claims are still worth drawing.
    if (std::any_of(plot.series.begin(), plot.series.end(),
                    [](const PlotSeries& s) { return !s.points.empty(); })) {
        plot.nothingToPlot.reset();
    }
    return plot;
}

ConvergencePlot convergencePlot(const Model& model, const std::optional<AnalysedRun>& monteCarlo,
                                const std::vector<AnalysedRun>& compared) {
    // A copy, so that asking for the picture changes nothing of the window's state.
    Model scratch = model;
    std::vector<AnalysedRun> runs;
    for (const MethodInfo& info : kMethods) {
        if (!info.onButton) {
            continue;  // the others are run where they are chosen, not behind the window's back
        }
        if (!methodOf(info.method).statistical()) {
            runs.push_back(analysed(scratch.run(info.method)));
        } else if (monteCarlo && monteCarlo->run.method == info.method &&
                   sameInputs(monteCarlo->run, model)) {
            runs.push_back(*monteCarlo);
        }
    }
    // The runs of the Compare window on the same integrand and limits, beside the three.
    for (const AnalysedRun& run : compared) {
        if (!methodInfo(run.run.method).onButton && sameInputs(run.run, model)) {
            runs.push_back(run);
        }
    }
    return plotOfRuns(runs);
}

}  // namespace integral
