// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas operations on arbitrary limits, box heights and integrands: the curve, the
// shading and the box. Never a crash; every failure is a run-time error; every coordinate that
// reaches the surface is a finite single; the shading draws a bounded number of lines, from
// left to right. Every failure comes back from the model as a fault, never as an exception.
#include <cmath>
#include <cstdint>
#include <limits>

#include "canvas/plot_operations.h"
#include "fuzz_checks.h"
#include "fuzz_model.h"
#include "model/model.h"
#include "runtime/variant.h"

namespace {

using integral::CanvasPoint;
using integral::Colour;
using integral::Variant;
using integral::fuzz::check;

// Counts what is drawn and checks every coordinate on the way.
class CheckingSurface : public integral::CanvasSurface {
  public:
    void clear() override {}
    void segment(CanvasPoint from, CanvasPoint to, Colour) override {
        checkPoint(from);
        checkPoint(to);
        if (shading_) {
            check(from.x >= lastX_, "shading runs from left to right");
            lastX_ = from.x;
            ++segments;
        }
    }
    void point(CanvasPoint at, Colour) override { checkPoint(at); }
    void rectangle(CanvasPoint corner, CanvasPoint opposite, Colour) override {
        checkPoint(corner);
        checkPoint(opposite);
    }
    void printTitle(std::string_view) override {}

    void startShading() { shading_ = true; }
    std::int64_t segments = 0;

  private:
    static void checkPoint(CanvasPoint p) {
        check(std::isfinite(p.x) && std::isfinite(p.y), "finite coordinates");
    }
    bool shading_ = false;
    float lastX_ = -std::numeric_limits<float>::infinity();
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    integral::fuzz::Bytes bytes(data, size);
    integral::Model model = integral::fuzz::modelFrom(bytes);

    CheckingSurface surface;
    check(!model.Graph(surface).has_value(), "the curve over the canvas never fails");
    surface.startShading();
    (void)model.ShadeArea(surface);
    // The line at x1 and those within reach of the canvas, 0.1 apart.
    check(surface.segments <= 2 + static_cast<std::int64_t>(20 * integral::kShadingReach),
          "bounded shading", std::to_string(surface.segments));
    (void)model.DrawBox(surface);
    return 0;
}
