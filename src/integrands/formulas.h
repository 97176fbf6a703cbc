// SPDX-License-Identifier: GPL-3.0-or-later
// The five formulas on a double argument, one typed kernel each, so that a loop over many
// points can choose the formula once and call it directly. Each step is checked as the variant
// arithmetic checks it (an infinity on the way raises RuntimeError even where the end result
// would be finite, as 4 / inf is), so a kernel gives the same bits and the same faults as the
// variant formulas on a double x.
#pragma once

#include <cmath>
#include <type_traits>

#include "runtime/variant.h"

namespace integral {

// Which formula an integrand number selects; None for anything but 1 to 5 (nothing chosen).
enum class Formula { None, XExp, Lorentz, Parabola, XSin, Bell };

// The number is compared with 1, 2, 3, 4 and 5 in that order, as the integrand function does.
inline Formula formulaOf(const Variant& fnum) {
    const double n = fnum.toDouble();
    if (n == 1) {
        return Formula::XExp;
    }
    if (n == 2) {
        return Formula::Lorentz;
    }
    if (n == 3) {
        return Formula::Parabola;
    }
    if (n == 4) {
        return Formula::XSin;
    }
    if (n == 5) {
        return Formula::Bell;
    }
    return Formula::None;
}

namespace formula_detail {

// A truncated 2*pi, not the exact one: the results of integrand 5 depend on it from the
// seventh significant digit on.
inline constexpr double kTruncatedTwoPi = 6.283184;

inline double checked(double value) {
    if (!std::isfinite(value)) [[unlikely]] {
        throw RuntimeError(std::isnan(value) ? Fault::InvalidOperation : Fault::Overflow);
    }
    return value;
}

}  // namespace formula_detail

// f(v) of one formula; None gives 0, which is what Empty counts as.
template <Formula F>
inline double kernel(double v) {
    using formula_detail::checked;
    if constexpr (F == Formula::XExp) {
        return checked(v * checked(std::exp(-v)));
    } else if constexpr (F == Formula::Lorentz) {
        // Past a finite v * v nothing can overflow: the sum is finite and at least 1.
        return 4.0 / (checked(v * v) + 1.0);
    } else if constexpr (F == Formula::Parabola) {
        return checked(checked(v * v) - 2.0);
    } else if constexpr (F == Formula::XSin) {
        return checked(v * std::sin(v));
    } else if constexpr (F == Formula::Bell) {
        // The square root is taken afresh on every call, as the formula reads.
        const double exponential = checked(std::exp(checked(checked(-v * v) / 2.0)));
        return checked(checked(exponential / std::sqrt(formula_detail::kTruncatedTwoPi)) * 10.0);
    } else {
        return 0.0;
    }
}

// Calls visit(std::integral_constant<Formula, F>{}) for the formula `f`, so that the code it
// runs is compiled once per formula with the formula known.
template <typename Visit>
decltype(auto) withFormula(Formula f, Visit&& visit) {
    switch (f) {
        case Formula::XExp:
            return visit(std::integral_constant<Formula, Formula::XExp>{});
        case Formula::Lorentz:
            return visit(std::integral_constant<Formula, Formula::Lorentz>{});
        case Formula::Parabola:
            return visit(std::integral_constant<Formula, Formula::Parabola>{});
        case Formula::XSin:
            return visit(std::integral_constant<Formula, Formula::XSin>{});
        case Formula::Bell:
            return visit(std::integral_constant<Formula, Formula::Bell>{});
        case Formula::None:
            break;
    }
    return visit(std::integral_constant<Formula, Formula::None>{});
}

}  // namespace integral
