// SPDX-License-Identifier: GPL-3.0-or-later
// Clenshaw-Curtis quadrature, one row per n = 2, 4, ..., 256: f at the n + 1 Chebyshev points
// x_j = mid + half cos(j pi / n), j = 0..n (from x2 down to x1), with the weights of the
// standard explicit formula (Trefethen, Spectral Methods in MATLAB, clencurt):
//   w_0 = w_n = 1 / (n^2 - 1) for even n;
//   w_j = (2 / n) (1 - sum_{k=1}^{n/2-1} 2 cos(2 k theta_j) / (4 k^2 - 1) - cos(n theta_j) / (n^2 -
//   1))
// and the estimate half * sum w_j f(x_j), summed in the order of j. The points of a row include
// those of every row before it, which is what makes the rule cheap to refine.
#pragma once

#include <vector>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/variant.h"

namespace integral {

inline constexpr int kChebyshevRows = 8;

// The weights w_0..w_n on -1..1, n even and at least 2; they add up to 2.
std::vector<double> clenshawCurtisWeights(int n);

void clenshawCurtisTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                         EvaluationObserver* observer = nullptr);

// The rule on n intervals, n a multiple of 4 up to kChebyshevLargest (the weights take n^2
// steps), with its own error estimate |C_n - C_n/2| in ownError; C_n/2 takes its own points,
// rounded apart from those of C_n: (n + 1) + (n/2 + 1) evaluations.
inline constexpr int kChebyshevLargest = 1024;
RowFigures clenshawCurtisAt(Integrand f, const Variant& x1, const Variant& x2, int n);

}  // namespace integral
