// SPDX-License-Identifier: GPL-3.0-or-later
// The composite trapezoid and midpoint rules, one row per subinterval count: 2, 4, 8, ...,
// 1024. Each row is made afresh from its own evaluations, so that a row's points are its own:
//   trapezoid  h = (x2 - x1) / n, nodes x1 + i h (i = 0..n, the last one x2 itself),
//              T = h (f0 / 2 + f1 + ... + f(n-1) + fn / 2), n + 1 evaluations
//   midpoint   nodes x1 + (i + 1/2) h (i = 0..n-1), M = h (f0 + ... + f(n-1)), n evaluations
// The sums run from the left; the halves of the ends are added first and last. The row reads
// the count, three spaces and the estimate in the plain conversion; the summary is the last
// estimate. A fault propagates as RuntimeError with the rows made before it.
#pragma once

#include <cstdint>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/variant.h"

namespace integral {

// The counts of the rows: 2, 4, ..., 1024.
inline constexpr int kFirstSubintervals = 2;
inline constexpr int kSubintervalRows = 10;

void trapezoidTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                    EvaluationObserver* observer = nullptr);

void midpointTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                   EvaluationObserver* observer = nullptr);

// The rules at any even n, with their own error estimate (R_n - R_n/2) / 3 in ownError:
//   trapezoid  T_n/2 from every other node of T_n, the same values: n + 1 evaluations
//   midpoint   M_n/2 at midpoints of its own: n + n/2 evaluations
// At the tables' counts the estimate is the table's row, bit for bit.
RowFigures trapezoidAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n);
RowFigures midpointAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n);

}  // namespace integral
