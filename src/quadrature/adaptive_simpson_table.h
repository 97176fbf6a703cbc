// SPDX-License-Identifier: GPL-3.0-or-later
// Adaptive Simpson (Lyness 1969; in the form of Gander and Gautschi 2000), one row per
// tolerance 1e-1, 1e-2, ..., 1e-12 (the row's counter is the exponent k). A panel a..b with
// Simpson's value S on its ends and middle is halved; where the two halves' sum S2 differs
// from S by no more than 15 times the panel's share of the tolerance it is accepted as
// S2 + (S2 - S) / 15, with |S2 - S| / 15 as its own error estimate; otherwise each half goes on
// with half the tolerance. The tolerance is relative: 10^-k times |S| of the whole interval
// halved once (or, where that is 0, times the mean |f| at its five points times the width).
// Halving stops at a depth of 50 or where a panel's middle is no longer a double between its
// ends, and the row stops accepting after 200 000 evaluations: what is left is accepted as it
// stands. Each row starts afresh and evaluates its own points, every point once.
#pragma once

#include <cstdint>
#include <vector>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/variant.h"

namespace integral {

inline constexpr int kSimpsonTolerances = 12;
// The finest tolerance a run may ask for, 10^-15: a few ulps of the estimate.
inline constexpr int kSimpsonFinestTolerance = 15;

// An accepted panel, for pictures of where the points went.
struct AcceptedPanel {
    double from = 0.0;
    double to = 0.0;
    int depth = 0;
};

struct AdaptiveSimpsonRow {
    double estimate = 0.0;
    double ownError = 0.0;  // the accepted panels' |S2 - S| / 15, summed
    std::int64_t evaluations = 0;
    std::vector<AcceptedPanel> panels;
};

// One row: tolerance 10^-k.
AdaptiveSimpsonRow adaptiveSimpson(Integrand f, const Variant& x1, const Variant& x2, int k,
                                   EvaluationObserver* observer = nullptr);

void adaptiveSimpsonTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                          EvaluationObserver* observer = nullptr);

}  // namespace integral
