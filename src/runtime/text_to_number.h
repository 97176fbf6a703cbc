// SPDX-License-Identifier: GPL-3.0-or-later
// Reading numbers out of text, with the point as the decimal separator whatever the user's
// locale.
//
// numericValue() is what a limit box yields on Enter: the number at the start of the text.
// Spaces, tabs and line feeds are skipped anywhere; an optional sign, digits, a point and an
// exponent are read up to the first character that cannot continue the number; no number at
// the start gives 0. Bad text is never an error.
//   "3.25"      -> 3.25        "1 2"        -> 12        "1.5e2"  -> 150
//   " -\t.5x"   -> -0.5        "abc"        -> 0         ""       -> 0
//   "1e"        -> 1           "1e+"        -> 1         "--1"    -> 0
//   "2.5.1"     -> 2.5         "1e-400"     -> 0         "1e400"  -> raises Overflow
// A number beyond the double range raises RuntimeError(Overflow); one too small for a double
// reads as 0 (or the nearest subnormal).
//
// readCompleteNumber() is the strict reading for command-line options: the whole text must be
// one number (sign, digits, point, exponent) with no blanks and at least one digit before any
// exponent. It tells a text that is no number from a number beyond the double range; a number
// too small for a double reads as 0 (or the nearest subnormal), as in a limit box.
//   "-1.5e3" -> -1500          "1e-400" -> 0
//   "1 2", ".", "1e", "1,5", "0x10", "nan", "inf" -> NotANumber
//   "1e309", "-1e400"                             -> BeyondRange
// parseCompleteNumber() is the same reading with both failures as nothing.
#pragma once

#include <optional>
#include <string_view>

namespace integral {

double numericValue(std::string_view text);

struct CompleteNumber {
    enum class Status { Number, NotANumber, BeyondRange };
    Status status = Status::NotANumber;
    double value = 0.0;  // only for Number
};

CompleteNumber readCompleteNumber(std::string_view text);

std::optional<double> parseCompleteNumber(std::string_view text);

}  // namespace integral
