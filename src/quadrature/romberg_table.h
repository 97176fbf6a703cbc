// SPDX-License-Identifier: GPL-3.0-or-later
// Romberg's method, one row per level k = 1..10: the trapezoid values T(j) on 2^j subintervals
// for j = 0..k, each made from the one before and the new midpoints
//   T(0) = (x2 - x1) (f(x1) + f(x2)) / 2,  T(j) = T(j-1) / 2 + h(j) (sum of f at the midpoints),
// and Richardson's extrapolation R(j, m) = R(j, m-1) + (R(j, m-1) - R(j-1, m-1)) / (4^m - 1),
// R(j, 0) = T(j). A row shows R(k, k); it evaluates its own 2^k + 1 points, so that what a row
// used can be replayed alone.
#pragma once

#include <vector>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/variant.h"

namespace integral {

inline constexpr int kRombergLevels = 10;

// Romberg's table for level k: row j holds R(j, 0..j), j = 0..k.
using RombergTableau = std::vector<std::vector<double>>;

// The table of level k from the trapezoid values T(0..k).
RombergTableau rombergTableau(const std::vector<double>& trapezoids);

// T(0..k) from f on the 2^k + 1 points of the finest grid, in the order of x, over an interval
// `width` wide: T(0) from the ends, then each level's new midpoints from the left.
std::vector<double> rombergTrapezoids(const std::vector<double>& values, double width);

void rombergTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                  EvaluationObserver* observer = nullptr);

// The row of level k, any k from 1 to kRombergDeepest, with its own error estimate
// |R(k, k) - R(k-1, k-1)| from the same tableau in ownError: 2^k + 1 evaluations.
inline constexpr int kRombergDeepest = 20;
RowFigures rombergAt(Integrand f, const Variant& x1, const Variant& x2, int k);

}  // namespace integral
