// SPDX-License-Identifier: GPL-3.0-or-later
// What the method view draws for one row, computed without a window: the integrand over the
// interval with a margin, and how the row was made from it. The parabolic rule: each panel's
// parabola through its three points, from its own quadratic. Gauss: a bar per node, as wide as
// its weight times (x2 - x1) / 2 and as high as f at the node, laid side by side from x1.
// Monte Carlo: the box and the row's very samples, hits and misses. The areas of the
// parabolas, and of the bars, add up to the row's estimate; the samples' hits are the row's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/convergence_plot.h"
#include "model/row_replay.h"
#include "model/run_analysis.h"

namespace integral {

// The parabola through (left, fLeft), (middle, fMiddle), (right, fRight):
// p(x) = fMiddle + slope (x - middle) + curvature (x - middle)^2.
struct ParabolaPanel {
    double left = 0.0;
    double middle = 0.0;
    double right = 0.0;
    double fLeft = 0.0;
    double fMiddle = 0.0;
    double fRight = 0.0;
    double slope = 0.0;
    double curvature = 0.0;

    static ParabolaPanel through(const EvaluationPoint& a, const EvaluationPoint& b,
                                 const EvaluationPoint& c);
    double at(double x) const;
    // The integral of the parabola from left to right.
    double area() const;
};

struct GaussBar {
    double node = 0.0;   // where f was evaluated
    double fx = 0.0;     // the bar's height
    double left = 0.0;   // x1 plus the widths of the bars before it
    double width = 0.0;  // the node's weight times (x2 - x1) / 2
};

// A trapezoid under the chord from (left, fLeft) to (right, fRight).
struct Trapezoid {
    double left = 0.0;
    double right = 0.0;
    double fLeft = 0.0;
    double fRight = 0.0;
};

// A rectangle as high as f at its midpoint.
struct MidpointRectangle {
    double left = 0.0;
    double right = 0.0;
    double node = 0.0;
    double height = 0.0;
};

// An accepted panel of adaptive Simpson: the parabolas of its two halves, at its depth of
// halving (0: the whole interval).
struct AdaptivePanel {
    ParabolaPanel left;
    ParabolaPanel right;
    int depth = 0;
};

// The kinds of picture a row can be drawn as, one type each, holding what its drawing needs;
// each gives its area (what the row adds up to), the heights the picture must show, its
// drawing and its legend, so a kind that lacks one does not compile.
struct ParabolaShapes {  // the parabolic rule: each panel's parabola through its three points
    std::vector<ParabolaPanel> panels;
};
struct BarShapes {  // Gauss and Clenshaw-Curtis: a bar per node, as wide as its weight
    std::vector<GaussBar> bars;
};
struct SampleShapes {  // hit-or-miss: the box and the row's very samples
    double ymax = 0.0;
    std::vector<EvaluationPoint> samples;
    std::int64_t hits = 0;
};
struct TrapezoidShapes {  // the trapezoids under the chords
    std::vector<Trapezoid> trapezoids;
};
struct RectangleShapes {  // the rectangles at the midpoints
    std::vector<MidpointRectangle> rectangles;
};
// Romberg: the row's table R(j, 0..j), and the trapezoid values T(j) against h(j)^2, which the
// picture shows instead of f: Richardson's line through the last two meets h = 0 at R(k, 1).
struct ExtrapolationShapes {
    std::vector<std::vector<double>> tableau;
    std::vector<PlotPoint> trapezoidValues;
};
struct AdaptiveShapes {  // adaptive Simpson's accepted panels with their depths
    std::vector<AdaptivePanel> panels;
    double correction = 0.0;  // the panels' (S2 - S) / 15, added up
};
// Mean-value, stratified and Sobol sampling: a stem from 0 to f at each of the row's first
// points (at most kMostStems), and the mean of f the estimate stands for.
struct StemShapes {
    std::vector<EvaluationPoint> stems;
    double weights = 0.0;  // the weights of all the row's points, shown or not
    double sum = 0.0;      // their weighted sum: the row's estimate
    std::optional<double> meanValue;
    // Sobol: the first points of the row's first shift, in the sequence's order, and as many
    // pseudo-random points from a generator at its start, to lie side by side as two rugs.
    std::vector<double> rugSobol;
    std::vector<double> rugRandom;
};

using RowShapes = std::variant<ParabolaShapes, BarShapes, SampleShapes, TrapezoidShapes,
                               RectangleShapes, ExtrapolationShapes, AdaptiveShapes, StemShapes>;

struct RowPicture {
    Method method = Method::Zelbrin;
    std::int64_t counter = 0;
    double x1 = 0.0;
    double x2 = 0.0;
    // f across the shown range; NaN where f has no value, which breaks the line there.
    std::vector<PlotPoint> curve;
    RowShapes shapes;
    // The part of the plane shown, and its ticks at 1-2-5 steps.
    double xLow = 0.0;
    double xHigh = 1.0;
    double yLow = 0.0;
    double yHigh = 1.0;
    std::vector<double> xTicks;
    std::vector<double> yTicks;
    std::string title;
    std::string fileName;  // suggested when the picture is saved

    // The shapes where they are of this kind; nothing otherwise.
    template <class Kind>
    const Kind* as() const {
        return std::get_if<Kind>(&shapes);
    }
};

inline constexpr std::size_t kMostStems = 4096;
// Few enough for the eye to see gaps and clumps: the first row's count.
inline constexpr std::size_t kRugPoints = 128;

// Shown instead of f: the x axis is h^2, not x.
inline bool showsExtrapolation(const RowPicture& p) {
    const auto* romberg = p.as<ExtrapolationShapes>();
    return romberg != nullptr && !romberg->trapezoidValues.empty();
}

// The picture of row `row` of `run`; nothing when the row cannot be made again.
std::optional<RowPicture> pictureOfRow(const MethodRun& run, std::size_t row,
                                       const RunAnalysis& analysis);

// What the picture's geometry adds up to: the parabolas' or the bars' areas, or the box's area
// times the share of hits.
double pictureEstimate(const RowPicture& picture);

// Ticks at 1, 2 or 5 times a power of ten from low to high, at most `most` of them; none when
// the range is not finite or empty.
std::vector<double> niceTicks(double low, double high, int most);

}  // namespace integral
