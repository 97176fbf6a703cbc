#include "canvas/plot_operations.h"

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

std::int64_t ShadeArea(CanvasSurface& surface, Integrand f, const Variant& x1, const Variant& x2,
                       std::int64_t maxLines) {
    const double step = 0.1;
    Variant from = x1;
    Variant to = x2;
    // In plain doubles, so that even limits near the largest double only give an infinite
    // count here rather than a fault.
    const double lines = x2.toDouble() / step - x1.toDouble() / step;
    if (lines > static_cast<double>(maxLines)) {
        const Variant left = Variant::real(-10.0);
        const Variant right = Variant::real(10.0);
        from = from < left ? left : from;
        to = to > right ? right : to;
    }
    const Variant zero;
    std::int64_t drawn = 0;
    Variant x = from;
    while (x <= to) {
        const Variant y = f(x);
        surface.segment(at(x, zero), at(x, y), kCanvasFore);
        ++drawn;
        const Variant next = x + Variant::real(step);
        if (next == x) {
            break;  // beyond about 2^50 adding 0.1 leaves the counter where it is
        }
        x = next;
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

}  // namespace integral
