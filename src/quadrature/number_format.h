// SPDX-License-Identifier: GPL-3.0-or-later
// How the results panel turns numbers into text. Digits come from the standard library's
// correctly rounded conversions; this code only arranges sign, point, zeros and exponent.
// No format ever produces "inf" or "nan": a non-finite value raises RuntimeError instead
// (Overflow for an infinity, Invalid operation for a NaN).
#pragma once

#include <string>

#include "runtime/variant.h"

namespace integral {

enum class NumberPattern {
    // "######": the integer in plain digits, halves rounded away from zero, no leading zeros,
    // no fill. 20 -> "20", 50000 -> "50000", 1234567 -> "1234567", -3 -> "-3", and, as a
    // pattern of placeholders only, 0 -> "".
    Counter,
    // "###.#####": at most five decimals, halves away from zero, trailing zeros dropped, the
    // point always printed, no integer digit below 1.
    // 0.6666666 -> ".66667", -0.25 -> "-.25", 2 -> "2.", 3.14156862745098 -> "3.14157",
    // 0 -> ".", 1.000004 -> "1.", 0.015625 -> ".01563", 1e20 -> "100000000000000000000.".
    // A value that rounds to zero shows no sign: -0.000001 -> ".".
    Estimate,
    // "0.#####": as Estimate, with at least one integer digit.
    // 0.6666666 -> "0.66667", -0.25 -> "-0.25", 2 -> "2.", 0 -> "0.", 3.14159265 -> "3.14159".
    Summary,
};

std::string formatNumber(double value, NumberPattern pattern);

// The ordinary text form of a value. Integers in plain digits (2 -> "2"); doubles with at most
// 15 significant digits and singles with at most 7, trailing zeros dropped, a 0 before the
// point below 1 (2/3 -> "0.666666666666667"); from a decimal exponent of 15 up (7 for singles)
// or below -4 the mantissa-and-exponent form (1.11022302462516E-16, 1E+15, -2.5E-05). Zero of
// either sign prints as "0"; Empty as "".
std::string plainText(const Variant& value);

// The shortest text that reads back as the same double, for figures at full precision:
// 0.1 -> "0.1", 1.0/3 -> "0.3333333333333333", 1e-300 -> "1e-300", -0.0 -> "-0".
// A non-finite value raises RuntimeError like the patterns.
std::string fullPrecision(double value);

}  // namespace integral
