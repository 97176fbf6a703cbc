// SPDX-License-Identifier: GPL-3.0-or-later
// What the plot operations draw on, in the canvas's own coordinates (x from -10 at the left to
// 10 at the right, y from 10 at the top to -10 at the bottom), always as singles. The window
// implements it on a retained image; tests implement it with a recorder.
#pragma once

#include <cstdint>
#include <string_view>

namespace integral {

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kCanvasBack{0x80, 0xFF, 0xFF};  // light cyan
inline constexpr Colour kCanvasFore{0x40, 0x40, 0x40};  // dark grey
inline constexpr Colour kMagenta{0x80, 0x00, 0x80};     // colour 5 of the 16-colour palette
inline constexpr Colour kLightRed{0xFF, 0x00, 0x00};    // colour 12 of the 16-colour palette
inline constexpr Colour kBlue{0x00, 0x00, 0xFF};

struct CanvasPoint {
    float x;
    float y;
    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

class CanvasSurface {
  public:
    virtual ~CanvasSurface() = default;

    // Everything drawn goes; the coordinate frame stays.
    virtual void clear() = 0;
    virtual void segment(CanvasPoint from, CanvasPoint to, Colour colour) = 0;
    virtual void point(CanvasPoint at, Colour colour) = 0;
    // The outline of the axis-parallel rectangle with these opposite corners; inside untouched.
    virtual void rectangle(CanvasPoint corner, CanvasPoint opposite, Colour colour) = 0;
    // Text in the canvas font and fore colour at the top-left corner of the drawing area.
    virtual void printTitle(std::string_view text) = 0;
};

}  // namespace integral
