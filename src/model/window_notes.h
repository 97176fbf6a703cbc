// SPDX-License-Identifier: GPL-3.0-or-later
// The short notes the window shows where its inputs would otherwise mislead without a word: a
// limit box whose text is not wholly a number, limits typed but not yet confirmed with Enter,
// the Monte Carlo box's height and a box that makes no sense yet. In English; the window only
// places them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "canvas/plot_operations.h"
#include "runtime/variant.h"

namespace integral {

// Where Enter in a limit box reads less than its whole text (only the leading number counts),
// what it reads and, where the text means a number another way, how to write that number:
//   "0,5" -> "read as 0: only the leading number counts; write 0.5"
//   "1/2" -> "read as 1: only the leading number counts; write 0.5"
//   "pi"  -> "read as 0: only the leading number counts; write 3.14159265358979"
// Nothing for a number (blanks around it allowed), an empty box, or a number beyond the double
// range, which Enter reports as a fault of its own.
std::optional<std::string> limitReadingNote(std::string_view text);

// A limit box's text and whether it is the text last confirmed with Enter.
struct TypedLimit {
    std::string_view text;
    bool confirmed = true;
};

// Where a box holds text that Enter has not confirmed: the limits in use, and which text is
// not in use yet.
//   "the rows are for 0 to 3: 1 typed in the upper box is not in use until Enter is pressed there"
std::optional<std::string> unconfirmedLimitsNote(const TypedLimit& lower, const TypedLimit& upper,
                                                 const Variant& x1, const Variant& x2);

// The limits in use, for the boxes' tooltips: "in use: from 0 to 3" (Empty limits are 0).
std::string limitsInUse(const Variant& x1, const Variant& x2);

// The Monte Carlo box's height as a number: "box height 4", or "no box yet".
std::string boxHeightText(const Variant& ymax);

// What a Monte Carlo run computes where the box cannot hold the area: no box (every row is 0)
// or a box at or below the axis. Nothing where the box stands above it.
std::optional<std::string> monteCarloBoxNote(const Variant& ymax);

// Where Graph left the curve of a typed integrand out: nothing where it left none.
//   "f has no value at 1000 of the curve's 2001 points, from x = -10 to -0.01: the curve has
//    gaps there (the methods still stop where f has no value)"
std::optional<std::string> curveGapsNote(const CurveGaps& gaps);

// Where an integrand was chosen by typing it and Graph has not drawn it yet: what the window
// still shows of the integrands before, by name (nothing where it shows nothing of them).
//   ("f(x) = x^4", "y = x*sin(x)", "y = x*sin(x)") ->
//   "f(x) = x^4 is chosen: Graph draws it. The curve, the rows and the summary shown are still
//    those of y = x*sin(x)."
std::string chosenNotDrawnNote(std::string_view chosen, std::optional<std::string_view> curveOf,
                               std::optional<std::string_view> rowsOf);

// A file name for a picture or a table, from what it shows, to suggest in a save dialog: the
// kind of picture, the integrand and the limits, in letters, digits, . and - only:
//   ("zelbrin", "y = x*sin(x)", 0, 3) -> "zelbrin_y_x_sin_x_0_to_3"
std::string suggestedFileName(std::string_view what, std::string_view integrand, double x1,
                              double x2);

// A height typed for the box: a number a single can hold, or what is wrong with the text.
std::variant<float, std::string> readBoxHeight(std::string_view text);

}  // namespace integral
