// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/window_geometry.h"

#include <algorithm>
#include <cmath>

namespace integral {

std::optional<double> fittingScale(double scale, const ScreenBox& available, int width,
                                   int height) {
    const double wide = static_cast<double>(available.width) / (width + kFrameWidth);
    const double high = static_cast<double>(available.height) / (height + kFrameHeight);
    const double ratio = std::min(wide, high);
    if (ratio >= 1.0 || available.width <= 0 || available.height <= 0) {
        return std::nullopt;
    }
    return std::floor(scale * ratio * 64.0) / 64.0;
}

ScreenBox placeBeside(const ScreenBox& main, const ScreenBox& available, int width, int height,
                      int keepFree) {
    constexpr int kGap = 8;
    ScreenBox placed;
    placed.width = std::min(width, available.width - kFrameWidth);
    placed.height = std::min(height, available.height - kFrameHeight);
    placed.y = std::clamp(main.y, available.y, available.bottom() - placed.height - kFrameHeight);
    const int roomRight = available.right() - main.right() - kGap - kFrameWidth;
    const int roomLeft = main.x - available.x - kGap - kFrameWidth;
    // As wide as asked on either side first; then narrower, so that it covers no part of the
    // main window where a side has kLeastWidth.
    for (const int least : {placed.width, std::min(placed.width, kLeastWidth)}) {
        if (roomRight >= least) {
            placed.width = std::min(placed.width, roomRight);
            placed.x = main.right() + kGap;
            return placed;
        }
        if (roomLeft >= least) {
            placed.width = std::min(placed.width, roomLeft);
            placed.x = main.x - kGap - kFrameWidth - placed.width;
            return placed;
        }
    }
    {
        placed.x = available.x;
        const int leftOfControls = keepFree - available.x - kFrameWidth;
        if (leftOfControls >= kLeastWidth) {
            placed.width = std::min(placed.width, leftOfControls);
        }
    }
    return placed;
}

ScreenBox placeBesideAll(const ScreenBox& main, std::span<const ScreenBox> others,
                         const ScreenBox& available, int width, int height, int keepFree) {
    constexpr int kGap = 8;
    int right = main.right();
    int left = main.x;
    for (const ScreenBox& other : others) {
        right = std::max(right, other.right());
        left = std::min(left, other.x);
    }
    ScreenBox placed;
    placed.height = std::min(height, available.height - kFrameHeight);
    placed.y = std::clamp(main.y, available.y, available.bottom() - placed.height - kFrameHeight);
    const int wanted = std::min(width, available.width - kFrameWidth);
    const int roomRight = available.right() - right - kGap - kFrameWidth;
    const int roomLeft = left - available.x - kGap - kFrameWidth;
    // As wide as asked on either side first; only then narrower.
    for (const int least : {wanted, std::min(wanted, kLeastWidth)}) {
        if (roomRight >= least) {
            placed.width = std::min(wanted, roomRight);
            placed.x = right + kGap;
            return placed;
        }
        if (roomLeft >= least) {
            placed.width = std::min(wanted, roomLeft);
            placed.x = left - kGap - kFrameWidth - placed.width;
            return placed;
        }
    }
    return placeBeside(main, available, width, height, keepFree);
}

ScreenBox placeTooltip(const ScreenBox& tip, const ScreenBox& controls, const ScreenBox& main,
                       const ScreenBox& available) {
    constexpr int kGap = 2;
    const bool clear = tip.right() <= controls.x || tip.x >= controls.right() ||
                       tip.bottom() <= controls.y || tip.y >= controls.bottom();
    if (clear) {
        return tip;
    }
    ScreenBox placed = tip;
    if (controls.x - kGap - tip.width >= available.x) {
        placed.x = controls.x - kGap - tip.width;
    } else if (main.right() + kGap + tip.width <= available.right()) {
        placed.x = main.right() + kGap;
    } else if (main.bottom() + kGap + tip.height <= available.bottom()) {
        placed.y = main.bottom() + kGap;
    } else if (main.y - kGap - tip.height >= available.y) {
        placed.y = main.y - kGap - tip.height;
    }
    return placed;
}

}  // namespace integral
