// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/contrast.h"

#include <algorithm>
#include <cmath>

namespace integral {

namespace {

double channel(std::uint32_t rgb, int shift) {
    const double v = static_cast<double>((rgb >> shift) & 0xFF) / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(std::uint32_t rgb) {
    return 0.2126 * channel(rgb, 16) + 0.7152 * channel(rgb, 8) + 0.0722 * channel(rgb, 0);
}

// `share` of the way from `from` to `to`, channel by channel.
std::uint32_t mixed(std::uint32_t from, std::uint32_t to, double share) {
    std::uint32_t result = 0;
    for (const int shift : {16, 8, 0}) {
        const double a = static_cast<double>((from >> shift) & 0xFF);
        const double b = static_cast<double>((to >> shift) & 0xFF);
        result |= static_cast<std::uint32_t>(std::lround(a + (b - a) * share)) << shift;
    }
    return result;
}

struct Lab {
    double l;
    double a;
    double b;
};

Lab labOf(std::uint32_t rgb) {
    const double r = channel(rgb, 16);
    const double g = channel(rgb, 8);
    const double b = channel(rgb, 0);
    // Linear sRGB to XYZ, each over the D65 white's own.
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
}

}  // namespace

double colourDistance(std::uint32_t a, std::uint32_t b) {
    const Lab p = labOf(a);
    const Lab q = labOf(b);
    return std::hypot(p.l - q.l, p.a - q.a, p.b - q.b);
}

double contrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t readableOn(std::uint32_t fore, std::uint32_t back, double ratio) {
    if (contrastRatio(fore, back) >= ratio) {
        return fore;
    }
    // Black or white reaches 4.5 on any back; the least step towards it that does is kept.
    const std::uint32_t extreme = luminance(back) < 0.18 ? 0xFFFFFF : 0x000000;
    for (int step = 1; step <= 40; ++step) {
        const std::uint32_t moved = mixed(fore, extreme, step / 40.0);
        if (contrastRatio(moved, back) >= ratio) {
            return moved;
        }
    }
    return extreme;
}

}  // namespace integral
