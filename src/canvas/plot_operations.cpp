// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/plot_operations.h"

#include <algorithm>
#include <cmath>

namespace integral {

namespace {

CanvasPoint at(const Variant& x, const Variant& y) {
    return {x.toSingle(), y.toSingle()};
}

// The tick constants are the singles nearest to 0.1.
constexpr float kTick = 0.1f;

}  // namespace

void DrawAxes(CanvasSurface& surface, Colour xAxisColour) {
    surface.segment({-10.0f, 0.0f}, {10.0f, 0.0f}, xAxisColour);
    surface.segment({0.0f, 10.0f}, {0.0f, -10.0f}, kCanvasFore);
    for (int i = -9; i <= 9; ++i) {
        const float v = static_cast<float>(i);
        surface.segment({v, -kTick}, {v, kTick}, kCanvasFore);
        surface.segment({-kTick, v}, {kTick, v}, kCanvasFore);
    }
}

// The counter is accumulated, not computed as -10 + k * 0.01: the last point then falls at
// 9.999999999999662 and the one nearest the y-axis at -1.69e-13, and there are 2001 of them.
void PlotCurve(CanvasSurface& surface, Integrand f) {
    const double step = 0.01;
    for (double x = -10.0; x <= 10.0; x += step) {
        const Variant value = Variant::real(x);
        const Variant y = f(value);
        surface.point(at(value, y), kLightRed);
    }
}

// The counter's run up to `stop` by repeated addition of 0.1, the lines on the way not drawn:
// a function of its own, never inlined, so that the counter stays in a register for its ten
// million steps instead of going through memory round the calls that draw.
// Bounded: after kMaxSkippedSteps the rest of the way is one jump, the lines then standing
// within a few ulps of where repeated addition would put them.
namespace {

[[gnu::noinline]] double runUpTo(double counter, double stop) {
    std::int64_t steps = 0;
    while (counter < stop && steps < kMaxSkippedSteps) {
        counter += 0.1;
        ++steps;
    }
    if (counter < stop) {
        counter += std::floor((stop - counter) / 0.1) * 0.1;
        // A few steps at most; a counter that 0.1 no longer moves ends it all the same.
        while (counter < stop && counter + 0.1 != counter) {
            counter += 0.1;
        }
    }
    return counter;
}

}  // namespace

// The first line, at x1, is always evaluated and drawn. After it only lines that can show are:
// left of the canvas the counter alone advances, and right of it the shading ends. Nothing is
// lost by that, faults included: every integrand's magnitude falls from the far left towards
// the canvas, so a value too large for the canvas left of it is first met at x1 itself, and
// far enough right to fail (beyond 10^19) the counter cannot get, since adding 0.1 stops
// moving it near 10^15.
std::int64_t ShadeArea(CanvasSurface& surface, Integrand f, const Variant& x1, const Variant& x2) {
    const Variant step = Variant::real(0.1);
    const Variant zero;
    std::int64_t drawn = 0;
    const auto line = [&](const Variant& x) {
        try {
            const Variant y = f(x);
            surface.segment(at(x, zero), at(x, y), kCanvasFore);
        } catch (RuntimeError& error) {
            error.setArgument(x.toDouble());
            throw;
        }
        ++drawn;
    };
    if (!(x1 <= x2)) {
        return drawn;
    }
    line(x1);
    Variant x = x1 + step;
    if (x == x1) {
        return drawn;  // beyond about 2^50 adding 0.1 leaves the counter where it is
    }
    // From here on the counter is a double, so plain doubles advance it with the same bits,
    // and its magnitude only falls while it runs up to the canvas, so it cannot stall there.
    double counter = x.toDouble();
    const double end = x2.toDouble();
    // Only the five are known to fail nowhere that the shortcut skips. Any other integrand is
    // evaluated at every skipped line as well, up to the same bound, so that a fault is told
    // where f has no value, as the whole run of lines would meet it.
    const bool skipsSafely = f.formula().has_value();
    const auto evaluateOnly = [&](double stop) {
        std::int64_t steps = 0;
        while (counter < stop && steps < kMaxSkippedSteps) {
            const Variant at = Variant::real(counter);
            try {
                (void)f(at);
            } catch (RuntimeError& error) {
                error.setArgument(counter);
                throw;
            }
            counter += 0.1;
            ++steps;
        }
    };
    if (skipsSafely) {
        counter = runUpTo(counter, std::min(end, -kShadingReach));
    } else {
        evaluateOnly(std::min(end, -kShadingReach));
        counter = runUpTo(counter, std::min(end, -kShadingReach));
    }
    if (counter < -kShadingReach) {
        return drawn;  // the range ends left of the canvas
    }
    const double last = std::min(end, kShadingReach);
    while (counter <= last) {
        line(Variant::real(counter));
        counter += 0.1;
    }
    if (!skipsSafely) {
        evaluateOnly(std::nextafter(end, INFINITY));
    }
    return drawn;
}

void DrawBox(CanvasSurface& surface, const Variant& x1, const Variant& x2, const Variant& ymax) {
    const CanvasPoint corner = at(x1, ymax);
    const CanvasPoint opposite = at(x2, Variant());
    surface.rectangle(corner, opposite, kBlue);
}

void drawStartupCanvas(CanvasSurface& surface) {
    surface.printTitle(kCanvasTitle);
    DrawAxes(surface, kMagenta);
}

void drawGraph(CanvasSurface& surface, Integrand f) {
    surface.clear();
    DrawAxes(surface, kCanvasFore);
    PlotCurve(surface, f);
}

CurveGaps drawGraphWithGaps(CanvasSurface& surface, Integrand f) {
    surface.clear();
    DrawAxes(surface, kCanvasFore);
    CurveGaps gaps;
    // The same points as PlotCurve.
    for (double x = -10.0; x <= 10.0; x += 0.01) {
        const Variant value = Variant::real(x);
        try {
            surface.point(at(value, f(value)), kLightRed);
        } catch (const RuntimeError&) {
            gaps.first = gaps.points == 0 ? x : gaps.first;
            gaps.last = x;
            ++gaps.points;
        }
    }
    return gaps;
}

}  // namespace integral
