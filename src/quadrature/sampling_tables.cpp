// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/sampling_tables.h"

#include <boost/random/sobol.hpp>
#include <vector>

#include "quadrature/number_format.h"

namespace integral {

namespace {

double valueAt(Integrand f, double x) {
    return f(Variant::real(x)).toDouble();
}

void addRow(ResultsPanel& panel, std::int64_t n, double estimate, double sigma,
            std::int64_t evaluations) {
    // A sigma that is not finite is no figure: the analysis shows none.
    const std::optional<double> known = std::isfinite(sigma) ? std::optional(sigma) : std::nullopt;
    panel.addRow(formatNumber(static_cast<double>(n), NumberPattern::Counter),
                 plainText(Variant::real(estimate)),
                 {.counter = n, .estimate = estimate, .evaluations = evaluations, .sigma = known});
}

// The sample counts of the rows: 2000, 4000, ..., 50000, or the one row asked for.
struct Counts {
    std::int64_t first;
    std::int64_t last;
};
Counts countsOf(std::int64_t onlyCounter) {
    return onlyCounter > 0 ? Counts{onlyCounter, onlyCounter} : Counts{2000, 50000};
}

}  // namespace

// Welford's running mean and sum of squared deviations: one pass, no cancellation of the
// squares of large values.
void meanValueTable(Integrand f, const Variant& x1, const Variant& x2, RandomGenerator& random,
                    ResultsPanel& panel, EvaluationObserver* observer, std::int64_t onlyCounter) {
    const double a = x1.toDouble();
    const double width = x2.toDouble() - a;
    double estimate = 0.0;
    const Counts counts = countsOf(onlyCounter);
    for (std::int64_t n = counts.first; n <= counts.last; n += 2000) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        double mean = 0.0;
        double squares = 0.0;
        for (std::int64_t k = 1; k <= n; ++k) {
            const double x = static_cast<double>(random.next()) * width + a;
            const double value = valueAt(f, x);
            if (observer != nullptr) {
                observer->evaluated(x, value, width / static_cast<double>(n));
            }
            const double delta = value - mean;
            mean += delta / static_cast<double>(k);
            squares += delta * (value - mean);
        }
        estimate = width * mean;
        const double variance = squares / static_cast<double>(n - 1);
        addRow(panel, n, estimate, std::fabs(width) * std::sqrt(variance / static_cast<double>(n)),
               n);
    }
    panel.setSummary(estimate);
}

void stratifiedTable(Integrand f, const Variant& x1, const Variant& x2, RandomGenerator& random,
                     ResultsPanel& panel, EvaluationObserver* observer, std::int64_t onlyCounter) {
    const double a = x1.toDouble();
    const double width = x2.toDouble() - a;
    double estimate = 0.0;
    const Counts counts = countsOf(onlyCounter);
    for (std::int64_t n = counts.first; n <= counts.last; n += 2000) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        const std::int64_t strata = n / 2;
        const double h = width / static_cast<double>(strata);
        double sum = 0.0;
        double differences = 0.0;
        for (std::int64_t j = 0; j < strata; ++j) {
            const double left = a + static_cast<double>(j) * h;
            const double first = left + static_cast<double>(random.next()) * h;
            const double second = left + static_cast<double>(random.next()) * h;
            const double f1 = valueAt(f, first);
            const double f2 = valueAt(f, second);
            if (observer != nullptr) {
                observer->evaluated(first, f1, h / 2);
                observer->evaluated(second, f2, h / 2);
            }
            sum += (f1 + f2) / 2;
            differences += (f1 - f2) * (f1 - f2);
        }
        estimate = sum * h;
        addRow(panel, n, estimate, std::fabs(h) / 2 * std::sqrt(differences), n);
    }
    panel.setSummary(estimate);
}

void sobolTable(Integrand f, const Variant& x1, const Variant& x2, RandomGenerator& random,
                ResultsPanel& panel, EvaluationObserver* observer, std::int64_t onlyCounter) {
    const double a = x1.toDouble();
    const double width = x2.toDouble() - a;
    double estimate = 0.0;
    // The rows' point counts, or the one asked for, of any size.
    std::vector<std::int64_t> counts;
    for (int row = 0; row < kSobolRows && onlyCounter <= 0; ++row) {
        counts.push_back(std::int64_t{1} << (7 + row));
    }
    if (onlyCounter > 0) {
        counts.push_back(onlyCounter);
    }
    for (const std::int64_t n : counts) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        // The first n points of the sequence, in [0, 1).
        boost::random::sobol sequence(1);
        std::vector<double> points(static_cast<std::size_t>(n));
        for (double& u : points) {
            u = std::ldexp(static_cast<double>(sequence()), -64);
        }
        std::vector<double> estimates;
        for (int shift = 0; shift < kSobolShifts; ++shift) {
            const double by = static_cast<double>(random.next());
            double sum = 0.0;
            for (const double u : points) {
                double shifted = u + by;
                shifted -= shifted >= 1.0 ? 1.0 : 0.0;
                const double x = shifted * width + a;
                const double value = valueAt(f, x);
                if (observer != nullptr) {
                    observer->evaluated(x, value, width / static_cast<double>(n * kSobolShifts));
                }
                sum += value;
            }
            estimates.push_back(width * sum / static_cast<double>(n));
        }
        double mean = 0.0;
        for (const double e : estimates) {
            mean += e;
        }
        mean /= kSobolShifts;
        double squares = 0.0;
        for (const double e : estimates) {
            squares += (e - mean) * (e - mean);
        }
        estimate = mean;
        const double spread = std::sqrt(squares / (kSobolShifts - 1));
        addRow(panel, n, estimate, spread / std::sqrt(static_cast<double>(kSobolShifts)),
               n * kSobolShifts);
    }
    panel.setSummary(estimate);
}

}  // namespace integral
