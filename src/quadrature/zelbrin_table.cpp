// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/zelbrin_table.h"

#include <cmath>

#include "quadrature/node_within.h"

namespace integral {

// Each panel evaluates both its ends, so shared points are evaluated twice, and the sum is
// built as ((S + a) + 4b) + c panel by panel; h is ((x2 - x1) / n) / 2 and the next points
// come from x, not from x1. Any other grouping changes the last digits of the rows.
void zelbrinTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                  EvaluationObserver* observer) {
    const Variant two = Variant::integer(2);
    const Variant three = Variant::integer(3);
    const Variant four = Variant::integer(4);
    Variant sum;
    for (std::int16_t n = 2; n <= 20; n += 2) {
        const Variant panels = Variant::integer(n);
        sum = Variant::integer(0);
        const Variant h = ((x2 - x1) / panels) / two;
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        const double end = h.toDouble() / 3.0;
        const double middle = 4.0 * h.toDouble() / 3.0;
        const std::int16_t last = static_cast<std::int16_t>(2 * n - 2);
        for (std::int16_t i = 0; i <= last; i += 2) {
            const Variant x = x1 + Variant::integer(i) * h;
            const NodeValue a = valueWithin(f, x, x1, x2);
            const NodeValue b = valueWithin(f, x + h, x1, x2);
            const NodeValue c = valueWithin(f, x + h * two, x1, x2);
            if (observer != nullptr) {
                const double denominator = 6.0 * n;
                const double count = 2.0 * n;
                observer->evaluatedOnGrid(a.x.toDouble(), a.value.toDouble(), end,
                                          {1.0, denominator}, {double(i), count});
                observer->evaluatedOnGrid(b.x.toDouble(), b.value.toDouble(), middle,
                                          {4.0, denominator}, {double(i + 1), count});
                observer->evaluatedOnGrid(c.x.toDouble(), c.value.toDouble(), end,
                                          {1.0, denominator}, {double(i + 2), count});
            }
            sum = ((sum + a.value) + b.value * four) + c.value;
        }
        sum = (sum * h) / three;
        panel.addRow(formatNumber(n, NumberPattern::Counter),
                     formatNumber(sum.toDouble(), NumberPattern::Estimate),
                     {.counter = n, .estimate = sum.toDouble(), .evaluations = 3 * n});
    }
    panel.setSummary(sum.toDouble());
}

RowFigures zelbrinAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    const std::int64_t last = 2 * n;
    const double h = (b - a) / static_cast<double>(last);
    double sum = 0.0;
    double coarseSum = 0.0;  // S_n/2's, on the points j = 0, 2, 4, ... with spacing 2h
    for (std::int64_t j = 0; j <= last; ++j) {
        const Variant x = Variant::real(j == last ? b : a + static_cast<double>(j) * h);
        const double value = valueWithin(f, x, x1, x2).value.toDouble();
        const bool end = j == 0 || j == last;
        sum += (end ? 1.0 : j % 2 == 1 ? 4.0 : 2.0) * value;
        if (j % 2 == 0) {
            coarseSum += (end ? 1.0 : j % 4 == 2 ? 4.0 : 2.0) * value;
        }
    }
    const double estimate = sum * h / 3.0;
    const double coarser = coarseSum * (2.0 * h) / 3.0;
    return {.counter = n,
            .estimate = estimate,
            .evaluations = last + 1,
            .ownError = std::fabs(estimate - coarser) * (1.0 / 15.0)};
}

}  // namespace integral
