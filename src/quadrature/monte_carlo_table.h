// SPDX-License-Identifier: GPL-3.0-or-later
// Hit-or-miss Monte Carlo inside the box from x1 to x2 and from 0 to ymax, one row per sample
// count.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <optional>

#include "integrands/formulas.h"
#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/number_format.h"
#include "quadrature/results_panel.h"
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

// A source of draws: any type with `float next()` giving values in [0, 1). The window's is the
// program-wide generator; tests pass scripted draws.
template <typename Random>
concept DrawSource = requires(Random& random) {
    { random.next() } -> std::same_as<float>;
};

namespace detail {

// With a double width, a double or Empty x1 and a single or Empty ymax, every step of a sample
// has a fixed type: x is a double (the draw widened, times the width, plus x1 or plus 0), y a
// single product (times 0 for an Empty ymax) and the hit count an integer. Plain types then
// give the same bits as the variant steps, at a fraction of the cost.
inline bool typedPathHolds(const Variant& x1, const Variant& width, const Variant& ymax) {
    return width.type() == Variant::Type::Double &&
           (x1.type() == Variant::Type::Double || x1.isEmpty()) &&
           (ymax.type() == Variant::Type::Single || ymax.isEmpty());
}

// Counted by adding integer 1s, a count is a 16-bit integer up to 32767, then 32-bit.
inline Variant countAsVariant(std::int64_t count) {
    return count <= INT16_MAX ? Variant::integer(static_cast<std::int16_t>(count))
                              : Variant::longInteger(static_cast<std::int32_t>(count));
}

// Where the samples go: nowhere in a plain run, so the loops compile to what they were
// without an observer; to the observer when one wants them.
struct NoSamples {
    void operator()(double, double, double, bool) const {}
};
struct SamplesTo {
    EvaluationObserver* observer;
    void operator()(double x, double y, double fx, bool hit) const {
        observer->sampled(x, y, fx, hit);
    }
};

// The same samples with the formula chosen once: the loop calls its kernel directly.
template <Formula F, DrawSource Random, typename Sink>
std::int64_t countHitsKernel(double x1, double width, float ymax, std::int64_t samples,
                             Random& random, Sink sink) {
    std::int64_t hits = 0;
    for (std::int64_t k = 1; k <= samples; ++k) {
        if (k % 4096 == 0) {
            stopIfRequested();
        }
        const double x = static_cast<double>(random.next()) * width + x1;
        if (!std::isfinite(x)) [[unlikely]] {
            throw RuntimeError(Fault::Overflow);  // before y is drawn, as Variant::real(x) does
        }
        const float y = random.next() * ymax;
        double value = 0.0;
        try {
            value = kernel<F>(x);
        } catch (RuntimeError& error) {
            error.setArgument(x);
            throw;
        }
        const bool hit = static_cast<double>(y) < value;
        sink(x, y, value, hit);
        hits += hit ? 1 : 0;
    }
    return hits;
}

// The same samples a batch of points at a time. A value without a number stops the count where
// a point-by-point loop would, with the generator left just past that sample's two draws.
template <DrawSource Random, typename Sink>
std::int64_t countHitsBatched(PlainEvaluator f, double x1, double width, float ymax,
                              std::int64_t samples, Random& random, Sink sink) {
    constexpr int kMostInBatch = 8192;
    std::array<float, kMostInBatch> ys;
    std::array<double, kMostInBatch> values;
    const std::int64_t batch = std::min(f.capacity, kMostInBatch);
    std::int64_t hits = 0;
    for (std::int64_t done = 0; done < samples;) {
        const int n = static_cast<int>(std::min(batch, samples - done));
        const Random atStart = random;
        for (int i = 0; i < n; ++i) {
            f.variable[i] = static_cast<double>(random.next()) * width + x1;
            ys[i] = random.next() * ymax;
        }
        stopIfRequested();
        f.many(f.object, values.data(), n);
        for (int i = 0; i < n; ++i) {
            const double x = f.variable[i];
            if (!std::isfinite(values[i])) [[unlikely]] {
                random = atStart;
                for (int drawn = 0; drawn <= i; ++drawn) {
                    random.next();
                    random.next();
                }
                RuntimeError error(std::isnan(values[i]) ? Fault::InvalidOperation
                                                         : Fault::Overflow);
                error.setArgument(x);
                throw error;
            }
            const bool hit = static_cast<double>(ys[i]) < values[i];
            sink(x, ys[i], values[i], hit);
            hits += hit ? 1 : 0;
        }
        done += n;
    }
    return hits;
}

// The same samples for an integrand in plain doubles, with the faults the variants would raise:
// a non-finite x before its y is drawn, a non-finite value at its x.
template <DrawSource Random, typename Sink>
std::int64_t countHitsPlain(PlainEvaluator f, double x1, double width, float ymax,
                            std::int64_t samples, Random& random, Sink sink) {
    // With |x1| + |width| a double, no x = r * width + x1 (r < 1) can overflow.
    const bool xMayOverflow = !std::isfinite(std::fabs(x1) + std::fabs(width));
    if (f.many != nullptr && !xMayOverflow) {
        return countHitsBatched(f, x1, width, ymax, samples, random, sink);
    }
    std::int64_t hits = 0;
    for (std::int64_t k = 1; k <= samples; ++k) {
        const double x = static_cast<double>(random.next()) * width + x1;
        if (xMayOverflow && !std::isfinite(x)) [[unlikely]] {
            throw RuntimeError(Fault::Overflow);
        }
        const float y = random.next() * ymax;
        const double value = f(x);
        if (!std::isfinite(value)) [[unlikely]] {
            RuntimeError error(std::isnan(value) ? Fault::InvalidOperation : Fault::Overflow);
            error.setArgument(x);
            throw error;
        }
        const bool hit = static_cast<double>(y) < value;
        sink(x, y, value, hit);
        hits += hit ? 1 : 0;
    }
    return hits;
}

template <DrawSource Random, typename Sink>
Variant countHitsTyped(Integrand f, double x1, double width, float ymax, std::int64_t samples,
                       Random& random, Sink sink) {
    if (const std::optional<Formula> formula = f.formula()) {
        return countAsVariant(withFormula(*formula, [&](auto chosen) {
            return countHitsKernel<decltype(chosen)::value>(x1, width, ymax, samples, random, sink);
        }));
    }
    if (const std::optional<PlainEvaluator> plain = f.plain()) {
        return countAsVariant(countHitsPlain(*plain, x1, width, ymax, samples, random, sink));
    }
    std::int64_t hits = 0;
    for (std::int64_t k = 1; k <= samples; ++k) {
        // |draw| < 1, so only the sum with x1 can overflow.
        const Variant x = Variant::real(static_cast<double>(random.next()) * width + x1);
        const float y = random.next() * ymax;
        const double value = f(x).toDouble();
        const bool hit = static_cast<double>(y) < value;
        sink(x.toDouble(), y, value, hit);
        hits += hit ? 1 : 0;
    }
    return countAsVariant(hits);
}

template <DrawSource Random, typename Sink>
Variant countHitsVariant(Integrand f, const Variant& x1, const Variant& width, const Variant& ymax,
                         std::int64_t samples, Random& random, Sink sink) {
    const Variant one = Variant::integer(1);
    Variant hits = Variant::integer(0);
    for (std::int64_t k = 1; k <= samples; ++k) {
        const Variant x = (Variant::single(random.next()) * width) + x1;
        const Variant y = Variant::single(random.next()) * ymax;
        const Variant value = f(x);
        const bool hit = y < value;
        sink(x.toDouble(), y.toDouble(), value.toDouble(), hit);
        if (hit) {
            hits = hits + one;
        }
    }
    return hits;
}

template <DrawSource Random, typename Sink>
Variant countHits(Integrand f, const Variant& x1, const Variant& width, const Variant& ymax,
                  std::int64_t samples, Random& random, Sink sink) {
    return typedPathHolds(x1, width, ymax)
               ? countHitsTyped(f, x1.toDouble(), width.toDouble(), ymax.toSingle(), samples,
                                random, sink)
               : countHitsVariant(f, x1, width, ymax, samples, random, sink);
}

}  // namespace detail

// Appends one row per sample count ("######" counter, "###.#####" estimate) and the summary
// of the last estimate. A fault propagates as RuntimeError with the rows made before it left
// in `panel` and no summary. `hits` ends holding the count of the last row (0 after a fault).
//
// The one-sigma uncertainty of a hit-or-miss estimate of N samples in a box of `area`:
// |area| sqrt(p (1 - p) / N) with p the share of hits; where none hit, or every one did, the
// samples show no spread, and it is half the rule of three's 95 % bound, |area| 1.5 / N.
inline double hitOrMissSigma(double area, std::int64_t hits, std::int64_t n) {
    const double count = static_cast<double>(n);
    const double p = static_cast<double>(hits) / count;
    return area != 0.0 && (hits == 0 || hits == n)
               ? std::fabs(area) * 1.5 / count
               : std::fabs(area) * std::sqrt(p * (1.0 - p) / count);
}

// Per sample, in this order: x = (r * (x2 - x1)) + x1 with the draw r widened to a double,
// then y = r' * ymax as a single product from the next draw, then a hit when y < f(x)
// strictly; a sample on the curve is a miss. The estimate is ((hits / N) * ymax) * (x2 - x1)
// in that order. x2 - x1 is the same for every sample, so it is formed once per row, before
// the row's first sample, where a fault in it would arise anyway. Rows share no draws.
// An observer hears of each row before its first draw, and of each sample if it wants them.
template <DrawSource Random>
void monteCarloTable(Integrand f, const Variant& x1, const Variant& x2, const Variant& ymax,
                     Variant& hits, Random& random, ResultsPanel& panel,
                     const SampleCounts& counts = {}, EvaluationObserver* observer = nullptr) {
    Variant estimate;
    const std::int64_t step = counts.step < 1 ? 1 : counts.step;
    // 64-bit so that a count near the top of the range cannot wrap the loop around.
    for (std::int64_t n = counts.first; n <= counts.last; n += step) {
        const Variant width = x2 - x1;
        hits = Variant::integer(0);
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        hits = observer != nullptr && observer->wantsEvaluations()
                   ? detail::countHits(f, x1, width, ymax, n, random, detail::SamplesTo{observer})
                   : detail::countHits(f, x1, width, ymax, n, random, detail::NoSamples{});
        estimate = ((hits / detail::countAsVariant(n)) * ymax) * width;
        panel.addRow(formatNumber(static_cast<double>(n), NumberPattern::Counter),
                     formatNumber(estimate.toDouble(), NumberPattern::Estimate),
                     {.counter = n,
                      .estimate = estimate.toDouble(),
                      .evaluations = n,
                      .hits = static_cast<std::int64_t>(hits.toDouble())});
    }
    panel.setSummary(estimate.toDouble());
}

}  // namespace integral
