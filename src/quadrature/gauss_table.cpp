// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/gauss_table.h"

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

}  // namespace integral
