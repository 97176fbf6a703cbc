// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/newton_cotes_tables.h"

#include <cstdint>

#include "quadrature/node_within.h"
#include "quadrature/number_format.h"

namespace integral {

namespace {

double valueAt(Integrand f, double x, const Variant& x1, const Variant& x2, double& where) {
    const NodeValue node = valueWithin(f, Variant::real(x), x1, x2);
    where = node.x.toDouble();
    return node.value.toDouble();
}

void addRow(ResultsPanel& panel, std::int64_t n, double estimate, std::int64_t evaluations) {
    panel.addRow(plainText(Variant::longInteger(static_cast<std::int32_t>(n))),
                 plainText(Variant::real(estimate)),
                 {.counter = n, .estimate = estimate, .evaluations = evaluations});
}

}  // namespace

void trapezoidTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                    EvaluationObserver* observer) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    double estimate = 0.0;
    for (std::int64_t n = kFirstSubintervals, row = 0; row < kSubintervalRows; ++row, n *= 2) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        const double h = (b - a) / static_cast<double>(n);
        double sum = 0.0;
        for (std::int64_t i = 0; i <= n; ++i) {
            // The last node is x2 itself, not x1 plus n steps.
            const double x = i == n ? b : a + static_cast<double>(i) * h;
            double where = x;
            const double value = valueAt(f, x, x1, x2, where);
            const bool end = i == 0 || i == n;
            if (observer != nullptr) {
                observer->evaluatedByRule(where, value, (end ? 0.5 : 1.0) * h,
                                          {end ? 0.5 : 1.0, static_cast<double>(n)});
            }
            sum += end ? value / 2 : value;
        }
        estimate = sum * h;
        addRow(panel, n, estimate, n + 1);
    }
    panel.setSummary(estimate);
}

void midpointTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                   EvaluationObserver* observer) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    double estimate = 0.0;
    for (std::int64_t n = kFirstSubintervals, row = 0; row < kSubintervalRows; ++row, n *= 2) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        const double h = (b - a) / static_cast<double>(n);
        double sum = 0.0;
        for (std::int64_t i = 0; i < n; ++i) {
            const double x = a + (static_cast<double>(i) + 0.5) * h;
            double where = x;
            const double value = valueAt(f, x, x1, x2, where);
            if (observer != nullptr) {
                observer->evaluatedByRule(where, value, h, {1.0, static_cast<double>(n)});
            }
            sum += value;
        }
        estimate = sum * h;
        addRow(panel, n, estimate, n);
    }
    panel.setSummary(estimate);
}

}  // namespace integral
