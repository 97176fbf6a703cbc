// SPDX-License-Identifier: GPL-3.0-or-later
// The exact integral of each integrand between two limits, from closed forms of the formulas as
// this program computes them (integrand 5 divides by the square root of 6.283184, not of 2*pi),
// so that the error of a row can be shown even when it is 1e-12:
//   1  x*e^-x           -(x + 1) e^-x
//   2  4 / (x*x + 1)    4 atan x
//   3  x*x - 2          x^3/3 - 2x
//   4  x sin x          sin x - x cos x
//   5  the bell curve   (10 / sqrt 6.283184) sqrt(pi/2) erf(x / sqrt 2), by erfc in the tails
// Nothing chosen gives 0. Nothing when the value is not a finite double (integrand 1 far left).
#pragma once

#include <optional>

#include "runtime/variant.h"

namespace integral {

std::optional<double> exactIntegral(const Variant& fnum, double lower, double upper);

}  // namespace integral
