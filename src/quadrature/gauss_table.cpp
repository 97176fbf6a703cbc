// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/gauss_table.h"

#include <boost/math/special_functions/legendre.hpp>
#include <cmath>
#include <vector>

#include "quadrature/node_within.h"
#include "quadrature/number_format.h"

namespace integral {

namespace {

struct NodeWeight {
    Variant node;
    Variant weight;
};

// The non-positive half of each set, most negative node first, as eight-digit decimals (not
// full precision: the weights of five and six nodes do not add up to exactly 2). The positive
// half is mirrored from these, so every set is exactly symmetric.
std::vector<NodeWeight> storedHalf(int m) {
    switch (m) {
        case 2:
            return {{Variant::real(-0.57735027), Variant::integer(1)}};
        case 3:
            return {{Variant::real(-std::sqrt(3.0 / 5.0)), Variant::real(5.0 / 9.0)},
                    {Variant::integer(0), Variant::real(8.0 / 9.0)}};
        case 4:
            return {{Variant::real(-0.86113631), Variant::real(0.34785485)},
                    {Variant::real(-0.33998105), Variant::real(0.65214515)}};
        case 5:
            return {{Variant::real(-0.90617985), Variant::real(0.23692689)},
                    {Variant::real(-0.53846931), Variant::real(0.47862867)},
                    {Variant::integer(0), Variant::real(0.56888889)}};
        case 6:
            return {{Variant::real(-0.93246951), Variant::real(0.17132449)},
                    {Variant::real(-0.66120939), Variant::real(0.36076157)},
                    {Variant::real(-0.23861919), Variant::real(0.46791393)}};
        default:
            return {};
    }
}

}  // namespace

void setGaussNodes(int m, VariantArray& node, VariantArray& weight) {
    const std::vector<NodeWeight> half = storedHalf(m);
    const int stored = static_cast<int>(half.size());
    for (int i = 1; i <= m; ++i) {
        const Variant index = Variant::integer(static_cast<std::int16_t>(i));
        if (i <= stored) {
            node[index] = half[i - 1].node;
            weight[index] = half[i - 1].weight;
        } else {
            const Variant mirror = Variant::integer(static_cast<std::int16_t>(m + 1 - i));
            node[index] = -node[mirror];
            weight[index] = weight[mirror];
        }
    }
}

// t = ((((x2 - x1) * node) + x2) + x1) / 2 and S = S + weight * f(t) from the most negative
// node up, then S * (x2 - x1) / 2: the grouping fixes the last digits of the rows.
void gaussTable(Integrand f, const Variant& x1, const Variant& x2, VariantArray& node,
                VariantArray& weight, ResultsPanel& panel, EvaluationObserver* observer) {
    const Variant two = Variant::integer(2);
    Variant sum;
    for (std::int16_t m = 2; m <= 6; ++m) {
        setGaussNodes(m, node, weight);
        if (observer != nullptr) {
            observer->rowStarted(m);
        }
        sum = Variant::integer(0);
        for (std::int16_t i = 1; i <= m; ++i) {
            const Variant index = Variant::integer(i);
            const Variant t = ((((x2 - x1) * node[index]) + x2) + x1) / two;
            const NodeValue value = valueWithin(f, t, x1, x2);
            if (observer != nullptr) {
                observer->evaluatedByRule(
                    value.x.toDouble(), value.value.toDouble(),
                    weight[index].toDouble() * (x2.toDouble() - x1.toDouble()) / 2.0,
                    {weight[index].toDouble(), 2.0});
            }
            sum = sum + (weight[index] * value.value);
        }
        sum = (sum * (x2 - x1)) / two;
        panel.addRow(plainText(Variant::integer(m)), plainText(sum),
                     {.counter = m, .estimate = sum.toDouble(), .evaluations = m});
    }
    panel.setSummary(sum.toDouble());
}

namespace {

// The m-point rule on -1..1, most negative node first.
struct Rule {
    std::vector<double> nodes;
    std::vector<double> weights;
};

Rule legendreRule(int m) {
    Rule rule;
    const std::vector<double> zeros = boost::math::legendre_p_zeros<double>(m);
    const auto weightAt = [m](double t) {
        const double slope = boost::math::legendre_p_prime(m, t);
        return 2.0 / ((1.0 - t * t) * slope * slope);
    };
    // The zeros come non-negative and rising, 0 first where m is odd.
    for (auto it = zeros.rbegin(); it != zeros.rend(); ++it) {
        if (*it != 0.0) {
            rule.nodes.push_back(-*it);
            rule.weights.push_back(weightAt(*it));
        }
    }
    for (const double t : zeros) {
        rule.nodes.push_back(t);
        rule.weights.push_back(weightAt(t));
    }
    return rule;
}

double composite(Integrand f, const Variant& x1, const Variant& x2, const Rule& rule,
                 std::int64_t panels) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    const double width = (b - a) / static_cast<double>(panels);
    double total = 0.0;
    for (std::int64_t p = 0; p < panels; ++p) {
        const double from = a + static_cast<double>(p) * width;
        const double to = p + 1 == panels ? b : a + static_cast<double>(p + 1) * width;
        const double middle = from + (to - from) / 2.0;
        const double half = (to - from) / 2.0;
        double sum = 0.0;
        for (std::size_t i = 0; i < rule.nodes.size(); ++i) {
            const Variant x = Variant::real(middle + half * rule.nodes[i]);
            sum += rule.weights[i] * valueWithin(f, x, x1, x2).value.toDouble();
        }
        total += sum * half;
    }
    return total;
}

}  // namespace

bool gaussSizeAllowed(std::int64_t n) {
    return n >= 2 && (n <= kGaussLargestRule || n % kGaussLargestRule == 0);
}

std::int64_t gaussEvaluations(std::int64_t n) {
    const std::int64_t panels = n <= kGaussLargestRule ? 1 : n / kGaussLargestRule;
    return n + (n - panels);
}

RowFigures gaussAt(Integrand f, const Variant& x1, const Variant& x2, std::int64_t n) {
    const std::int64_t panels = n <= kGaussLargestRule ? 1 : n / kGaussLargestRule;
    const int m = static_cast<int>(n / panels);
    const double estimate = composite(f, x1, x2, legendreRule(m), panels);
    const double fewer = composite(f, x1, x2, legendreRule(m - 1), panels);
    return {.counter = n,
            .estimate = estimate,
            .evaluations = gaussEvaluations(n),
            .ownError = std::fabs(estimate - fewer)};
}

}  // namespace integral
