// SPDX-License-Identifier: GPL-3.0-or-later
// Everything drawn on the plot canvas: the frame's axes and ticks, the curve, the shading
// between the limits and the Monte Carlo box. Values are rounded to singles on the way to the
// surface; one beyond the single range raises RuntimeError(Overflow) before it is drawn, and
// so does a fault of the integrand, so everything drawn before a fault stays.
#pragma once

#include <cstdint>
#include <string_view>

#include "canvas/canvas_surface.h"
#include "integrands/integrand.h"
#include "runtime/variant.h"

namespace integral {

inline constexpr std::string_view kCanvasTitle = " Integral by Zelbrin's Formula";

// x-axis in `xAxisColour`, then the y-axis and 19 tick pairs at -9..9 in the fore colour.
void DrawAxes(CanvasSurface& surface, Colour xAxisColour);

// 2001 light-red points from x = -10 by repeated addition of 0.01 while x <= 10.
void PlotCurve(CanvasSurface& surface, Integrand f);

// Vertical fore-colour lines from (x, 0) to (x, f(x)) for x = x1, x1 + 0.1, ... while x <= x2,
// the counter accumulated by repeated addition (0..1 gives 11 lines, 0..2 gives 20). Returns
// the number of lines drawn. The line at x1 is always drawn; of the others, only those within
// kShadingReach of the origin, which is past the canvas's edges at +-10, since none beyond can
// show. A counter that stops moving (beyond about 2^50) ends the shading.
inline constexpr double kShadingReach = 11.0;
// Left of the canvas the counter is advanced by repeated addition for at most this many steps
// (about 1.6 million units, a few milliseconds) before it jumps the rest of the way.
inline constexpr std::int64_t kMaxSkippedSteps = std::int64_t{1} << 24;
std::int64_t ShadeArea(CanvasSurface& surface, Integrand f, const Variant& x1, const Variant& x2);

// The blue outline from (x1, ymax) to (x2, 0).
void DrawBox(CanvasSurface& surface, const Variant& x1, const Variant& x2, const Variant& ymax);

// The empty canvas at start-up: the title, then the axes with a magenta x-axis.
void drawStartupCanvas(CanvasSurface& surface);

// Graph's drawing: clear, fore-colour axes, the curve.
void drawGraph(CanvasSurface& surface, Integrand f);

// The points of the curve left out where f has no value that can be drawn: how many, and the
// first and last of their x.
struct CurveGaps {
    std::int64_t points = 0;
    double first = 0.0;
    double last = 0.0;
};

// The same drawing for an integrand the student typed, which may have no value over much of
// the canvas (1/sqrt(x) left of 0): the curve is drawn where it has values, and where it has
// none, or one beyond the single range, it leaves a gap instead of stopping.
CurveGaps drawGraphWithGaps(CanvasSurface& surface, Integrand f);

}  // namespace integral
