// SPDX-License-Identifier: GPL-3.0-or-later
// Where the windows go on a screen, in the screen's logical pixels: the fixed window made
// smaller as a whole where the screen is too small for the scale it is shown at, and the
// extra windows (the views, the handbook, the Compare window) sized to the screen and put
// beside the main window where there is room, never over its buttons and results.
#pragma once

#include <optional>
#include <span>

namespace integral {

struct ScreenBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const ScreenBox&) const = default;
};

// What a window's frame adds to its client area, at most, in logical pixels.
inline constexpr int kFrameWidth = 8;
inline constexpr int kFrameHeight = 40;

// The scale at which a window whose client area is `width` x `height` logical pixels fits,
// with its frame, on `available` (measured at `scale`); nothing where it fits at `scale`.
// A little below the exact ratio, in steps of 1/64, so that it fits once rounded.
std::optional<double> fittingScale(double scale, const ScreenBox& available, int width, int height);

// Where an extra window that would like `width` x `height` goes: as large as `available`
// allows; right of `main` (the main window's frame) where it fits there, else left of it; else
// narrower, no narrower than kLeastWidth, right or else left of it; else at the left of the
// screen, kept left of `keepFree` (the screen x where the main
// window's buttons and results begin) where that leaves it `kLeastWidth` wide.
inline constexpr int kLeastWidth = 400;
ScreenBox placeBeside(const ScreenBox& main, const ScreenBox& available, int width, int height,
                      int keepFree);

// Where a window opened from another extra window goes: as placeBeside() would, but beside all
// of `others` (the extra windows shown) as well as `main`, right of the rightmost or left of the
// leftmost, as wide as asked where that fits and else no narrower than kLeastWidth; where
// neither side has that room, as placeBeside() places it.
ScreenBox placeBesideAll(const ScreenBox& main, std::span<const ScreenBox> others,
                         const ScreenBox& available, int width, int height, int keepFree);

// Where a tooltip at `tip` goes so that it lies over no control of the main window: as it is
// where it keeps clear of `controls` (the column of buttons, lists and boxes); else at the same
// height left of them, over the canvas; else right of `main` (the main window's frame); else
// below it or above it; where the screen has room for none of these, as it is.
ScreenBox placeTooltip(const ScreenBox& tip, const ScreenBox& controls, const ScreenBox& main,
                       const ScreenBox& available);

}  // namespace integral
