#include "quadrature/monte_carlo_table.h"

#include "quadrature/number_format.h"

namespace integral {

namespace {

// With a double width, a double or Empty x1 and a single or Empty ymax, every step of a sample
// has a fixed type: x is a double (the draw widened, times the width, plus x1 or plus 0), y a
// single product (times 0 for an Empty ymax) and the hit count an integer. Plain types then
// give the same bits as the variant steps, at a fraction of the cost; the benchmark in bench/
// shows the difference.
bool typedPathHolds(const Variant& x1, const Variant& width, const Variant& ymax) {
    return width.type() == Variant::Type::Double &&
           (x1.type() == Variant::Type::Double || x1.isEmpty()) &&
           (ymax.type() == Variant::Type::Single || ymax.isEmpty());
}

Variant countHitsTyped(Integrand f, double x1, double width, float ymax, std::int64_t samples,
                       RandomGenerator& random) {
    std::int64_t hits = 0;
    for (std::int64_t k = 1; k <= samples; ++k) {
        // |draw| < 1, so only the sum with x1 can overflow.
        const Variant x = Variant::real(static_cast<double>(random.next()) * width + x1);
        const float y = random.next() * ymax;
        if (static_cast<double>(y) < f(x).toDouble()) {
            ++hits;
        }
    }
    // Counted by adding integer 1s, the count is a 16-bit integer up to 32767, then 32-bit.
    return hits <= INT16_MAX ? Variant::integer(static_cast<std::int16_t>(hits))
                             : Variant::longInteger(static_cast<std::int32_t>(hits));
}

}  // namespace

// Per sample: x = (r * (x2 - x1)) + x1 with r widened to a double, then y = r' * ymax as a
// single product, a hit when y < f(x) strictly. The estimate is ((hits / N) * ymax) * (x2 - x1)
// in that order. x2 - x1 is the same value for every sample, so it is formed once per row,
// before the row's first sample, where a fault in it would arise anyway.
void monteCarloTable(Integrand f, const Variant& x1, const Variant& x2, const Variant& ymax,
                     Variant& hits, RandomGenerator& random, ResultsPanel& panel,
                     const SampleCounts& counts) {
    const Variant one = Variant::integer(1);
    Variant estimate;
    const std::int64_t step = counts.step < 1 ? 1 : counts.step;
    // 64-bit so that a count near the top of the range cannot wrap the loop around.
    for (std::int64_t n = counts.first; n <= counts.last; n += step) {
        const Variant width = x2 - x1;
        hits = Variant::integer(0);
        if (typedPathHolds(x1, width, ymax)) {
            hits = countHitsTyped(f, x1.toDouble(), width.toDouble(), ymax.toSingle(), n, random);
        } else {
            for (std::int64_t k = 1; k <= n; ++k) {
                const Variant x = (Variant::single(random.next()) * width) + x1;
                const Variant y = Variant::single(random.next()) * ymax;
                if (y < f(x)) {
                    hits = hits + one;
                }
            }
        }
        const Variant samples = n <= INT16_MAX ? Variant::integer(static_cast<std::int16_t>(n))
                                               : Variant::longInteger(static_cast<std::int32_t>(n));
        estimate = ((hits / samples) * ymax) * width;
        panel.addRow(formatNumber(static_cast<double>(n), NumberPattern::Counter),
                     formatNumber(estimate.toDouble(), NumberPattern::Estimate));
    }
    panel.setSummary(estimate.toDouble());
}

}  // namespace integral
