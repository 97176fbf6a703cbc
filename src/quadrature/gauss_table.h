// SPDX-License-Identifier: GPL-3.0-or-later
// Gauss-Legendre quadrature with 2 to 6 nodes, one row per node count.
#pragma once

#include <cstdint>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/variant.h"
#include "runtime/variant_array.h"

namespace integral {

// `node` and `weight` hold the abscissae and weights of the current node count, indices 0 to
// 10 (see makeGaussArray). They outlive a run: a completed run leaves the six-node set in
// entries 1 to 6; entries 0 and 7 to 10 are never written.
inline VariantArray makeGaussArray() {
    return VariantArray(0, 10);
}

// Fills entries 1 to m of `node` and `weight` for m = 2 to 6 from the eight-digit table.
void setGaussNodes(int m, VariantArray& node, VariantArray& weight);

// Appends five rows (counter and estimate in the plain conversion) and the summary of the
// six-node estimate. A fault propagates as RuntimeError with the rows made before it left in
// `panel` and no summary. An observer sees every node mapped onto the interval, with its
// weight times (x2 - x1) / 2.
void gaussTable(Integrand f, const Variant& x1, const Variant& x2, VariantArray& node,
                VariantArray& weight, ResultsPanel& panel, EvaluationObserver* observer = nullptr);

// Beyond the table: Gauss-Legendre with full-precision nodes and weights (the library's zeros
// of P_m, weights 2 / ((1 - t^2) P_m'(t)^2)) on n nodes in all. Up to kGaussLargestRule nodes
// that is one rule; a larger n, a multiple of it, is the composite rule on n / kGaussLargestRule
// equal panels of that many nodes each, since one rule of hundreds of nodes only adds rounding.
// Each panel's sum runs from its most negative node up, the panels from the left, times half a
// panel's width. Its own error estimate is |Q - Q'|, Q' the same panels with one node fewer:
// n + (n - panels) evaluations.
inline constexpr int kGaussLargestRule = 20;
bool gaussSizeAllowed(std::int64_t n);
std::int64_t gaussEvaluations(std::int64_t n);
RowFigures gaussAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n);

}  // namespace integral
