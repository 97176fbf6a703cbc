// SPDX-License-Identifier: GPL-3.0-or-later
// A canvas that records what is drawn on it instead of drawing it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "canvas/canvas_surface.h"

namespace integral::test {

class RecordingSurface : public CanvasSurface {
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
        pointColours.push_back(colour);
    }
    void rectangle(CanvasPoint corner, CanvasPoint opposite, Colour colour) override {
        rectangles.push_back({corner, opposite, colour});
    }
    void printTitle(std::string_view text) override { titles.emplace_back(text); }

    int clears = 0;
    std::vector<Segment> segments;
    std::vector<CanvasPoint> points;
    std::vector<Colour> pointColours;
    std::vector<Segment> rectangles;
    std::vector<std::string> titles;
};

}  // namespace integral::test
