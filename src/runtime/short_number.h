// SPDX-License-Identifier: GPL-3.0-or-later
// A number in a sentence: at most `digits` significant digits, as printf's %g writes them but
// never through the user's locale: 0.3 -> "0.3", 1e-300 -> "1e-300", 2.0 -> "2",
// 3.14159265 -> "3.14159". A value that is not finite is "not a finite number", so that no
// "inf" or "nan" reaches a person.
#pragma once

#include <charconv>
#include <cmath>
#include <string>

namespace integral {

inline std::string shortNumber(double value, int digits = 6) {
    if (!std::isfinite(value)) {
        return "not a finite number";
    }
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

}  // namespace integral
