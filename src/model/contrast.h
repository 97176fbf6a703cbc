// SPDX-License-Identifier: GPL-3.0-or-later
// Contrast between two colours (0xRRGGBB) as the web's accessibility guidelines define it,
// and a text colour kept readable on any back colour a desktop theme may give: the colour as
// it is where it reads well, else moved towards white on a dark back (towards black on a light
// one) just far enough to reach the ratio.
#pragma once

#include <cstdint>

namespace integral {

inline constexpr double kReadableContrast = 4.5;

double contrastRatio(std::uint32_t a, std::uint32_t b);

std::uint32_t readableOn(std::uint32_t fore, std::uint32_t back, double ratio = kReadableContrast);

// How far apart two colours look: their distance in CIELAB (CIE76, D65 white). About 2.3 is
// the least difference an eye notices; colours that must be told apart at a glance in a plot
// want well over 20.
double colourDistance(std::uint32_t a, std::uint32_t b);

}  // namespace integral
