// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/plot_operations.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "integrands/integrand_descriptor.h"
#include "support/recording_surface.h"
#include "support/typed.h"

namespace integral {
namespace {

using Recorder = test::RecordingSurface;
using Chosen = IntegrandDescriptor;

TEST(PlotOperationsTest, StartupDrawsTitleMagentaAxisThenFrameAndTicks) {
    Recorder canvas;
    drawStartupCanvas(canvas);
    ASSERT_EQ(canvas.titles, std::vector<std::string>{" Integral by Zelbrin's Formula"});
    ASSERT_EQ(canvas.segments.size(), 40u);
    EXPECT_EQ(canvas.segments[0].colour, kMagenta);
    EXPECT_EQ(canvas.segments[0].from, (CanvasPoint{-10, 0}));
    EXPECT_EQ(canvas.segments[0].to, (CanvasPoint{10, 0}));
    EXPECT_EQ(canvas.segments[1].from, (CanvasPoint{0, 10}));
    for (std::size_t i = 1; i < canvas.segments.size(); ++i) {
        EXPECT_EQ(canvas.segments[i].colour, kCanvasFore);
    }
    // The pair for -9 comes first; the pair for 0 lies on the axes, after the magenta axis.
    EXPECT_EQ(canvas.segments[2].from, (CanvasPoint{-9, -0.1f}));
    EXPECT_EQ(canvas.segments[3].to, (CanvasPoint{0.1f, -9}));
    EXPECT_EQ(canvas.segments[20].from, (CanvasPoint{0, -0.1f}));
    EXPECT_EQ(canvas.segments.back().to, (CanvasPoint{0.1f, 9}));
}

TEST(PlotOperationsTest, CurveHas2001PointsByRepeatedAddition) {
    Recorder canvas;
    Chosen f(Variant::integer(2));
    drawGraph(canvas, f);
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.segments[0].colour, kCanvasFore);
    ASSERT_EQ(canvas.points.size(), 2001u);
    for (const Colour& colour : canvas.pointColours) {
        ASSERT_EQ(colour, kLightRed);
    }
    EXPECT_EQ(canvas.points.front(), (CanvasPoint{-10, 4.0f / 101}));
    EXPECT_EQ(canvas.points.back().x, 10.0f);
    EXPECT_NE(canvas.points[1000].x, 0.0f);
    EXPECT_NEAR(canvas.points[1000].x, -1.69e-13f, 1e-15f);

    Recorder empty;
    Chosen none{};
    PlotCurve(empty, none);
    for (const CanvasPoint& p : empty.points) {
        ASSERT_EQ(p.y, 0.0f);
    }
}

// A typed integrand's curve leaves out the points where f has no value, or one too large to
// draw, and draws the rest at the very x the five's curve uses.
TEST(PlotOperationsTest, ATypedCurveHasGapsWhereFHasNoValue) {
    struct Case {
        const char* text;
        std::int64_t gaps;
        double first;
        double last;
    };
    for (const Case& c :
         std::vector<Case>{{"4/(x*x+1)", 0, 0, 0},
                           {"1/sqrt(x)", 1001, -10, -1.69e-13},
                           {"sqrt(x^2-1)", 200, -0.99, 1},  // the counter reaches 1 - 1.7e-13
                           {"exp(x^3)", 554, 4.47, 10}}) {
        SCOPED_TRACE(c.text);
        Recorder canvas;
        const IntegrandDescriptor f = test::typed(c.text);
        const CurveGaps gaps = drawGraphWithGaps(canvas, f);
        EXPECT_EQ(canvas.clears, 1);
        EXPECT_EQ(gaps.points, c.gaps);
        EXPECT_NEAR(gaps.first, c.first, 1e-12 + 0.006);
        EXPECT_NEAR(gaps.last, c.last, 1e-12 + 0.006);
        ASSERT_EQ(canvas.points.size(), static_cast<std::size_t>(2001 - c.gaps));
    }
    Recorder typed;
    Recorder builtIn;
    const IntegrandDescriptor lorentz = test::typed("4/(x*x+1)");
    const Chosen two(Variant::integer(2));
    drawGraphWithGaps(typed, lorentz);
    drawGraph(builtIn, two);
    EXPECT_EQ(typed.points, builtIn.points);
}

struct ShadingCase {
    Variant x1;
    Variant x2;
    std::int64_t lines;
    std::optional<float> lastX;
};

TEST(PlotOperationsTest, ShadingCountsFollowTheAccumulatedCounter) {
    const std::vector<ShadingCase> cases = {
        {Variant::real(0), Variant::real(1), 11, 1.0f},
        {Variant::real(0), Variant::real(0.5), 6, 0.5f},  // the counter lands on 0.5 exactly
        {Variant::real(0), Variant::real(2), 20, 1.9000000000000006f},
        {Variant::real(1), Variant::real(1), 1, 1.0f},
        {Variant::real(-1), Variant::real(1), 21, std::nullopt},
        {Variant::real(0), Variant::real(10), 101, std::nullopt},
        {Variant(), Variant(), 1, 0.0f},
        {Variant::real(0x1p52), Variant::real(0x1p52 + 1000), 1, 0x1p52f},  // 0.1 moves it no more
    };
    for (const ShadingCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.x1.toDouble()) + " to " + std::to_string(c.x2.toDouble()));
        Recorder canvas;
        Chosen f(Variant::integer(2));
        EXPECT_EQ(ShadeArea(canvas, f, c.x1, c.x2), c.lines);
        ASSERT_EQ(static_cast<std::int64_t>(canvas.segments.size()), c.lines);
        const Recorder::Segment& first = canvas.segments.front();
        EXPECT_EQ(first.from.y, 0.0f);
        EXPECT_EQ(first.to.y, static_cast<float>(4 / (c.x1.toDouble() * c.x1.toDouble() + 1)));
        if (c.lastX) {
            EXPECT_EQ(canvas.segments.back().from.x, *c.lastX);
        }
    }
}

// Beyond the canvas only the line at x1 is drawn; every line that can show stands exactly where
// the plain loop, every line evaluated and drawn by repeated addition, puts it.
TEST(PlotOperationsTest, ShadingBeyondTheCanvasDrawsTheFirstLineAndWhatCanShow) {
    struct Range {
        double x1;
        double x2;
    };
    for (const Range& r : std::vector<Range>{
             {-1000, 1000}, {-100000.05, 3}, {0.05, 500}, {-10.95, 10.95}, {20, 1e9}, {-15, -12}}) {
        SCOPED_TRACE(std::to_string(r.x1) + " to " + std::to_string(r.x2));
        std::vector<float> expected;
        for (double x = r.x1; x <= r.x2 && (x == r.x1 || x <= kShadingReach); x += 0.1) {
            if (x == r.x1 || std::fabs(x) <= kShadingReach) {
                expected.push_back(static_cast<float>(x));
            }
        }
        Recorder canvas;
        Chosen f(Variant::integer(2));
        ShadeArea(canvas, f, Variant::real(r.x1), Variant::real(r.x2));
        std::vector<float> drawn;
        for (const Recorder::Segment& line : canvas.segments) {
            drawn.push_back(line.from.x);
        }
        EXPECT_EQ(drawn, expected);
    }
}

// A typed integrand may fail anywhere, so the lines left and right of the canvas are evaluated
// though not drawn: the fault is told at the first x without a value, and the x it names is
// that line's, off the canvas or on it, whether f or the canvas met it.
TEST(PlotOperationsTest, ShadingOfATypedIntegrandEvaluatesWhatItSkips) {
    struct Case {
        const char* text;
        double x1;
        double x2;
        double from;  // the fault's x lies in from..to
        double to;
    };
    for (const Case& c : std::vector<Case>{{"sqrt((x+50)*(x+40))", -100, 1, -50, -49.8},
                                           {"sqrt((x+50)*(x+40))", -45, 1, -45, -45},
                                           {"sqrt(30-x)", 0, 40, 30, 30.2},
                                           // on a line that is drawn, f's fault and the
                                           // canvas's (a value beyond the single range)
                                           {"sqrt(0.35-x)", 0, 1, 0.4, 0.4},
                                           {"1e39*x", 0, 1, 0.4, 0.4},
                                           {"sqrt(2.05-x)", -30, 5, 2.05, 2.15}}) {
        SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.x1));
        Recorder canvas;
        const IntegrandDescriptor f = test::typed(c.text);
        try {
            ShadeArea(canvas, f, Variant::real(c.x1), Variant::real(c.x2));
            ADD_FAILURE() << "no fault";
        } catch (const RuntimeError& error) {
            ASSERT_TRUE(error.argument().has_value());
            EXPECT_GE(*error.argument(), c.from);
            EXPECT_LE(*error.argument(), c.to);
        }
    }
}

// Far left of the canvas the counter jumps after a bounded number of steps; the lines on the
// canvas then stand within a hair of where repeated addition would put them. A counter that
// no longer moves ends the shading after its first line.
TEST(PlotOperationsTest, ShadingOfAnyRangeIsBounded) {
    Recorder canvas;
    Chosen f(Variant::integer(2));
    const std::int64_t lines = ShadeArea(canvas, f, Variant::real(-1e8), Variant::real(0));
    EXPECT_GE(lines, 111);
    EXPECT_LE(lines, 112);
    EXPECT_GE(canvas.segments[1].from.x, -11.0f);
    for (std::size_t i = 2; i < canvas.segments.size(); ++i) {
        ASSERT_NEAR(canvas.segments[i].from.x - canvas.segments[i - 1].from.x, 0.1f, 1e-5f);
    }
    EXPECT_NEAR(canvas.segments.back().from.x, 0.0f, 1e-5f);
    EXPECT_EQ(ShadeArea(canvas, f, Variant::real(-1e16), Variant::real(1e16)), 1);
}

TEST(PlotOperationsTest, BoxSpansTheLimitsFromTheAxisToItsHeight) {
    Recorder canvas;
    DrawBox(canvas, Variant::real(0.1), Variant::real(3), Variant::single(-2.5f));
    DrawBox(canvas, Variant(), Variant(), Variant::single(4));
    ASSERT_EQ(canvas.rectangles.size(), 2u);
    EXPECT_EQ(canvas.rectangles[0].from, (CanvasPoint{0.1f, -2.5f}));
    EXPECT_EQ(canvas.rectangles[0].to, (CanvasPoint{3, 0}));
    EXPECT_EQ(canvas.rectangles[0].colour, kBlue);
    EXPECT_EQ(canvas.rectangles[1].from, (CanvasPoint{0, 4}));
    EXPECT_EQ(canvas.rectangles[1].to, (CanvasPoint{0, 0}));
}

}  // namespace
}  // namespace integral
