// SPDX-License-Identifier: GPL-3.0-or-later
// What the convergence view plots, computed without a window: |error| against the evaluations
// of f on log-log axes for the parabolic rule and Gauss (run afresh on the model's integrand
// and limits) and for the last Monte Carlo run on the same inputs, with its one-sigma line,
// reference slopes, and the floors the errors level off at, each with the reason in words.
// Only finite, positive figures are plotted, and the axes have a bounded number of ticks
// whatever the figures, so drawing it always ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/race.h"
#include "model/run_analysis.h"

namespace integral {

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

enum class SeriesRole {
    Errors,          // a method's |error| per row
    Sigma,           // a statistical method's one-sigma uncertainty per row
    ReferenceSlope,  // the power law a method's errors follow
    RoundingFloor,   // the rounding the deterministic methods' arithmetic carries
    TableFloor,      // the error a method's stored table alone makes (Gauss's eight digits)
    BoxFloor,        // |limit - exact| of a Monte Carlo box that does not hold the curve
    ClaimedError,    // the error a method claims for its rows, without the exact value
};

enum class SeriesStyle { Markers, Line, Reference, Floor };

struct PlotSeries {
    std::string name;
    SeriesRole role = SeriesRole::Errors;
    std::optional<Method> method;  // whose figures, where a method's
    SeriesStyle style = SeriesStyle::Markers;
    std::vector<PlotPoint> points;
    std::vector<double> zeroErrorAt;  // evaluations of rows whose error is exactly 0
    // Rows whose error is at the rounding level, placed at the rounding bound: drawn hollow,
    // and never an anchor for a reference line.
    std::vector<PlotPoint> roundingLevel;
};

// A floor explained where it happens: the text goes beside `at`; a note about the whole plot
// has no place of its own.
struct PlotNote {
    std::string text;
    std::optional<PlotPoint> at;
};

// Whole decades from 10^low to 10^high with a tick every `step` decades.
struct DecadeAxis {
    int low = 0;
    int high = 1;
    int step = 1;
    std::vector<int> ticks() const;
};

struct ConvergencePlot {
    std::string title;
    std::string fileName = "convergence";  // suggested when the plot is saved
    std::string yLabel = "|estimate - exact| (log scale)";
    std::vector<PlotSeries> series;
    std::vector<PlotNote> notes;
    DecadeAxis x;
    DecadeAxis y;
    // Said instead of a plot when not one figure can be plotted.
    std::optional<std::string> nothingToPlot;
};

// A line of a plot's legend. Where a method's true and claimed errors are both drawn, one line
// names the method by its colour and marker, and the legend tells once which line is which
// (`pairs`); every other series drawn has a line of its own.
struct LegendEntry {
    std::string name;
    std::optional<Method> method;       // a method's pair of series
    std::optional<std::size_t> series;  // or the series whose look it shows
};
struct Legend {
    std::vector<LegendEntry> entries;
    bool pairs = false;
};
Legend legendOf(const ConvergencePlot& plot);

// The decades around every finite positive value (around 1 when there is none), at most
// kMaxTicks ticks apart in steps of whole decades.
inline constexpr int kMaxTicks = 12;
DecadeAxis decadesAround(const std::vector<double>& values);

// `monteCarlo` is the last Monte Carlo run, shown only when it ran on the same integrand,
// limits and box as the model holds now.
ConvergencePlot convergencePlot(const Model& model, const std::optional<AnalysedRun>& monteCarlo,
                                const std::vector<AnalysedRun>& compared = {});

// The plot's series and axes from runs already analysed; what convergencePlot() builds on.
ConvergencePlot plotOfRuns(const std::vector<AnalysedRun>& runs);

// The sweep's picture: for each method its true |error| (solid) and the error it claims
// (dashed) against the evaluations it actually used at each budget, so that over- and
// under-confidence show across the costs. A method whose figures cannot be drawn says why in a
// note (no box to sample, no claim, an error of exactly 0, no truth to measure against, a fault)
// rather than missing without a word.
ConvergencePlot sweepPlot(const Sweep& sweep);

}  // namespace integral
