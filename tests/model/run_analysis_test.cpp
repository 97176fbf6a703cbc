// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/run_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
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

// The observed order is what the numbers give: 4 for x sin x (4.02 at 6 panels, closer after),
// but 6 for 4/(x*x+1) on 0..1, where the leading error term cancels.
TEST(RunAnalysisTest, ObservedOrderOfTheParabolicRule) {
    const std::vector<std::pair<int, double>> cases = {{3, 4.0}, {1, 6.0}};
    for (const auto& [integrandRow, order] : cases) {
        SCOPED_TRACE(integrandRow + 1);
        const RunAnalysis analysis =
            analyse(runOf(Method::Zelbrin, integrandRow, 0, integrandRow == 3 ? 3 : 1));
        EXPECT_FALSE(analysis.rows[0].observedOrder.has_value());
        for (std::size_t row = 3; row < analysis.rows.size(); ++row) {
            ASSERT_TRUE(analysis.rows[row].observedOrder.has_value()) << row;
            EXPECT_NEAR(*analysis.rows[row].observedOrder, order, 0.02) << row;
        }
    }
}

// A box of height 3 under a curve that reaches 4: the estimates settle on the integral of the
// curve clipped to the box, 3 * 0.57735 + 4 (pi/4 - pi/6) = 2.7789, not on pi.
TEST(RunAnalysisTest, MonteCarloSigmaAndTheClippedLimit) {
    const MethodRun run = runOf(Method::MonteCarlo, 1, 0, 1, 3);
    const RunAnalysis analysis = analyse(run);
    ASSERT_TRUE(analysis.clipped.has_value());
    const double clipped =
        3 / std::sqrt(3.0) + 4 * (std::atan(1.0) - std::atan(1 / std::sqrt(3.0)));
    EXPECT_NEAR(analysis.clipped->value, clipped, 1e-6);
    EXPECT_NEAR(analysis.clipped->offExact, clipped - M_PI, 1e-6);
    const RowFigures& last = run.figures.back();
    const double p = static_cast<double>(last.hits) / 50000;
    EXPECT_DOUBLE_EQ(*analysis.rows.back().sigma, 3 * std::sqrt(p * (1 - p) / 50000));
    EXPECT_FALSE(analyse(runOf(Method::MonteCarlo, 1, 0, 1, 4)).clipped.has_value());
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
            std::vector<std::string> fields;
            std::istringstream cells(line);
            for (std::string field; std::getline(cells, field, '\t');) {
                fields.push_back(field);
            }
            lines.push_back(fields);
        }
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(info.rows) + 1);
        const std::size_t columns = info.method == Method::MonteCarlo ? 6 : 5;
        EXPECT_EQ(lines[0][0], "n");
        EXPECT_EQ(lines[0][3], "error");
        for (const auto& fields : lines) {
            EXPECT_EQ(fields.size(), columns);
        }
        EXPECT_EQ(lines[1][0], std::to_string(rowCounter(info.method, 0)));
        EXPECT_EQ(std::stod(lines[1][1]), run.figures[0].estimate);
    }
}

}  // namespace
}  // namespace integral
