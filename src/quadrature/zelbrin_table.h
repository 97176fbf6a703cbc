// SPDX-License-Identifier: GPL-3.0-or-later
// The composite parabolic rule ("Zelbrin") for 2, 4, ..., 20 panels, one row per panel count.
#pragma once

#include <cstdint>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/variant.h"

namespace integral {

// Appends ten rows ("######" counter, "###.#####" estimate) and the summary of the 20-panel
// estimate. A fault propagates as RuntimeError with the rows made before it left in `panel`
// and no summary. An observer sees every evaluation with its weight h/3 or 4h/3.
void zelbrinTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                  EvaluationObserver* observer = nullptr);

// The parabolic rule on any even number n of panels as it is usually written: the 2n + 1 points
// x1 + j h (h = (x2 - x1) / 2n, the last one x2 itself) evaluated once each, with coefficients
// 1, 4, 2, 4, ..., 4, 1 summed from the left, times h / 3. Its own error estimate is Richardson's
// with order 4, (S_n - S_n/2) / 15, where S_n/2 takes every other point of S_n: 2n + 1
// evaluations in all. Near the table's rows but not their bits: the table evaluates each
// panel's ends apart and adds panel by panel.
RowFigures zelbrinAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n);

}  // namespace integral
