// SPDX-License-Identifier: GPL-3.0-or-later
// Three statistical methods beside hit-or-miss, drawing from the same generator so that runs
// repeat; each row gives its estimate and its one-sigma uncertainty, and reports every
// evaluation to an observer with the weight it enters the estimate with.
//   mean-value  N = 2000, 4000, ..., 50000 uniform x = r (x2 - x1) + x1 (r a draw widened to a
//               double): (x2 - x1) times the mean of f; sigma = |x2 - x1| s / sqrt(N) with s the
//               sample standard deviation (N - 1 in its denominator)
//   stratified  the same N in N/2 equal strata, two uniform x in each: the strata's means
//               weighted by their width; sigma = h / 2 sqrt(sum (f1 - f2)^2), h the strata's width
//   sobol       N = 2^7 ... 2^16 points of the one-dimensional Sobol sequence (Boost.Random,
//               Joe-Kuo direction numbers), shifted 16 times modulo 1 by draws: the mean of the
//               16 estimates, sigma their standard deviation over 4 (that is, sqrt(16))
// Rows share no draws. A fault propagates as RuntimeError with the rows made before it.
#pragma once

#include <cmath>
#include <cstdint>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"

namespace integral {

inline constexpr int kSobolShifts = 16;
inline constexpr int kSobolRows = 10;  // 2^7 .. 2^16 points

// With onlyCounter, the one row of that count alone, from the generator as it stands: what
// replays a row from the generator as the row found it, and runs a method at any size (any
// even count for stratified, any count of points for sobol, each taken 16 times).
void meanValueTable(Integrand f, const Variant& x1, const Variant& x2, RandomGenerator& random,
                    ResultsPanel& panel, EvaluationObserver* observer = nullptr,
                    std::int64_t onlyCounter = 0);

void stratifiedTable(Integrand f, const Variant& x1, const Variant& x2, RandomGenerator& random,
                     ResultsPanel& panel, EvaluationObserver* observer = nullptr,
                     std::int64_t onlyCounter = 0);

void sobolTable(Integrand f, const Variant& x1, const Variant& x2, RandomGenerator& random,
                ResultsPanel& panel, EvaluationObserver* observer = nullptr,
                std::int64_t onlyCounter = 0);

}  // namespace integral
