// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/newton_cotes_tables.h"

#include <cmath>
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

namespace {

// A node of a composite rule: where it lies and its coefficient, in units of h.
struct Node {
    double x;
    double coefficient;
};

// The rows of a composite rule on n = 2, 4, ..., 1024 subintervals of width h, with `nodes(n)`
// nodes placed by `node(i, n, h)`; the sum runs from the left. A coefficient of 1/2 scales
// exactly, so the trapezoid's halved ends are summed as the rule writes them.
template <typename Count, typename Place>
void compositeTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                    EvaluationObserver* observer, Count nodes, Place node) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    double estimate = 0.0;
    for (std::int64_t n = kFirstSubintervals, row = 0; row < kSubintervalRows; ++row, n *= 2) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        const double h = (b - a) / static_cast<double>(n);
        double sum = 0.0;
        for (std::int64_t i = 0; i < nodes(n); ++i) {
            const Node placed = node(i, n, a, b, h);
            double where = placed.x;
            const double value = valueAt(f, placed.x, x1, x2, where);
            if (observer != nullptr) {
                observer->evaluatedByRule(where, value, placed.coefficient * h,
                                          {placed.coefficient, static_cast<double>(n)});
            }
            sum += placed.coefficient * value;
        }
        estimate = sum * h;
        addRow(panel, n, estimate, nodes(n));
    }
    panel.setSummary(estimate);
}

}  // namespace

void trapezoidTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                    EvaluationObserver* observer) {
    compositeTable(
        f, x1, x2, panel, observer, [](std::int64_t n) { return n + 1; },
        [](std::int64_t i, std::int64_t n, double a, double b, double h) {
            // The last node is x2 itself, not x1 plus n steps.
            const bool end = i == 0 || i == n;
            return Node{i == n ? b : a + static_cast<double>(i) * h, end ? 0.5 : 1.0};
        });
}

void midpointTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                   EvaluationObserver* observer) {
    compositeTable(
        f, x1, x2, panel, observer, [](std::int64_t n) { return n; },
        [](std::int64_t i, std::int64_t, double a, double, double h) {
            return Node{a + (static_cast<double>(i) + 0.5) * h, 1.0};
        });
}

RowFigures trapezoidAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    const double h = (b - a) / static_cast<double>(n);
    // Node 2i of n is node i of n/2 to the bit: 2h is (b - a) / (n/2) rounded, and (2i) h is
    // i (2h) rounded. Both sums run from the left, as the table's rows do.
    double sum = 0.0;
    double halfSum = 0.0;
    for (std::int64_t i = 0; i <= n; ++i) {
        double where = 0.0;
        const double value = valueAt(f, i == n ? b : a + static_cast<double>(i) * h, x1, x2, where);
        const double coefficient = i == 0 || i == n ? 0.5 : 1.0;
        sum += coefficient * value;
        if (i % 2 == 0) {
            halfSum += coefficient * value;
        }
    }
    const double estimate = sum * h;
    const double coarser = halfSum * (2.0 * h);
    return {.counter = n,
            .estimate = estimate,
            .evaluations = n + 1,
            .ownError = std::fabs(estimate - coarser) * (1.0 / 3.0)};
}

RowFigures midpointAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    const auto rule = [&](std::int64_t count) {
        const double h = (b - a) / static_cast<double>(count);
        double sum = 0.0;
        for (std::int64_t i = 0; i < count; ++i) {
            double where = 0.0;
            sum += valueAt(f, a + (static_cast<double>(i) + 0.5) * h, x1, x2, where);
        }
        return sum * h;
    };
    const double estimate = rule(n);
    const double coarser = rule(n / 2);
    return {.counter = n,
            .estimate = estimate,
            .evaluations = n + n / 2,
            .ownError = std::fabs(estimate - coarser) * (1.0 / 3.0)};
}

}  // namespace integral
