// SPDX-License-Identifier: GPL-3.0-or-later
// The rules set beside the window's three: each row against the same rule evaluated apart in
// 50-digit arithmetic on its exact nodes (mpmath), the orders they are known for, and adaptive
// Simpson's tolerance kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/row_replay.h"
#include "model/run_analysis.h"
#include "quadrature/adaptive_simpson_table.h"
#include "quadrature/clenshaw_curtis_table.h"
#include "quadrature/romberg_table.h"
#include "runtime/variant_array.h"
#include "support/scripted.h"
#include "support/typed.h"

namespace integral {
namespace {

MethodRun runOf(Method method, int integrandRow, double lower, double upper) {
    Model model;
    model.chooseIntegrand(integrandRow);
    model.setLower(Variant::real(lower));
    model.setUpper(Variant::real(upper));
    return model.run(method);
}

struct RuleCase {
    Method method;
    int integrandRow;
    double lower;
    double upper;
    int counter;
    double expected;  // the rule in 50-digit arithmetic, to 25 digits
};

TEST(RuleTablesTest, RowsAreTheRuleToTheRoundingOfADouble) {
    const std::vector<RuleCase> cases = {
        {Method::Trapezoid, 1, 0, 1, 2, 3.1},
        {Method::Trapezoid, 1, 0, 1, 16, 3.140941612041388894646346},
        {Method::Trapezoid, 1, 0, 1, 1024, 3.141592494644073837422698},
        {Method::Trapezoid, 3, 0, 3, 2, 2.561883737993823719345553},
        {Method::Trapezoid, 3, 0, 3, 64, 3.1105795015087871748526},
        {Method::Midpoint, 1, 0, 1, 2, 3.162352941176470588235294},
        {Method::Midpoint, 1, 0, 1, 16, 3.141918174308559971765899},
        {Method::Midpoint, 1, 0, 1, 1024, 3.14159273306265293898181},
        {Method::Midpoint, 3, 0, 3, 4, 3.178391149603807411037578},
        {Method::Midpoint, 3, 0, 3, 128, 3.111162246204483939294367},
        {Method::Romberg, 1, 0, 1, 1, 3.133333333333333333333333},
        {Method::Romberg, 1, 0, 1, 3, 3.141585783761873843733593},
        {Method::Romberg, 1, 0, 1, 6, 3.141592653589722282596945},
        {Method::Romberg, 3, 0, 3, 2, 3.109967678154018026808469},
        {Method::Romberg, 3, 0, 3, 5, 3.111097497861683900092856},
        {Method::ClenshawCurtis, 1, 0, 1, 2, 3.133333333333333333333333},
        {Method::ClenshawCurtis, 1, 0, 1, 4, 3.141356932153392330383481},
        {Method::ClenshawCurtis, 1, 0, 1, 8, 3.141592650276963680434246},
        {Method::ClenshawCurtis, 3, 0, 3, 4, 3.111562541543897093137743},
        {Method::ClenshawCurtis, 3, 0, 3, 16, 3.111097497861203593917828},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(std::string(methodInfo(c.method).name) + " " + std::to_string(c.counter));
        const MethodRun run = runOf(c.method, c.integrandRow, c.lower, c.upper);
        ASSERT_FALSE(run.fault.has_value());
        ASSERT_EQ(run.figures.size(), static_cast<std::size_t>(methodInfo(c.method).rows));
        const std::optional<int> row = rowOfCounter(c.method, c.counter);
        ASSERT_TRUE(row.has_value());
        EXPECT_NEAR(run.figures[*row].estimate, c.expected, 1e-14 * std::fabs(c.expected));
        EXPECT_EQ(run.summary,
                  "S = " + formatNumber(run.figures.back().estimate, NumberPattern::Summary));
    }
}

// The rules at any size: at the tables' counts their rows bit for bit, with the tables' own
// error estimate; elsewhere the same rule in 50-digit arithmetic on the same nodes (mpmath);
// and the evaluations they count are the calls of f they make.
TEST(RuleTablesTest, EveryRuleRunsAtAnySize) {
    struct Sized {
        Method method;
        std::int64_t n;
        double expected;  // on 0..1, the rule in 50-digit arithmetic; 0: a table's row
        std::string_view function = {};  // typed; none: 4/(x*x+1)
    };
    const std::vector<Sized> cases = {
        {Method::Trapezoid, 2, 0},
        {Method::Trapezoid, 16, 0},
        {Method::Trapezoid, 1024, 0},
        {Method::Midpoint, 4, 0},
        {Method::Midpoint, 512, 0},
        {Method::Romberg, 1, 0},
        {Method::Romberg, 10, 0},
        {Method::ClenshawCurtis, 4, 0},
        {Method::ClenshawCurtis, 256, 0},
        {Method::Trapezoid, 6, 3.136963066471263245592041},
        {Method::Trapezoid, 1000, 3.141592486923126547316376},
        {Method::Midpoint, 10, 3.142425985001097977531653},
        {Method::Midpoint, 3000, 3.141592662849052535632318},
        {Method::ClenshawCurtis, 12, 3.141592653605572339307524},
        {Method::ClenshawCurtis, 100, 3.14159265358979319969648},
        {Method::Romberg, 12, 3.141592653589793238462643},
        {Method::Zelbrin, 6, 3.141592640305379804414347},
        {Method::Zelbrin, 100, 3.141592653589792618422964},
        {Method::Zelbrin, 10, 0.6657590079999167459901508, "sqrt(x)"},
        {Method::Gauss, 2, 3.14754098360655737704918},
        {Method::Gauss, 7, 3.141592656253749547166988},
        {Method::Gauss, 13, 0.6667086369396868894857287, "sqrt(x)"},
        {Method::Gauss, 40, 0.6666708972831102262427166, "sqrt(x)"},
        {Method::Gauss, 200, 0.6666670450645048477712429, "sqrt(x)"},
    };
    for (const Sized& c : cases) {
        SCOPED_TRACE(std::string(methodInfo(c.method).name) + " " + std::to_string(c.n));
        Model model;
        if (c.function.empty()) {
            model.chooseIntegrand(1);
        } else {
            model.chooseExpression(test::parsed(c.function));
        }
        model.setLower(Variant::real(0));
        model.setUpper(Variant::real(1));
        const Model::SizedRun sized = model.runAt(c.method, c.n);
        ASSERT_TRUE(sized.row.has_value());
        const RowFigures& row = *sized.row;
        EXPECT_EQ(row.evaluations, methodOf(c.method).sizes()->evaluations(c.n));
        ASSERT_TRUE(row.ownError.has_value());
        if (c.expected != 0) {
            EXPECT_NEAR(row.estimate, c.expected, 1e-14 * c.expected);
            continue;
        }
        const MethodRun table = runOf(c.method, 1, 0, 1);
        const std::optional<int> at = rowOfCounter(c.method, c.n);
        ASSERT_TRUE(at.has_value());
        EXPECT_EQ(row.estimate, table.figures[*at].estimate);
        if (*at > 0 && c.method != Method::Romberg) {
            // The table's own estimate from its row before, which is the row for n/2.
            EXPECT_EQ(row.ownError, methodOf(c.method).estimatedError(table.figures, *at));
        }
    }
    // Every call of f is counted, for every method that runs at any size.
    for (const MethodInfo& info : kMethods) {
        const std::optional<MethodSizes> sizes = methodOf(info.method).sizes();
        if (!sizes) {
            continue;
        }
        SCOPED_TRACE(std::string(info.name));
        test::RecordingIntegrand f{Variant::real(0.5), {}};
        Variant hits;
        VariantArray node(0, 10);
        VariantArray weight(0, 10);
        RandomGenerator random;
        MethodState state{Variant::real(0), Variant::real(1), Variant::single(1.0f), &hits, &node,
                          &weight,          &random};
        for (const std::int64_t multiple : {12, 60}) {
            const std::int64_t n = std::min<std::int64_t>(sizes->largest, multiple * sizes->step);
            f.calls.clear();
            const RowFigures row = methodOf(info.method).runAt(Integrand(f), state, n);
            EXPECT_EQ(static_cast<std::int64_t>(f.calls.size()), row.evaluations) << n;
            if (sizes->evaluations != nullptr) {
                EXPECT_EQ(row.evaluations, sizes->evaluations(n)) << n;
            }
        }
    }
}

// A rule's own error at size n is its estimate against the same rule at a smaller size, times
// the factor its order gives: Richardson's 1/3 for order 2, 1/15 for the parabolic rule's 4, 1
// where the smaller rule's error dominates. The smaller rule's points, shared or its own, give
// its estimate to the bit.
TEST(RuleTablesTest, EveryRuleEstimatesItsErrorFromASmallerSize) {
    struct Pair {
        Method method;
        std::int64_t n;
        std::int64_t smaller;
        double factor;
    };
    const std::vector<Pair> pairs = {
        {Method::Trapezoid, 40, 20, 1.0 / 3.0},
        {Method::Midpoint, 42, 21, 1.0 / 3.0},
        {Method::Zelbrin, 20, 10, 1.0 / 15.0},
        {Method::Zelbrin, 6, 3, 1.0 / 15.0},
        {Method::Gauss, 9, 8, 1.0},
        {Method::Gauss, 20, 19, 1.0},
        {Method::ClenshawCurtis, 16, 8, 1.0},
        {Method::Romberg, 5, 4, 1.0},
    };
    Model model;
    model.chooseExpression(test::parsed("sqrt(x)"));
    model.setLower(Variant::real(0));
    model.setUpper(Variant::real(1));
    for (const Pair& c : pairs) {
        SCOPED_TRACE(std::string(methodInfo(c.method).name) + " " + std::to_string(c.n));
        const RowFigures row = *model.runAt(c.method, c.n).row;
        const double smaller = model.runAt(c.method, c.smaller).row->estimate;
        ASSERT_TRUE(row.ownError.has_value());
        EXPECT_EQ(*row.ownError, std::fabs(row.estimate - smaller) * c.factor);
        EXPECT_GT(*row.ownError, 0.0);
    }
}

// Trapezoid and midpoint rules halve their error four times a row: order 2 on a smooth f,
// the midpoint's error half the trapezoid's and of the other sign. Clenshaw-Curtis on an
// analytic f falls faster than any power: 16 intervals already reach the rounding.
TEST(RuleTablesTest, OrdersOfTheRules) {
    for (const Method method : {Method::Trapezoid, Method::Midpoint}) {
        SCOPED_TRACE(std::string(methodInfo(method).name));
        const RunAnalysis analysis = analyse(runOf(method, 3, 0, 3));
        for (std::size_t row = 2; row < 8; ++row) {
            ASSERT_TRUE(analysis.rows[row].observedOrder.has_value()) << row;
            EXPECT_NEAR(*analysis.rows[row].observedOrder, 2.0, 0.02) << row;
        }
    }
    const RunAnalysis trapezoid = analyse(runOf(Method::Trapezoid, 1, 0, 1));
    const RunAnalysis midpoint = analyse(runOf(Method::Midpoint, 1, 0, 1));
    EXPECT_NEAR(*midpoint.rows[4].error / *trapezoid.rows[4].error, -0.5, 0.01);
    const RunAnalysis chebyshev = analyse(runOf(Method::ClenshawCurtis, 1, 0, 1));
    ASSERT_TRUE(chebyshev.rows[3].error.has_value());
    EXPECT_LT(std::fabs(*chebyshev.rows[3].error), 1e-14);
}

// Each tolerance is kept on a smooth f, at a cost that grows as the tolerance shrinks, and the
// rule's own estimate of its error is of the size of the true one.
TEST(RuleTablesTest, AdaptiveSimpsonKeepsItsTolerance) {
    const MethodRun run = runOf(Method::AdaptiveSimpson, 3, 0, 3);
    const RunAnalysis analysis = analyse(run);
    ASSERT_EQ(analysis.rows.size(), 12u);
    const double exact = *analysis.exact;
    for (std::size_t row = 0; row < analysis.rows.size(); ++row) {
        const double tolerance = std::pow(10.0, -static_cast<double>(row + 1)) * std::fabs(exact);
        EXPECT_LE(std::fabs(run.figures[row].estimate - exact), tolerance + 1e-14) << row;
        ASSERT_TRUE(analysis.rows[row].estimatedError.has_value());
        // Each panel accepted within its share of the tolerance: their estimates add up to it.
        EXPECT_LE(*analysis.rows[row].estimatedError, tolerance) << row;
        if (row > 0) {
            EXPECT_GE(run.figures[row].evaluations, run.figures[row - 1].evaluations) << row;
        }
    }
}

// Every method names its own error from its rows: two consecutive rows for the rules, 2 sigma
// for Monte Carlo; the first row of a rule that needs the one before has none.
TEST(RuleTablesTest, EveryMethodEstimatesItsOwnError) {
    for (const MethodInfo& info : kMethods) {
        SCOPED_TRACE(std::string(info.name));
        Model model;
        model.chooseIntegrand(1);
        model.setLower(Variant::real(0));
        model.setUpper(Variant::real(1));
        model.setHeight(4.0f);
        const AnalysedRun run = analysed(model.run(info.method));
        const std::vector<RowAnalysis>& rows = run.analysis.rows;
        ASSERT_FALSE(rows.empty());
        EXPECT_TRUE(rows.back().estimatedError.has_value());
        // No claim finer than the estimate is known: a few ulps of it, or the rounding it carries.
        for (const RowAnalysis& row : rows) {
            if (row.estimatedError) {
                EXPECT_GE(*row.estimatedError, 4 * 0x1p-52 * std::fabs(row.estimate))
                    << row.counter;
                EXPECT_GE(*row.estimatedError, row.roundingCarried.value_or(0.0)) << row.counter;
            }
        }
        if (methodOf(info.method).statistical()) {
            EXPECT_EQ(*rows[3].estimatedError, 2 * *rows[3].sigma);
        } else if (info.method != Method::AdaptiveSimpson) {
            EXPECT_FALSE(rows.front().estimatedError.has_value());
            EXPECT_EQ(*rows[2].estimatedError > 0.0, true);
        }
    }
    // Where the rows are in their asymptotic regime, a rule's Richardson estimate is its error:
    // (T_n - T_n/2) / 3 for the trapezoid and midpoint rules, order 4 for the parabolic rule.
    for (const Method method : {Method::Trapezoid, Method::Midpoint, Method::Zelbrin}) {
        SCOPED_TRACE(std::string(methodInfo(method).name));
        const RunAnalysis smooth = analyse(runOf(method, 3, 0, 3));
        for (std::size_t row = smooth.rows.size() - 3; row < smooth.rows.size(); ++row) {
            ASSERT_TRUE(smooth.rows[row].error && smooth.rows[row].estimatedError);
            EXPECT_NEAR(*smooth.rows[row].estimatedError / std::fabs(*smooth.rows[row].error), 1.0,
                        0.05)
                << row;
        }
    }
    // The parabolic rule: Richardson from rows of 2 and 4 panels, (S4 - S2) 2^4 / (4^4 - 2^4).
    const MethodRun zelbrin = runOf(Method::Zelbrin, 3, 0, 3);
    const RunAnalysis analysis = analyse(zelbrin);
    EXPECT_DOUBLE_EQ(
        *analysis.rows[1].estimatedError,
        std::fabs(zelbrin.figures[1].estimate - zelbrin.figures[0].estimate) * 16 / (256 - 16));
}

// Every deterministic row is the sum of its evaluations times the weights the pictures and the
// rounding split are given: Romberg's and adaptive Simpson's extrapolated weights, not those of
// the trapezoids or the parabolas under them.
TEST(RuleTablesTest, EachRowIsItsWeightedEvaluations) {
    for (const MethodInfo& info : kMethods) {
        if (methodOf(info.method).statistical()) {
            continue;
        }
        for (const auto& [integrand, upper] : {std::pair{1, 1.0}, std::pair{3, 3.0}}) {
            SCOPED_TRACE(std::string(info.name) + " on integrand " + std::to_string(integrand + 1));
            const MethodRun run = runOf(info.method, integrand, 0, upper);
            for (std::size_t row = 0; row < run.figures.size(); ++row) {
                const std::optional<RowPoints> points = replayRow(run, row);
                ASSERT_TRUE(points.has_value()) << row;
                double sum = 0.0;
                for (const EvaluationPoint& p : points->points) {
                    sum += p.weight * p.fx;
                }
                EXPECT_NEAR(sum, run.figures[row].estimate,
                            1e-13 * std::fabs(run.figures[row].estimate))
                    << "row " << row;
            }
        }
    }
}

// Clenshaw-Curtis weights on -1..1: positive, symmetric, adding up to 2; for n = 2 Simpson's
// 1/3, 4/3, 1/3.
TEST(RuleTablesTest, ClenshawCurtisWeights) {
    const std::vector<double> simpson = clenshawCurtisWeights(2);
    ASSERT_EQ(simpson.size(), 3u);
    EXPECT_DOUBLE_EQ(simpson[0], 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(simpson[1], 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(simpson[2], 1.0 / 3.0);
    for (int n = 4; n <= 256; n *= 2) {
        SCOPED_TRACE(n);
        const std::vector<double> w = clenshawCurtisWeights(n);
        double sum = 0.0;
        for (std::size_t j = 0; j < w.size(); ++j) {
            EXPECT_GT(w[j], 0.0);
            EXPECT_NEAR(w[j], w[w.size() - 1 - j], 1e-15);
            sum += w[j];
        }
        EXPECT_NEAR(sum, 2.0, 1e-13);
    }
}

// Romberg's trapezoid values from the finest grid, and its table: on f = x^3 over 0..1 (values
// i^3/8 on 9 points) T(0) = 1/2, T(1) = 5/16, T(2) = 17/64, T(3) = 65/256, and from R(1,1) on,
// Simpson and better, every extrapolation is 1/4 exactly.
TEST(RuleTablesTest, RombergTableFromTheFinestGrid) {
    std::vector<double> values;
    for (int i = 0; i <= 8; ++i) {
        values.push_back(i * i * i / 512.0);
    }
    const std::vector<double> trapezoids = rombergTrapezoids(values, 1.0);
    EXPECT_EQ(trapezoids, (std::vector<double>{0.5, 5.0 / 16, 17.0 / 64, 65.0 / 256}));
    const RombergTableau table = rombergTableau(trapezoids);
    ASSERT_EQ(table.size(), 4u);
    for (std::size_t j = 1; j < table.size(); ++j) {
        for (std::size_t m = 1; m <= j; ++m) {
            EXPECT_DOUBLE_EQ(table[j][m], 0.25) << j << "," << m;
        }
    }
}

// Adaptive Simpson spends its points where f changes: on sqrt(x) near 0 far more than on the
// rest; every row stays within its evaluation cap, and a fault stops the table with the rows
// made before it.
TEST(RuleTablesTest, AdaptiveSimpsonSpendsItsPointsWhereFChanges) {
    const IntegrandDescriptor f = test::typed("sqrt(x)");
    const AdaptiveSimpsonRow row = adaptiveSimpson(f, Variant::real(0), Variant::real(1), 8);
    std::size_t nearZero = 0;
    for (const AcceptedPanel& panel : row.panels) {
        nearZero += panel.to <= 0.01 ? 1 : 0;
    }
    EXPECT_GT(2 * nearZero, row.panels.size());
    EXPECT_LE(row.evaluations, 200000 + 2);
    EXPECT_NEAR(row.estimate, 2.0 / 3.0, 1e-6);

    const IntegrandDescriptor failing = test::typed("1/(x-0.5)");
    ResultsPanel panel;
    EXPECT_THROW(adaptiveSimpsonTable(failing, Variant::real(0), Variant::real(1), panel),
                 RuntimeError);
    EXPECT_FALSE(panel.summary().has_value());
}

}  // namespace
}  // namespace integral
