// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/run_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace integral {
namespace {

MethodRun runOf(Method method, int integrandRow, double lower, double upper, float height = 0) {
    Model model;
    model.chooseIntegrand(integrandRow);
    model.setLower(Variant::real(lower));
    model.setUpper(Variant::real(upper));
    model.setHeight(height);
    return model.run(method);
}

struct ErrorCase {
    std::string name;
    Method method;
    int integrandRow;
    double lower;
    double upper;
    std::size_t row;
    double error;  // to about four digits, computed apart from the program
};

// The errors a student should see, from the full-precision estimates: the 20-panel row of the
// parabolic rule is 1e-11 off where its five decimals show nothing, and Gauss with six nodes is
// worse than with five because the stored nodes carry eight digits.
TEST(RunAnalysisTest, ErrorsComeFromTheFullPrecisionEstimates) {
    const std::vector<ErrorCase> cases = {
        {"parabolic rule, x sin x on 0..3, 20 panels", Method::Zelbrin, 3, 0, 3, 9, 4.479e-7},
        {"parabolic rule, 4/(x*x+1) on 0..1, 20 panels", Method::Zelbrin, 1, 0, 1, 9, -9.69e-12},
        {"Gauss, 4/(x*x+1) on 0..1, 5 nodes", Method::Gauss, 1, 0, 1, 3, 1.14e-9},
        {"Gauss, 4/(x*x+1) on 0..1, 6 nodes", Method::Gauss, 1, 0, 1, 4, -7.39e-8},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RunAnalysis analysis = analyse(runOf(c.method, c.integrandRow, c.lower, c.upper));
        ASSERT_GT(analysis.rows.size(), c.row);
        ASSERT_TRUE(analysis.rows[c.row].error.has_value());
        EXPECT_NEAR(*analysis.rows[c.row].error, c.error, 1e-3 * std::fabs(c.error));
    }
}

struct OrderCase {
    std::string name;
    int integrandRow;
    double lower;
    double upper;
    double order;         // what every order shown must be
    double tolerance;     // and how close
    std::size_t shownAt;  // rows from here on show an order unless they are at rounding level
    std::size_t atLeast;  // orders shown in all
};

// The observed order is what the rule's own errors give, and never what rounding noise gives:
// 4 for x sin x, 6 for 4/(x*x+1) on 0..1, where the leading error term cancels; on 0..0.001 the
// errors fall to 1e-23, still a hundred times the rounding the rows carry, so every row shows
// an order; x*x - 2 is integrated exactly, so far from the origin no row's error is the rule's;
// 4/(x*x+1) on 100..101 nears the rounding after a few rows.
TEST(RunAnalysisTest, ObservedOrderOfTheParabolicRuleNeverFromNoise) {
    const std::vector<OrderCase> cases = {
        {"x sin x on 0..3", 3, 0, 3, 4.0, 0.02, 3, 7},
        {"4/(x*x+1) on 0..1", 1, 0, 1, 6.0, 0.02, 3, 7},
        {"x sin x on 0..0.001", 3, 0, 0.001, 4.0, 0.02, 2, 9},
        {"x*x - 2 on 1e8..1e8+1", 2, 1e8, 1e8 + 1, 0.0, 0.0, 10, 0},
        {"4/(x*x+1) on 100..101", 1, 100, 101, 4.0, 0.5, 1, 3},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RunAnalysis analysis =
            analyse(runOf(Method::Zelbrin, c.integrandRow, c.lower, c.upper));
        EXPECT_FALSE(analysis.rows[0].observedOrder.has_value());
        std::size_t shown = 0;
        for (std::size_t row = 1; row < analysis.rows.size(); ++row) {
            const RowAnalysis& r = analysis.rows[row];
            const bool noise = r.roundingLevel || analysis.rows[row - 1].roundingLevel;
            if (noise) {
                EXPECT_FALSE(r.observedOrder.has_value()) << row;
                EXPECT_FALSE(r.errorRatio.has_value()) << row;
            }
            EXPECT_EQ(r.error.has_value(), !r.roundingLevel) << row;
            if (r.observedOrder && row >= c.shownAt) {
                EXPECT_NEAR(*r.observedOrder, c.order, c.tolerance) << row;
            }
            shown += r.observedOrder ? 1 : 0;
        }
        EXPECT_GE(shown, c.atLeast);
        if (c.atLeast == 0) {
            EXPECT_EQ(shown, 0u);
        }
    }
}

// "At the rounding level" only where the rule's own error is no larger than the rounding the
// row actually carries: x sin x on 0..0.001, rows of 18 and 20 panels, err by 1e-23 with a
// rounding of 1e-25; 4/(x*x+1) on a short interval keeps its order 4 to the last row. x sin x
// on 1e15..1e15+10, where the doubles are 0.125 apart: with 2, 4, 8, 10 or 20 panels every node
// is a double and the error is the rule's; with 6, 12, 14, 16 or 18 the doubles move the nodes,
// and what that costs, a per cent, is rounding like any other.
TEST(RunAnalysisTest, RoundingLevelOnlyWhereTheRuleErrorIsLostInTheRounding) {
    struct Case {
        const char* name;
        int integrandRow;
        double lower;
        double upper;
        std::size_t fromRow;                         // no row from here on is flagged
        bool ordersOfFour;                           // and their orders are 4
        std::vector<std::size_t> roundingRows = {};  // but these, whose nodes rounding moved
    };
    for (const Case& c : std::vector<Case>{
             {"x sin x on 0..0.001", 3, 0, 0.001, 1, false},
             {"4/(x*x+1) near 3.8", 1, 3.7844510007784784, 3.842997069192238, 7, true},
             {"x sin x at 1e15", 3, 1e15, 1.00000000000001e15, 0, false, {2, 5, 6, 7, 8}}}) {
        SCOPED_TRACE(c.name);
        const RunAnalysis analysis =
            analyse(runOf(Method::Zelbrin, c.integrandRow, c.lower, c.upper));
        for (std::size_t row = c.fromRow; row < analysis.rows.size(); ++row) {
            const RowAnalysis& r = analysis.rows[row];
            if (std::find(c.roundingRows.begin(), c.roundingRows.end(), row) !=
                c.roundingRows.end()) {
                EXPECT_TRUE(r.roundingLevel) << row;
                continue;
            }
            EXPECT_FALSE(r.roundingLevel) << row;
            ASSERT_TRUE(r.methodError && r.roundingError) << row;
            EXPECT_GT(std::fabs(*r.methodError), std::fabs(*r.roundingError)) << row;
            // The split adds up: error = the rule's error + the rounding (to the exact value's
            // own rounding).
            EXPECT_NEAR(*r.error, *r.methodError + *r.roundingError,
                        std::numeric_limits<double>::epsilon() * std::fabs(*analysis.exact))
                << row;
            if (c.ordersOfFour && row > c.fromRow) {
                ASSERT_TRUE(r.observedOrder.has_value()) << row;
                EXPECT_NEAR(*r.observedOrder, 4.0, 0.1) << row;
            }
        }
    }
}

// Integrand 5 on -3..3 reaches 3.99, far above a box of height 2.0148: the estimates settle on
// the box's area times the share of it below the curve, and each row lies within a few sigma
// of that limit, though some twenty sigma from the exact integral. A box below the axis counts
// every sample under a curve that stays above it, so the estimates settle on its area, -6.
// A box holding x*Exp(-x) on 0..1 converges to the exact value itself.
TEST(RunAnalysisTest, MonteCarloRowsAreJudgedAgainstTheirLimit) {
    const RunAnalysis low = analyse(runOf(Method::MonteCarlo, 4, -3, 3, 2.0148f));
    ASSERT_TRUE(low.limit.has_value());
    ASSERT_TRUE(low.exact.has_value());
    EXPECT_FALSE(low.limit->holdsCurve);
    ASSERT_TRUE(low.limit->offExact.has_value());
    EXPECT_NEAR(*low.limit->offExact, low.limit->value - *low.exact, 1e-12);
    EXPECT_LT(*low.limit->offExact, -0.5);
    ASSERT_EQ(low.rows.size(), 25u);
    for (const RowAnalysis& row : low.rows) {
        ASSERT_TRUE(row.sigmasFromLimit.has_value());
        EXPECT_LT(std::fabs(*row.sigmasFromLimit), 4.0) << row.counter;
    }
    EXPECT_GT(std::fabs(*low.rows.back().error / *low.rows.back().sigma), 10.0);

    const RunAnalysis below = analyse(runOf(Method::MonteCarlo, 4, -3, 3, -1.0f));
    ASSERT_TRUE(below.limit.has_value());
    EXPECT_NEAR(below.limit->value, -6.0, 1e-9);
    EXPECT_FALSE(below.limit->holdsCurve);

    const RunAnalysis held = analyse(runOf(Method::MonteCarlo, 0, 0, 1, 1.0f));
    ASSERT_TRUE(held.limit.has_value());
    EXPECT_TRUE(held.limit->holdsCurve);
    EXPECT_EQ(held.limit->value, *held.exact);
    EXPECT_FALSE(held.limit->offExact.has_value());
}

// Sigma is the binomial spread of the hits scaled by the box, |area| sqrt(p(1-p)/N), and the
// distance counts from the limit to the row, so a row above its limit is that many sigma up.
// A row with no hit, or all hits, has no spread to measure: the rule of three gives its sigma.
TEST(RunAnalysisTest, MonteCarloSigmaAndDistanceFromTheirFormulas) {
    const MethodRun run = runOf(Method::MonteCarlo, 0, 0, 2, 0.5f);
    const RunAnalysis analysis = analyse(run);
    ASSERT_TRUE(analysis.limit.has_value());
    for (std::size_t i = 0; i < analysis.rows.size(); i += 6) {
        const RowAnalysis& row = analysis.rows[i];
        const double n = static_cast<double>(run.figures[i].counter);
        const double p = static_cast<double>(run.figures[i].hits) / n;
        ASSERT_TRUE(row.sigma && row.sigmasFromLimit);
        EXPECT_FALSE(row.sigmaFromRuleOfThree);
        EXPECT_DOUBLE_EQ(*row.sigma, 0.5 * 2 * std::sqrt(p * (1 - p) / n)) << row.counter;
        EXPECT_DOUBLE_EQ(*row.sigmasFromLimit, (row.estimate - analysis.limit->value) / *row.sigma)
            << row.counter;
    }
    // Integrand 5 on 4..6 under a box of 1: hardly a sample hits, the estimate is 0 and the
    // limit 3.2e-4, which the rule of three's sigma keeps within reach.
    const RunAnalysis tail = analyse(runOf(Method::MonteCarlo, 4, 4, 6, 1.0f));
    ASSERT_TRUE(tail.limit.has_value());
    std::size_t ruleOfThree = 0;
    for (const RowAnalysis& row : tail.rows) {
        ASSERT_TRUE(row.sigma.has_value());
        EXPECT_GT(*row.sigma, 0.0) << row.counter;
        if (row.sigmaFromRuleOfThree) {
            ++ruleOfThree;
            EXPECT_DOUBLE_EQ(*row.sigma, 2.0 * 1.5 / static_cast<double>(row.counter));
        }
        ASSERT_TRUE(row.sigmasFromLimit.has_value());
        EXPECT_LT(std::fabs(*row.sigmasFromLimit), 5.0) << row.counter;
    }
    EXPECT_GT(ruleOfThree, 0u);
}

// Whatever the inputs, no figure is infinite or NaN: a box whose area overflows has no sigma,
// and a run whose exact value is beyond the doubles has no errors.
// The slope of log |error| against log N and its standard error, as a statistics text computes
// them; rows without an error, or with an error of 0, do not count, and three are needed.
TEST(RunAnalysisTest, AFittedSlopeSaysHowWellItIsKnown) {
    struct Case {
        std::vector<std::pair<std::int64_t, double>> rows;  // N and the error
        std::optional<double> slope;
        double standardError;
    };
    const auto powerLaw = [](double p) {
        std::vector<std::pair<std::int64_t, double>> rows;
        for (std::int64_t n = 2000; n <= 50000; n += 2000) {
            rows.emplace_back(n, 3.0 * std::pow(static_cast<double>(n), p));
        }
        return rows;
    };
    for (const Case& c : std::vector<Case>{
             {powerLaw(-0.5), -0.5, 0.0},
             {powerLaw(-1.0), -1.0, 0.0},
             {{{1, 1.0}, {10, -0.2}, {100, 0.012}, {1000, -0.0011}},
              -1.0097670694141683,
              0.0732718475179909},
             // an error of 0 and a missing one leave three rows
             {{{1, 1.0}, {10, 0.0}, {100, 0.012}, {1000, -0.0011}, {5, NAN}},
              -0.9825177152371054,
              0.01914638256941344},
             {{{1, 1.0}, {100, 0.012}}, std::nullopt, 0.0},
         }) {
        std::vector<RowAnalysis> rows;
        for (const auto& [n, error] : c.rows) {
            RowAnalysis row;
            row.counter = n;
            if (!std::isnan(error)) {
                row.error = error;
            }
            rows.push_back(row);
        }
        const std::optional<SlopeFit> fit = errorSlope(rows);
        SCOPED_TRACE(c.rows.size());
        ASSERT_EQ(fit.has_value(), c.slope.has_value());
        if (fit) {
            EXPECT_NEAR(fit->slope, *c.slope, 1e-12);
            EXPECT_NEAR(fit->standardError, c.standardError, 1e-12);
        }
    }
}

TEST(RunAnalysisTest, NoFigureIsEverInfiniteOrNaN) {
    const auto finiteOrNothing = [](const std::optional<double>& v) {
        return !v || std::isfinite(*v);
    };
    const std::vector<MethodRun> runs = {
        runOf(Method::MonteCarlo, 0, 0, 1e308, 2.77f),
        runOf(Method::MonteCarlo, 3, -1.7e308, 1.7e308, 1e30f),
        runOf(Method::Zelbrin, 2, -1e200, 1e200),
        runOf(Method::Gauss, 3, 0, 1.7e308),
    };
    for (const MethodRun& run : runs) {
        const RunAnalysis analysis = analyse(run);
        EXPECT_TRUE(finiteOrNothing(analysis.exact));
        for (const RowAnalysis& row : analysis.rows) {
            for (const auto& figure : {row.roundingCarried, row.roundingError, row.methodError,
                                       row.error, row.relativeError, row.errorRatio,
                                       row.observedOrder, row.sigma, row.sigmasFromLimit}) {
                EXPECT_TRUE(finiteOrNothing(figure)) << row.counter;
            }
        }
    }
    EXPECT_FALSE(analyse(runs[0]).rows[0].sigma.has_value());
}

// Pasted into a spreadsheet, the copied table has a header and one line per row, with the same
// number of fields on every line.
TEST(RunAnalysisTest, TableAsTabSeparatedText) {
    for (const MethodInfo& info : kMethods) {
        SCOPED_TRACE(std::string(info.caption));
        const MethodRun run = runOf(info.method, 1, 0, 1, 4);
        std::istringstream text(tableAsTsv(analyse(run), info.method, true));
        std::vector<std::vector<std::string>> lines;
        for (std::string line; std::getline(text, line);) {
            // Every tab separates two fields, an empty last one included.
            std::vector<std::string> fields(1);
            for (const char c : line) {
                if (c == '\t') {
                    fields.emplace_back();
                } else {
                    fields.back() += c;
                }
            }
            lines.push_back(fields);
        }
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(info.rows) + 1);
        const std::size_t columns = methodOf(info.method).statistical() ? 16 : 13;
        EXPECT_EQ(lines[0][0], "n");
        EXPECT_EQ(lines[0][5], "error");
        for (const auto& fields : lines) {
            EXPECT_EQ(fields.size(), columns);
        }
        EXPECT_EQ(lines[1][0], std::to_string(rowCounter(info.method, 0)));
        EXPECT_EQ(std::stod(lines[1][1]), run.figures[0].estimate);
    }
}

}  // namespace
}  // namespace integral
