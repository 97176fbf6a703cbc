// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/clenshaw_curtis_table.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "quadrature/node_within.h"
#include "quadrature/number_format.h"

namespace integral {

std::vector<double> clenshawCurtisWeights(int n) {
    std::vector<double> w(static_cast<std::size_t>(n) + 1, 0.0);
    const double nn = static_cast<double>(n) * n;
    w[0] = 1.0 / (nn - 1.0);
    w[n] = w[0];
    for (int j = 1; j < n; ++j) {
        const double theta = std::numbers::pi * j / n;
        double v = 1.0;
        for (int k = 1; k < n / 2; ++k) {
            v -= 2.0 * std::cos(2.0 * k * theta) / (4.0 * k * k - 1.0);
        }
        v -= std::cos(n * theta) / (nn - 1.0);
        w[j] = 2.0 * v / n;
    }
    return w;
}

namespace {

// C_n, each evaluation told to the observer, if there is one.
double clenshawCurtis(Integrand f, const Variant& x1, const Variant& x2, int n,
                      EvaluationObserver* observer) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    const double middle = a + (b - a) / 2;
    const double half = (b - a) / 2;
    const std::vector<double> w = clenshawCurtisWeights(n);
    double sum = 0.0;
    for (int j = 0; j <= n; ++j) {
        // The ends are the limits themselves; cos(j pi / n) would miss them by rounding.
        const double x = j == 0   ? b
                         : j == n ? a
                                  : middle + half * std::cos(std::numbers::pi * j / n);
        const NodeValue node = valueWithin(f, Variant::real(x), x1, x2);
        const double value = node.value.toDouble();
        if (observer != nullptr) {
            observer->evaluatedByRule(node.x.toDouble(), value, w[j] * half, {w[j], 2.0});
        }
        sum += w[j] * value;
    }
    return sum * half;
}

}  // namespace

void clenshawCurtisTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                         EvaluationObserver* observer) {
    double estimate = 0.0;
    for (int n = 2, row = 0; row < kChebyshevRows; ++row, n *= 2) {
        if (observer != nullptr) {
            observer->rowStarted(n);
        }
        estimate = clenshawCurtis(f, x1, x2, n, observer);
        panel.addRow(plainText(Variant::integer(static_cast<std::int16_t>(n))),
                     plainText(Variant::real(estimate)),
                     {.counter = n, .estimate = estimate, .evaluations = n + 1});
    }
    panel.setSummary(estimate);
}

RowFigures clenshawCurtisAt(Integrand f, const Variant& x1, const Variant& x2, int n) {
    const double estimate = clenshawCurtis(f, x1, x2, n, nullptr);
    const double coarser = clenshawCurtis(f, x1, x2, n / 2, nullptr);
    return {.counter = n,
            .estimate = estimate,
            .evaluations = (n + 1) + (n / 2 + 1),
            .ownError = std::fabs(estimate - coarser)};
}

}  // namespace integral
