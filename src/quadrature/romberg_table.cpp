// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/romberg_table.h"

#include <cmath>
#include <cstdint>

#include "quadrature/node_within.h"
#include "quadrature/number_format.h"

namespace integral {

RombergTableau rombergTableau(const std::vector<double>& trapezoids) {
    RombergTableau table;
    for (std::size_t j = 0; j < trapezoids.size(); ++j) {
        std::vector<double> row = {trapezoids[j]};
        double power = 1.0;
        for (std::size_t m = 1; m <= j; ++m) {
            power *= 4.0;
            row.push_back(row[m - 1] + (row[m - 1] - table[j - 1][m - 1]) / (power - 1.0));
        }
        table.push_back(std::move(row));
    }
    return table;
}

std::vector<double> rombergTrapezoids(const std::vector<double>& values, double width) {
    if (values.size() < 2) {
        return {};
    }
    const std::size_t last = values.size() - 1;
    std::vector<double> trapezoids = {width * (values[0] + values[last]) / 2};
    for (std::size_t stride = last / 2, level = 1; stride >= 1; stride /= 2, ++level) {
        const double h = width / static_cast<double>(std::size_t{1} << level);
        double sum = 0.0;
        for (std::size_t i = stride; i < last; i += 2 * stride) {
            sum += values[i];
        }
        trapezoids.push_back(trapezoids.back() / 2 + h * sum);
    }
    return trapezoids;
}

namespace {

// The weights of R(k, k) on the 2^k + 1 points, in units of x2 - x1: the trapezoid weights of
// every level carried through the same extrapolation, so that a picture or the rounding
// analysis can see what each value counts for.
std::vector<double> rombergWeights(int k) {
    const std::size_t points = (std::size_t{1} << k) + 1;
    // level[j][m]: the weights of R(j, m), on the fine grid of 2^k subintervals.
    std::vector<std::vector<std::vector<double>>> level(k + 1);
    for (int j = 0; j <= k; ++j) {
        const std::size_t stride = std::size_t{1} << (k - j);
        const double width = 1.0 / static_cast<double>(std::size_t{1} << j);
        std::vector<double> trapezoid(points, 0.0);
        for (std::size_t i = 0; i < points; i += stride) {
            trapezoid[i] = (i == 0 || i + 1 == points) ? width / 2 : width;
        }
        level[j].push_back(std::move(trapezoid));
        double power = 1.0;
        for (int m = 1; m <= j; ++m) {
            power *= 4.0;
            std::vector<double> next(points);
            for (std::size_t i = 0; i < points; ++i) {
                next[i] = level[j][m - 1][i] +
                          (level[j][m - 1][i] - level[j - 1][m - 1][i]) / (power - 1.0);
            }
            level[j].push_back(std::move(next));
        }
    }
    return level[k][k];
}

// The row of level k: its values on the fine grid, in the order of x, where they were taken,
// and its tableau.
struct RombergRow {
    std::vector<double> values;
    std::vector<double> where;
    RombergTableau table;
};

// Each row starts from scratch: T(0) from the two ends, then the new midpoints of each level
// from the left. The estimate is R(k, k) of that row's own tableau.
RombergRow rombergRow(Integrand f, const Variant& x1, const Variant& x2, int k) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    const double width = b - a;
    const std::int64_t last = std::int64_t{1} << k;
    RombergRow row;
    row.values.resize(static_cast<std::size_t>(last) + 1);
    row.where.resize(row.values.size());
    const auto evaluate = [&](std::int64_t i) {
        const double x = i == last ? b : a + static_cast<double>(i) * (width / last);
        const NodeValue node = valueWithin(f, Variant::real(x), x1, x2);
        row.values[i] = node.value.toDouble();
        row.where[i] = node.x.toDouble();
    };
    // The points in the order the levels need them: both ends, then each level's new
    // midpoints from the left.
    evaluate(0);
    evaluate(last);
    for (int j = 1; j <= k; ++j) {
        const std::int64_t stride = last >> j;
        for (std::int64_t i = stride; i < last; i += 2 * stride) {
            evaluate(i);
        }
    }
    row.table = rombergTableau(rombergTrapezoids(row.values, width));
    return row;
}

}  // namespace

void rombergTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                  EvaluationObserver* observer) {
    const double width = x2.toDouble() - x1.toDouble();
    double estimate = 0.0;
    for (int k = 1; k <= kRombergLevels; ++k) {
        if (observer != nullptr) {
            observer->rowStarted(k);
        }
        const RombergRow row = rombergRow(f, x1, x2, k);
        const std::vector<double>& values = row.values;
        const std::vector<double>& where = row.where;
        const std::int64_t last = std::int64_t{1} << k;
        estimate = row.table.back().back();
        if (observer != nullptr) {
            const std::vector<double> weights = rombergWeights(k);
            for (std::size_t i = 0; i < values.size(); ++i) {
                observer->evaluatedByRule(where[i], values[i], weights[i] * width,
                                          {weights[i], 1.0});
            }
        }
        panel.addRow(plainText(Variant::integer(static_cast<std::int16_t>(k))),
                     plainText(Variant::real(estimate)),
                     {.counter = k, .estimate = estimate, .evaluations = last + 1});
    }
    panel.setSummary(estimate);
}

RowFigures rombergAt(Integrand f, const Variant& x1, const Variant& x2, int k) {
    const RombergRow row = rombergRow(f, x1, x2, k);
    const double estimate = row.table.back().back();
    const double before = row.table[row.table.size() - 2].back();
    return {.counter = k,
            .estimate = estimate,
            .evaluations = (std::int64_t{1} << k) + 1,
            .ownError = std::fabs(estimate - before)};
}

}  // namespace integral
