// SPDX-License-Identifier: GPL-3.0-or-later
// The five integrands a student can choose, by number 1 to 5, with the labels the integrand
// list shows. The order of evaluation of each formula is fixed because the last bits of every
// table depend on it.
#pragma once

#include <array>
#include <string_view>

#include "runtime/variant.h"

namespace integral {

inline constexpr std::array<std::string_view, 5> kIntegrandLabels = {
    "y = x*Exp(-x)",
    "y = 4 / (x*x + 1)",
    "y = x*x - 2",
    "y = x*sin(x)",
    "y = Exp(-x*x/2)10/\u221A(2\u03C0)",
};

// f(x) for the integrand numbered fnum; Empty when fnum is none of 1 to 5 (nothing chosen yet).
// Raises RuntimeError when the value overflows (integrand 1 far left of the origin).
Variant evaluateIntegrand(const Variant& fnum, const Variant& x);

// The same formulas written wholly in variant arithmetic: the reference the fast double path
// of evaluateIntegrand() must match bit for bit.
Variant evaluateIntegrandVariant(const Variant& fnum, const Variant& x);

}  // namespace integral
