// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/row_picture.h"
#include "model/window_notes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

#include "integrands/integrand_descriptor.h"
#include "quadrature/adaptive_simpson_table.h"
#include "quadrature/number_format.h"
#include "quadrature/romberg_table.h"

#include "runtime/random_generator.h"
#include "runtime/short_number.h"

namespace integral {

namespace {

constexpr int kCurvePoints = 400;
constexpr int kMostTicks = 10;

std::string shortly(double value) {
    return shortNumber(value, 6);
}

// The x range: the interval and a margin of a twentieth on each side (of 1 when it is empty).
void frameX(RowPicture& p) {
    const double width = p.x2 - p.x1;
    const double margin = std::isfinite(width) && width > 0.0 ? width / 20.0 : 1.0;
    p.xLow = p.x1 - margin;
    p.xHigh = p.x2 + margin;
    if (!std::isfinite(p.xLow) || !std::isfinite(p.xHigh) || !(p.xLow < p.xHigh)) {
        p.xLow = p.x1 - 1.0;
        p.xHigh = p.x2 + 1.0;
    }
}

void sampleCurve(RowPicture& p, const IntegrandDescriptor& f) {
    const double step = (p.xHigh - p.xLow) / kCurvePoints;
    for (int k = 0; k <= kCurvePoints; ++k) {
        const double x = k == kCurvePoints ? p.xHigh : p.xLow + k * step;
        double y = std::numeric_limits<double>::quiet_NaN();
        try {
            y = f(Variant::real(x)).toDouble();
        } catch (const RuntimeError&) {
            // No value there: the line breaks.
        }
        p.curve.push_back({x, y});
    }
}

// The heights each kind of picture draws beyond the curve, which the y range must hold.
template <class Take>
void heights(const ParabolaShapes& shapes, Take take) {
    for (const ParabolaPanel& panel : shapes.panels) {
        for (int k = 0; k <= 8; ++k) {
            take(panel.at(panel.left + (panel.right - panel.left) * k / 8.0));
        }
    }
}
template <class Take>
void heights(const BarShapes& shapes, Take take) {
    for (const GaussBar& bar : shapes.bars) {
        take(bar.fx);
    }
}
template <class Take>
void heights(const StemShapes& shapes, Take take) {
    for (const EvaluationPoint& stem : shapes.stems) {
        take(stem.fx);
    }
}
template <class Take>
void heights(const SampleShapes& shapes, Take take) {
    take(shapes.ymax);
}
// Their shapes lie between the curve and the axis.
template <class Take>
void heights(const TrapezoidShapes&, Take) {}
template <class Take>
void heights(const RectangleShapes&, Take) {}
template <class Take>
void heights(const AdaptiveShapes&, Take) {}
// Drawn on axes of their own (frameExtrapolation).
template <class Take>
void heights(const ExtrapolationShapes&, Take) {}

// The y range holds the curve, what the row drew and the axis, with a margin.
void frameY(RowPicture& p) {
    double low = 0.0;
    double high = 0.0;
    const auto take = [&](double y) {
        if (std::isfinite(y)) {
            low = std::min(low, y);
            high = std::max(high, y);
        }
    };
    for (const PlotPoint& c : p.curve) {
        take(c.y);
    }
    std::visit([&](const auto& shapes) { heights(shapes, take); }, p.shapes);
    double margin = (high - low) / 20.0;
    if (!std::isfinite(margin) || margin <= 0.0) {
        margin = std::max(1.0, std::fabs(high));
    }
    p.yLow = low - margin;
    p.yHigh = high + margin;
    if (!std::isfinite(p.yLow) || !std::isfinite(p.yHigh)) {
        p.yLow = -std::numeric_limits<double>::max() / 2;
        p.yHigh = std::numeric_limits<double>::max() / 2;
    }
}

// Romberg's row from its points on the fine grid, in the order of x: the trapezoid value of
// each level from every (2^(k-j))-th point, and the table made from them as the row made it.
void extrapolation(RowPicture& p, const std::vector<EvaluationPoint>& points) {
    auto& romberg = p.shapes.emplace<ExtrapolationShapes>();
    if (points.size() < 3) {
        return;
    }
    std::vector<double> values;
    for (const EvaluationPoint& e : points) {
        values.push_back(e.fx);
    }
    const double width = p.x2 - p.x1;
    const std::vector<double> trapezoids = rombergTrapezoids(values, width);
    for (std::size_t j = 0; j < trapezoids.size(); ++j) {
        const double h = width / static_cast<double>(std::size_t{1} << j);
        romberg.trapezoidValues.push_back({h * h, trapezoids[j]});
    }
    romberg.tableau = rombergTableau(trapezoids);
}

// Adaptive Simpson's row made again for its accepted panels; f at each panel's five points is
// read from the row's own evaluations.
void adaptivePanels(RowPicture& p, const MethodRun& run,
                    const std::vector<EvaluationPoint>& points) {
    auto& adaptive = p.shapes.emplace<AdaptiveShapes>();
    std::map<double, double> value;
    for (const EvaluationPoint& e : points) {
        value.emplace(e.x, e.fx);
    }
    AdaptiveSimpsonRow row;
    try {
        row =
            adaptiveSimpson(Integrand(run.integrand), run.x1, run.x2, static_cast<int>(p.counter));
    } catch (const RuntimeError&) {
        return;
    }
    const auto point = [&value](double x) {
        const auto found = value.find(x);
        return EvaluationPoint{x, found == value.end() ? 0.0 : found->second, 0.0, 0.0, false};
    };
    double halves = 0.0;
    for (const AcceptedPanel& accepted : row.panels) {
        const double a = accepted.from;
        const double b = accepted.to;
        const double m = a + (b - a) / 2;
        const double l = a + (m - a) / 2;
        const double r = m + (b - m) / 2;
        AdaptivePanel panel{ParabolaPanel::through(point(a), point(l), point(m)),
                            ParabolaPanel::through(point(m), point(r), point(b)), accepted.depth};
        halves += panel.left.area() + panel.right.area();
        adaptive.panels.push_back(panel);
    }
    adaptive.correction = row.estimate - halves;
}

// h^2 from 0 to the coarsest level's, T around its values and the extrapolated R(k, k).
void frameExtrapolation(RowPicture& p, const ExtrapolationShapes& romberg) {
    double high = 0.0;
    double low = romberg.tableau.back().back();
    double top = low;
    for (const PlotPoint& t : romberg.trapezoidValues) {
        high = std::max(high, t.x);
        low = std::min(low, t.y);
        top = std::max(top, t.y);
    }
    p.xLow = -high / 20;
    p.xHigh = high * 1.05;
    double margin = (top - low) / 10;
    if (!std::isfinite(margin) || margin <= 0.0) {
        margin = std::max(1e-300, std::fabs(top) / 10);
    }
    p.yLow = low - margin;
    p.yHigh = top + margin;
    if (!std::isfinite(p.xHigh) || !(p.xHigh > p.xLow)) {
        p.xLow = 0.0;
        p.xHigh = 1.0;
    }
    if (!std::isfinite(p.yLow) || !std::isfinite(p.yHigh)) {
        p.yLow = -std::numeric_limits<double>::max() / 2;
        p.yHigh = std::numeric_limits<double>::max() / 2;
    }
}

std::string titleOf(const RowPicture& p, const RowAnalysis& row) {
    const MethodInfo& info = methodInfo(p.method);
    std::string title = std::string(info.plotName) + ", the row for " + std::to_string(p.counter) +
                        " " + std::string(info.unit) + ": estimate " + fullPrecision(row.estimate);
    if (row.roundingLevel) {
        title += ", error at the rounding level of a double";
    } else if (row.error) {
        title += ", error " + shortly(*row.error);
    }
    return title;
}

}  // namespace

ParabolaPanel ParabolaPanel::through(const EvaluationPoint& a, const EvaluationPoint& b,
                                     const EvaluationPoint& c) {
    ParabolaPanel p{a.x, b.x, c.x, a.fx, b.fx, c.fx, 0.0, 0.0};
    if (!(a.x < b.x && b.x < c.x)) {
        return p;  // an empty interval: a panel of no width and no area
    }
    // Newton's divided differences on the panel's own three points.
    const double first = (b.fx - a.fx) / (b.x - a.x);
    const double second = (c.fx - b.fx) / (c.x - b.x);
    p.curvature = (second - first) / (c.x - a.x);
    p.slope = first + p.curvature * (b.x - a.x);
    return p;
}

double ParabolaPanel::at(double x) const {
    const double t = x - middle;
    return fMiddle + slope * t + curvature * t * t;
}

double ParabolaPanel::area() const {
    const double l = left - middle;
    const double r = right - middle;
    return fMiddle * (r - l) + slope * (r * r - l * l) / 2.0 +
           curvature * (r * r * r - l * l * l) / 3.0;
}

std::vector<double> niceTicks(double low, double high, int most) {
    std::vector<double> ticks;
    const double range = high - low;
    if (!std::isfinite(range) || !(range > 0.0) || most < 2) {
        return ticks;
    }
    const double rough = range / (most - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    const double first = std::ceil(low / step);
    for (int k = 0; k < most + 1; ++k) {
        const double tick = (first + k) * step;
        if (tick > high || !std::isfinite(tick)) {
            break;
        }
        ticks.push_back(tick);
    }
    return ticks;
}

std::optional<RowPicture> pictureOfRow(const MethodRun& run, std::size_t row,
                                       const RunAnalysis& analysis) {
    std::optional<RowPoints> replayed = replayRow(run, row);
    if (!replayed || row >= analysis.rows.size()) {
        return std::nullopt;
    }
    RowPicture p;
    p.method = run.method;
    p.counter = replayed->counter;
    p.x1 = run.x1.toDouble();
    p.x2 = run.x2.toDouble();
    std::vector<EvaluationPoint>& points = replayed->points;
    switch (methodOf(run.method).shape()) {
        case RowShape::Parabolas: {
            // Each panel evaluates its left end, middle and right end, in that order.
            auto& parabolas = p.shapes.emplace<ParabolaShapes>();
            for (std::size_t i = 0; i + 2 < points.size(); i += 3) {
                parabolas.panels.push_back(
                    ParabolaPanel::through(points[i], points[i + 1], points[i + 2]));
            }
            break;
        }
        case RowShape::Bars: {
            auto& bars = p.shapes.emplace<BarShapes>();
            double left = p.x1;
            for (const EvaluationPoint& node : points) {
                bars.bars.push_back({node.x, node.fx, left, node.weight});
                left += node.weight;
            }
            break;
        }
        case RowShape::Samples: {
            auto& samples = p.shapes.emplace<SampleShapes>();
            samples.ymax = run.ymax.toDouble();
            samples.samples = std::move(points);
            samples.hits = std::count_if(samples.samples.begin(), samples.samples.end(),
                                         [](const EvaluationPoint& e) { return e.hit; });
            break;
        }
        case RowShape::Trapezoids: {
            auto& trapezoids = p.shapes.emplace<TrapezoidShapes>();
            for (std::size_t i = 0; i + 1 < points.size(); ++i) {
                trapezoids.trapezoids.push_back(
                    {points[i].x, points[i + 1].x, points[i].fx, points[i + 1].fx});
            }
            break;
        }
        case RowShape::Rectangles: {
            auto& rectangles = p.shapes.emplace<RectangleShapes>();
            for (const EvaluationPoint& node : points) {
                rectangles.rectangles.push_back(
                    {node.x - node.weight / 2, node.x + node.weight / 2, node.x, node.fx});
            }
            break;
        }
        case RowShape::Extrapolation:
            extrapolation(p, points);
            break;
        case RowShape::Adaptive:
            adaptivePanels(p, run, points);
            break;
        case RowShape::Stems: {
            auto& stems = p.shapes.emplace<StemShapes>();
            for (const EvaluationPoint& e : points) {
                stems.weights += e.weight;
                stems.sum += e.weight * e.fx;
                if (stems.stems.size() < kMostStems) {
                    stems.stems.push_back(e);
                }
            }
            if (p.x2 != p.x1) {
                stems.meanValue = stems.sum / (p.x2 - p.x1);
            }
            if (run.method == Method::Sobol) {
                RandomGenerator random;
                const std::size_t shown =
                    std::min({kRugPoints, stems.stems.size(), static_cast<std::size_t>(p.counter)});
                for (std::size_t i = 0; i < shown; ++i) {
                    stems.rugSobol.push_back(stems.stems[i].x);
                    stems.rugRandom.push_back(static_cast<double>(random.next()) * (p.x2 - p.x1) +
                                              p.x1);
                }
            }
            break;
        }
    }
    if (showsExtrapolation(p)) {
        frameExtrapolation(p, *p.as<ExtrapolationShapes>());
        p.xTicks = niceTicks(p.xLow, p.xHigh, kMostTicks);
        p.yTicks = niceTicks(p.yLow, p.yHigh, kMostTicks);
        p.title = titleOf(p, analysis.rows[row]);
        p.fileName =
            suggestedFileName(methodInfo(run.method).name, run.integrand.name(), p.x1, p.x2);
        return p;
    }
    frameX(p);
    sampleCurve(p, run.integrand);
    frameY(p);
    p.xTicks = niceTicks(p.xLow, p.xHigh, kMostTicks);
    p.yTicks = niceTicks(p.yLow, p.yHigh, kMostTicks);
    p.title = titleOf(p, analysis.rows[row]);
    p.fileName = suggestedFileName(methodInfo(run.method).name, run.integrand.name(), p.x1, p.x2);
    return p;
}

namespace {

// What each kind of picture adds up to, summed in the order it was drawn.
double area(const SampleShapes& shapes, const RowPicture& picture) {
    if (shapes.samples.empty()) {
        return 0.0;
    }
    return static_cast<double>(shapes.hits) / static_cast<double>(shapes.samples.size()) *
           shapes.ymax * (picture.x2 - picture.x1);
}
double area(const ParabolaShapes& shapes, const RowPicture&) {
    double sum = 0.0;
    for (const ParabolaPanel& panel : shapes.panels) {
        sum += panel.area();
    }
    return sum;
}
double area(const BarShapes& shapes, const RowPicture&) {
    double sum = 0.0;
    for (const GaussBar& bar : shapes.bars) {
        sum += bar.width * bar.fx;
    }
    return sum;
}
double area(const TrapezoidShapes& shapes, const RowPicture&) {
    double sum = 0.0;
    for (const Trapezoid& t : shapes.trapezoids) {
        sum += (t.fLeft + t.fRight) / 2 * (t.right - t.left);
    }
    return sum;
}
double area(const RectangleShapes& shapes, const RowPicture&) {
    double sum = 0.0;
    for (const MidpointRectangle& r : shapes.rectangles) {
        sum += r.height * (r.right - r.left);
    }
    return sum;
}
double area(const AdaptiveShapes& shapes, const RowPicture&) {
    double sum = 0.0;
    for (const AdaptivePanel& panel : shapes.panels) {
        sum += panel.left.area() + panel.right.area();
    }
    return sum + shapes.correction;
}
double area(const ExtrapolationShapes& shapes, const RowPicture&) {
    return shapes.tableau.empty() ? 0.0 : shapes.tableau.back().back();
}
double area(const StemShapes& shapes, const RowPicture&) {
    return shapes.sum;
}

}  // namespace

double pictureEstimate(const RowPicture& picture) {
    return std::visit([&](const auto& shapes) { return area(shapes, picture); }, picture.shapes);
}

}  // namespace integral
