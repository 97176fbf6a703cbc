#include "canvas/plot_operations.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "integrands/integrand_catalogue.h"

namespace integral {
namespace {

// Records what is drawn instead of drawing it.
class Recorder : public CanvasSurface {
  public:
    struct Segment {
        CanvasPoint from;
        CanvasPoint to;
        Colour colour;
    };
    void clear() override {
        ++clears;
        segments.clear();
        points.clear();
        rectangles.clear();
    }
    void segment(CanvasPoint from, CanvasPoint to, Colour colour) override {
        segments.push_back({from, to, colour});
    }
    void point(CanvasPoint at, Colour colour) override {
        points.push_back(at);
        EXPECT_EQ(colour, kLightRed);
    }
    void rectangle(CanvasPoint corner, CanvasPoint opposite, Colour colour) override {
        rectangles.push_back({corner, opposite, colour});
    }
    void printTitle(std::string_view text) override { titles.emplace_back(text); }

    int clears = 0;
    std::vector<Segment> segments;
    std::vector<CanvasPoint> points;
    std::vector<Segment> rectangles;
    std::vector<std::string> titles;
};

struct Chosen {
    Variant fnum;
    Variant operator()(const Variant& x) const { return evaluateIntegrand(fnum, x); }
};

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
    Chosen f{Variant::integer(2)};
    drawGraph(canvas, f);
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.segments[0].colour, kCanvasFore);
    ASSERT_EQ(canvas.points.size(), 2001u);
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

struct ShadingCase {
    Variant x1;
    Variant x2;
    std::int64_t lines;
    std::optional<float> lastX;
};

TEST(PlotOperationsTest, ShadingCountsFollowTheAccumulatedCounter) {
    const std::vector<ShadingCase> cases = {
        {Variant::real(0), Variant::real(1), 11, 1.0f},
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
        Chosen f{Variant::integer(2)};
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

TEST(PlotOperationsTest, RangesTooLongToDrawShadeOnlyTheCanvas) {
    EXPECT_GT(kMaxShadingLines, 1'000'000);  // a hundred thousand units still draw in full
    const std::vector<ShadingCase> cases = {
        {Variant::real(0), Variant::real(1e15), 101, std::nullopt},
        {Variant::real(-1e308), Variant::real(1e308), 201, std::nullopt},
        {Variant::real(5), Variant::real(1e9), 51, std::nullopt},
        {Variant::real(20), Variant::real(1e9), 0, std::nullopt},
    };
    for (const ShadingCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.x1.toDouble()) + " to " + std::to_string(c.x2.toDouble()));
        Recorder canvas;
        Chosen f{Variant::integer(2)};
        EXPECT_EQ(ShadeArea(canvas, f, c.x1, c.x2), c.lines);
        for (const Recorder::Segment& line : canvas.segments) {
            ASSERT_GE(line.from.x, -10.0f);
            ASSERT_LE(line.from.x, 10.0f);
        }
    }
    // Below the bound the range is drawn line by line, wherever it lies.
    Recorder canvas;
    Chosen f{Variant::integer(2)};
    EXPECT_EQ(ShadeArea(canvas, f, Variant::real(-1000), Variant::real(1000), 30000), 20000);
}

TEST(PlotOperationsTest, ValuesBeyondTheSingleRangeStopBeforeDrawing) {
    Recorder canvas;
    Chosen f{Variant::integer(1)};
    try {
        ShadeArea(canvas, f, Variant::real(-100), Variant::real(0));
        ADD_FAILURE() << "no fault raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.fault(), Fault::Overflow);
    }
    EXPECT_TRUE(canvas.segments.empty());
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
