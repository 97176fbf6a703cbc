// SPDX-License-Identifier: GPL-3.0-or-later
// The composite parabolic rule ("Zelbrin") for 2, 4, ..., 20 panels, one row per panel count.
#pragma once

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

}  // namespace integral
