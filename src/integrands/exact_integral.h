// SPDX-License-Identifier: GPL-3.0-or-later
// The exact integral of each integrand between two limits, from closed forms of the formulas as
// this program computes them (integrand 5 divides by the square root of 6.283184, not of 2*pi),
// so that the error of a row can be shown even when it is 1e-12:
//   1  x*e^-x           -(x + 1) e^-x
//   2  4 / (x*x + 1)    4 atan x
//   3  x*x - 2          x^3/3 - 2x
//   4  x sin x          sin x - x cos x
//   5  the bell curve   (10 / sqrt 6.283184) sqrt(pi/2) erf(x / sqrt 2)
// F(b) - F(a) is evaluated in 50-digit arithmetic and rounded once to a double. Where the two
// values cancel so far that fewer than 25 digits would be left (x sin x on 0..1e-20, 4 atan x
// far out on one side), or a sine's argument is too large for 50 digits, 400 digits are used
// instead: every interval of doubles then gets its correctly rounded value, whatever the
// cancellation. The bell curve takes erfc for limits on one side of 0, whose difference keeps
// its digits in the tails.
//   exactIntegral(XSin, 0, 1e-6)  -> 3.333333333333e-19 (the antiderivative terms are 1e-6)
//   exactIntegral(XExp, 0, 1e-6)  -> 4.999996666667916e-13
//   exactIntegral(Bell, 0, 1e-9)  -> 3.989423219002316e-09
// Nothing chosen gives 0; equal limits give 0. Nothing when the value is not a finite double
// (integrand 1 far left of the origin, integrand 3 beyond about 1e102).
#pragma once

#include <optional>
#include <span>

#include "integrands/formulas.h"

namespace integral {

std::optional<double> exactIntegral(Formula formula, double lower, double upper);

// One term of a quadrature rule as it defines it: f at the node x, times
// coefficient * (upper - lower) / denominator; fx is the value the row used.
struct RuleTerm {
    double x = 0.0;
    double fx = 0.0;
    double coefficient = 0.0;
    double denominator = 1.0;
    // Where the rule places the node before rounding, lower + (upper - lower) * index / count;
    // a count of 0 where the rule does not say (the double node is then taken as placed).
    double index = 0.0;
    double count = 0.0;
};

// How far rounding moved a row's estimate: the estimate minus the same rule on the same nodes
// in exact arithmetic (50 digits; 400 for sines of huge arguments), with f from its formula
// at each node, placed where the rule places it where the term says. Without a formula (a typed
// integrand) the values the row used are summed exactly instead, so that only the rounding of the
// rule's own arithmetic is measured. Nothing when the exact sum is not a finite double.
struct RuleSplit {
    double rounding = 0.0;            // estimate - exact sum
    std::optional<double> ruleError;  // exact sum - exact integral, with a formula
};
std::optional<RuleSplit> ruleRounding(std::optional<Formula> formula,
                                      std::span<const RuleTerm> terms, double lower, double upper,
                                      double estimate);

}  // namespace integral
