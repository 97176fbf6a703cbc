// Hit-or-miss Monte Carlo inside the box from x1 to x2 and from 0 to ymax, one row per sample
// count.
#pragma once

#include <cstdint>

#include "quadrature/integrand.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"

namespace integral {

// The sample counts of the rows: first, first + step, ..., last. The window always uses the
// defaults (25 rows, 650 000 samples); smaller counts exist for tests and fuzzing. A step
// below 1 is taken as 1.
struct SampleCounts {
    std::int32_t first = 2000;
    std::int32_t last = 50000;
    std::int32_t step = 2000;
};

// Appends one row per sample count ("######" counter, "###.#####" estimate) and the summary
// of the last estimate. Each sample draws x, then y, from `random`, which carries on across
// calls. `hits` ends holding the hit count of the last row. A fault propagates as
// RuntimeError with the rows made before it left in `panel` and no summary.
void monteCarloTable(Integrand f, const Variant& x1, const Variant& x2, const Variant& ymax,
                     Variant& hits, RandomGenerator& random, ResultsPanel& panel,
                     const SampleCounts& counts = {});

}  // namespace integral
