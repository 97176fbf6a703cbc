// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/exact_integral.h"

#include <boost/math/special_functions/erf.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <limits>

#include "integrands/formulas.h"

namespace integral {

namespace {

namespace bmp = boost::multiprecision;

template <unsigned Digits>
using Real = bmp::number<bmp::cpp_bin_float<Digits>, bmp::et_off>;

// A value and the sum of the magnitudes of the terms it was formed from: their ratio tells
// how many digits the sums and differences on the way cancelled.
template <typename R>
struct Terms {
    R value;
    R magnitude;
};

template <typename R>
Terms<R> antiderivative(Formula formula, const R& x) {
    switch (formula) {
        case Formula::XExp: {
            const R value = -(x + 1) * exp(-x);
            return {value, abs(value)};
        }
        case Formula::Lorentz: {
            const R value = 4 * atan(x);
            return {value, abs(value)};
        }
        case Formula::Parabola: {
            const R cube = x * x * x / 3;
            return {cube - 2 * x, abs(cube) + abs(2 * x)};
        }
        case Formula::XSin: {
            const R sine = sin(x);
            const R product = x * cos(x);
            return {sine - product, abs(sine) + abs(product)};
        }
        case Formula::Bell:
            break;  // by bellDifference(), which needs no antiderivative on its own
        case Formula::None:
            break;
    }
    return {R(0), R(0)};
}

// (10 / sqrt 6.283184) sqrt(pi/2) (erf(b/sqrt2) - erf(a/sqrt2)): the program divides by the
// double nearest to the square root of 6.283184, not by the square root of 2 pi, and the
// integral of what it computes keeps that divisor. In a tail (both limits beyond 1 on one side)
// the difference is taken of erfc, which keeps its digits there; elsewhere of erf, which keeps
// them near 0, where erfc would be 1 minus almost nothing. Either way the difference keeps more
// than 30 of its 50 digits: two doubles a limit apart differ by at least 1e-16 of the limit.
template <typename R>
Terms<R> bellDifference(double lower, double upper) {
    const R divisor(std::sqrt(formula_detail::kTruncatedTwoPi));
    const R half(0.5);
    // pi from atan, not from the library's constant, whose value is made before main.
    const R pi = 4 * atan(R(1));
    const R scale = 10 / divisor * sqrt(pi * half);
    const R a = R(lower) * sqrt(half);
    const R b = R(upper) * sqrt(half);
    R first;
    R second;
    if (lower >= 1) {
        first = boost::math::erfc(a);
        second = boost::math::erfc(b);
    } else if (upper <= -1) {
        first = boost::math::erfc(-b);
        second = boost::math::erfc(-a);
    } else {
        first = boost::math::erf(b);
        second = boost::math::erf(a);
    }
    return {scale * (first - second), scale * (abs(first) + abs(second))};
}

template <typename R>
Terms<R> difference(Formula formula, double lower, double upper) {
    const Terms<R> a = antiderivative(formula, R(lower));
    const Terms<R> b = antiderivative(formula, R(upper));
    return {b.value - a.value, a.magnitude + b.magnitude};
}

enum class Verdict { Done, NeedsMoreDigits };

// Enough digits survive the cancellation to round to the nearest double, or whatever is left
// is smaller than half the least subnormal, so that the double is 0 either way.
template <unsigned Digits>
Verdict judge(const Terms<Real<Digits>>& d) {
    using R = Real<Digits>;
    constexpr int kKept = 25;
    if (d.magnitude == 0) {
        return Verdict::Done;
    }
    const R noise = d.magnitude * pow(R(10), -static_cast<int>(Digits) + 5);
    if (noise < R(std::numeric_limits<double>::denorm_min()) / 2) {
        return Verdict::Done;
    }
    if (d.value == 0) {
        return Verdict::NeedsMoreDigits;
    }
    return noise * pow(R(10), kKept) < abs(d.value) ? Verdict::Done : Verdict::NeedsMoreDigits;
}

template <unsigned Digits>
std::optional<double> rounded(const Real<Digits>& value) {
    const double result = static_cast<double>(value);
    if (!std::isfinite(result)) {
        return std::nullopt;
    }
    return result;
}

// Argument reduction of a sine or cosine of x loses about log10|x| digits.
bool reductionFits(Formula formula, double lower, double upper, unsigned digits) {
    if (formula != Formula::XSin) {
        return true;
    }
    const double largest = std::max(std::fabs(lower), std::fabs(upper));
    return largest < 1.0 || std::log10(largest) + 30.0 < static_cast<double>(digits);
}

// 50 digits serve every interval of ordinary size; 400 serve the rest, down to differences
// that round to a subnormal and sines of arguments near the top of the double range. Only the
// built-in functions of the number type are asked for at 400 digits: the special functions'
// tables at that precision would be computed when the program starts.
constexpr unsigned kUsualDigits = 50;
constexpr unsigned kMostDigits = 400;

}  // namespace

std::optional<double> exactIntegral(Formula formula, double lower, double upper) {
    if (formula == Formula::None || lower == upper) {
        return 0.0;
    }
    if (!std::isfinite(lower) || !std::isfinite(upper)) {
        return std::nullopt;
    }
    if (formula == Formula::Bell) {
        return rounded<kUsualDigits>(bellDifference<Real<kUsualDigits>>(lower, upper).value);
    }
    if (reductionFits(formula, lower, upper, kUsualDigits)) {
        const auto usual = difference<Real<kUsualDigits>>(formula, lower, upper);
        if (judge<kUsualDigits>(usual) == Verdict::Done) {
            return rounded<kUsualDigits>(usual.value);
        }
    }
    return rounded<kMostDigits>(difference<Real<kMostDigits>>(formula, lower, upper).value);
}

namespace {

// f as the program computes it, in R: the same formulas without their rounding.
template <typename R>
R formulaValue(Formula formula, const R& x) {
    switch (formula) {
        case Formula::XExp:
            return x * exp(-x);
        case Formula::Lorentz:
            return 4 / (x * x + 1);
        case Formula::Parabola:
            return x * x - 2;
        case Formula::XSin:
            return x * sin(x);
        case Formula::Bell:
            return exp(-x * x / 2) / R(std::sqrt(formula_detail::kTruncatedTwoPi)) * 10;
        case Formula::None:
            break;
    }
    return R(0);
}

template <unsigned Digits>
std::optional<RuleSplit> roundingAt(std::optional<Formula> formula, std::span<const RuleTerm> terms,
                                    double lower, double upper, double estimate) {
    using R = Real<Digits>;
    R sum(0);
    for (const RuleTerm& term : terms) {
        const R node = term.count > 0.0
                           ? R(lower) + (R(upper) - R(lower)) * R(term.index) / R(term.count)
                           : R(term.x);
        const R value = formula ? formulaValue(*formula, node) : R(term.fx);
        sum += R(term.coefficient) * value * (R(upper) - R(lower)) / R(term.denominator);
    }
    const double rounding = static_cast<double>(R(estimate) - sum);
    if (!std::isfinite(rounding) || !std::isfinite(static_cast<double>(sum))) {
        return std::nullopt;
    }
    RuleSplit split{rounding, std::nullopt};
    if (formula && *formula != Formula::None && lower != upper) {
        R exact;
        if (*formula != Formula::Bell) {
            exact = difference<R>(*formula, lower, upper).value;
        } else if constexpr (Digits == kUsualDigits) {
            exact = bellDifference<R>(lower, upper).value;
        } else {
            return std::nullopt;  // never asked: only sines need more digits
        }
        const double ruleError = static_cast<double>(sum - exact);
        if (std::isfinite(ruleError)) {
            split.ruleError = ruleError;
        }
    } else if (formula) {
        split.ruleError = static_cast<double>(sum);
    }
    return split;
}

}  // namespace

std::optional<RuleSplit> ruleRounding(std::optional<Formula> formula,
                                      std::span<const RuleTerm> terms, double lower, double upper,
                                      double estimate) {
    double largest = std::max(std::fabs(lower), std::fabs(upper));
    for (const RuleTerm& term : terms) {
        largest = std::max(largest, std::fabs(term.x));
    }
    if (!std::isfinite(largest)) {
        return std::nullopt;
    }
    if (formula && !reductionFits(*formula, -largest, largest, kUsualDigits)) {
        return roundingAt<kMostDigits>(formula, terms, lower, upper, estimate);
    }
    return roundingAt<kUsualDigits>(formula, terms, lower, upper, estimate);
}

}  // namespace integral
