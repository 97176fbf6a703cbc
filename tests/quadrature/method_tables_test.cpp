#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "integrands/integrand_catalogue.h"
#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "quadrature/zelbrin_table.h"
#include "runtime/text_to_number.h"

namespace integral {
namespace {

// The inputs of one table, as the window's members would hold them.
struct Inputs {
    Variant fnum;
    Variant x1;
    Variant x2;
    Variant ymax;
};

Variant I(std::int16_t v) {
    return Variant::integer(v);
}
Variant D(double v) {
    return Variant::real(v);
}
Variant S(float v) {
    return Variant::single(v);
}

enum class Method { Zelbrin, Gauss, MonteCarlo };

struct GaussNodes {
    VariantArray node = makeGaussArray();
    VariantArray weight = makeGaussArray();
};

struct TableRun {
    ResultsPanel panel;
    std::optional<Fault> fault;
};

TableRun run(Method method, const Inputs& in, RandomGenerator* shared = nullptr,
             GaussNodes* nodes = nullptr, Variant* hits = nullptr) {
    auto f = [&in](const Variant& x) { return evaluateIntegrand(in.fnum, x); };
    RandomGenerator ownRandom;
    GaussNodes ownNodes;
    Variant ownHits;
    TableRun result;
    try {
        switch (method) {
            case Method::Zelbrin:
                zelbrinTable(f, in.x1, in.x2, result.panel);
                break;
            case Method::Gauss:
                gaussTable(f, in.x1, in.x2, (nodes ? *nodes : ownNodes).node,
                           (nodes ? *nodes : ownNodes).weight, result.panel);
                break;
            case Method::MonteCarlo:
                monteCarloTable(f, in.x1, in.x2, in.ymax, hits ? *hits : ownHits,
                                shared ? *shared : ownRandom, result.panel);
                break;
        }
    } catch (const RuntimeError& error) {
        result.fault = error.fault();
    }
    return result;
}

std::vector<std::string> rowsWithEstimate(Method method, const std::string& estimate) {
    std::vector<std::string> rows;
    if (method == Method::Zelbrin) {
        for (int n = 2; n <= 20; n += 2) {
            rows.push_back(std::to_string(n) + "   " + estimate);
        }
    } else if (method == Method::Gauss) {
        for (int m = 2; m <= 6; ++m) {
            rows.push_back(std::to_string(m) + "   " + estimate);
        }
    } else {
        for (int n = 2000; n <= 50000; n += 2000) {
            rows.push_back(std::to_string(n) + "   " + estimate);
        }
    }
    return rows;
}

struct FixedCase {
    std::string name;
    Method method;
    Inputs inputs;
    std::vector<std::string> rows;
    std::string summary;
};

TEST(MethodTablesTest, TablesWithAFixedOutcome) {
    const std::vector<FixedCase> cases = {
        {"parabolic rule, 4/(x*x+1) on 0..1",
         Method::Zelbrin,
         {I(2), D(0), D(1), {}},
         {"2   3.14157", "4   3.14159", "6   3.14159", "8   3.14159", "10   3.14159",
          "12   3.14159", "14   3.14159", "16   3.14159", "18   3.14159", "20   3.14159"},
         "S = 3.14159"},
        {"parabolic rule is exact for x*x-2 on 0..3",
         Method::Zelbrin,
         {I(3), D(0), D(3), {}},
         rowsWithEstimate(Method::Zelbrin, "3."),
         "S = 3."},
        {"parabolic rule over an empty interval",
         Method::Zelbrin,
         {I(2), D(1), D(1), {}},
         rowsWithEstimate(Method::Zelbrin, "."),
         "S = 0."},
        {"parabolic rule with no integrand chosen",
         Method::Zelbrin,
         {{}, D(0), D(1), {}},
         rowsWithEstimate(Method::Zelbrin, "."),
         "S = 0."},
        {"Gauss, 4/(x*x+1) on 0..1",
         Method::Gauss,
         {I(2), D(0), D(1), {}},
         {"2   3.14754098343455", "3   3.14106813996317", "4   3.14161190444923",
          "5   3.14159265472983", "6   3.14159257971109"},
         "S = 3.14159"},
        {"Gauss, x*x-2 on 0..1",
         Method::Gauss,
         {I(3), D(0), D(1), {}},
         {"2   -1.66666666643273", "3   -1.66666666666667", "4   -1.66666666543329",
          "5   -1.66666667401558", "6   -1.6666666497777"},
         "S = -1.66667"},
        {"Gauss over an empty interval",
         Method::Gauss,
         {I(2), D(0.5), D(0.5), {}},
         rowsWithEstimate(Method::Gauss, "0"),
         "S = 0."},
        {"Gauss with no integrand chosen",
         Method::Gauss,
         {{}, D(0), D(1), {}},
         rowsWithEstimate(Method::Gauss, "0"),
         "S = 0."},
        {"Monte Carlo with no box height",
         Method::MonteCarlo,
         {I(2), D(0), D(1), {}},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo over an empty interval",
         Method::MonteCarlo,
         {I(2), D(1), D(1), S(4)},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo, curve below the axis",
         Method::MonteCarlo,
         {I(3), D(0), D(1), S(2.5f)},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo with no integrand chosen",
         Method::MonteCarlo,
         {{}, D(0), D(1), S(3)},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo, box wholly under the curve",
         Method::MonteCarlo,
         {I(2), D(0), D(1), S(1)},
         rowsWithEstimate(Method::MonteCarlo, "1."),
         "S = 1."},
    };
    for (const FixedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TableRun result = run(c.method, c.inputs);
        EXPECT_FALSE(result.fault.has_value());
        EXPECT_EQ(result.panel.rows(), c.rows);
        EXPECT_EQ(result.panel.summary(), c.summary);
    }
}

TEST(MethodTablesTest, GaussLeavesTheSixNodeSetAndNeverTouchesOtherEntries) {
    GaussNodes nodes;
    run(Method::Gauss, {I(2), D(0), D(1), {}}, nullptr, &nodes);
    GaussNodes six;
    setGaussNodes(6, six.node, six.weight);
    for (std::int16_t i = 0; i <= 10; ++i) {
        SCOPED_TRACE(i);
        const bool written = i >= 1 && i <= 6;
        EXPECT_EQ(nodes.node[I(i)].isEmpty(), !written);
        EXPECT_EQ(nodes.weight[I(i)].isEmpty(), !written);
        EXPECT_TRUE(nodes.node[I(i)].identical(six.node[I(i)]));
        EXPECT_TRUE(nodes.weight[I(i)].identical(six.weight[I(i)]));
    }
    // The positive half is the exact mirror of the stored one.
    EXPECT_EQ(nodes.node[I(6)].toDouble(), 0.93246951);
    EXPECT_EQ(nodes.weight[I(4)].toDouble(), 0.46791393);
}

TEST(MethodTablesTest, GaussThreeNodeSetIsComputedNotTabulated) {
    GaussNodes nodes;
    setGaussNodes(3, nodes.node, nodes.weight);
    EXPECT_EQ(nodes.node[I(1)].toDouble(), -0.7745966692414834);
    EXPECT_TRUE(nodes.node[I(2)].identical(I(0)));
    EXPECT_EQ(nodes.node[I(3)].toDouble(), 0.7745966692414834);
    EXPECT_EQ(nodes.weight[I(1)].toDouble(), 0.5555555555555556);
    EXPECT_EQ(nodes.weight[I(2)].toDouble(), 0.8888888888888888);
    EXPECT_TRUE(nodes.weight[I(3)].identical(nodes.weight[I(1)]));
}

struct FaultCase {
    std::string name;
    Method method;
    Inputs inputs;
    std::size_t rowsBeforeFault;
    Fault fault;
};

TEST(MethodTablesTest, AFaultStopsTheTableAndKeepsTheRowsBeforeIt) {
    const std::vector<FaultCase> cases = {
        {"parabolic rule, exponential overflows at the first point",
         Method::Zelbrin,
         {I(1), D(-1000), D(0), {}},
         0,
         Fault::Overflow},
        {"Gauss, overflow first reached by the four-node set",
         Method::Gauss,
         {I(1), D(-850), D(850), {}},
         2,
         Fault::Overflow},
        {"Gauss, limits near the largest double",
         Method::Gauss,
         {I(2), D(-1e308), D(1e308), {}},
         0,
         Fault::Overflow},
        {"Monte Carlo, limits near the largest double",
         Method::MonteCarlo,
         {I(2), D(-1e308), D(1e308), S(1)},
         0,
         Fault::Overflow},
        {"Monte Carlo, exponential overflows",
         Method::MonteCarlo,
         {I(1), D(-1000), D(0), S(1)},
         0,
         Fault::Overflow},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TableRun result = run(c.method, c.inputs);
        EXPECT_EQ(result.fault, c.fault);
        EXPECT_EQ(result.panel.rows().size(), c.rowsBeforeFault);
        EXPECT_FALSE(result.panel.summary().has_value());
    }
}

TEST(MethodTablesTest, MonteCarloEstimatesPiWithinTheSamplingErrorOfEachRow) {
    RandomGenerator random;
    Variant hits;
    const TableRun result =
        run(Method::MonteCarlo, {I(2), D(0), D(1), S(4)}, &random, nullptr, &hits);
    ASSERT_EQ(result.panel.rows().size(), 25u);
    const double p = std::numbers::pi / 4;
    for (std::size_t row = 0; row < 25; ++row) {
        const std::string& text = result.panel.rows()[row];
        const int n = 2000 * static_cast<int>(row + 1);
        SCOPED_TRACE(text);
        ASSERT_EQ(text.substr(0, text.find(' ')), std::to_string(n));
        const double estimate = numericValue(text.substr(text.find(' ')));
        const double sigma = 4 * std::sqrt(p * (1 - p) / n);
        EXPECT_LT(std::fabs(estimate - std::numbers::pi), 4 * sigma);
    }
    // hits holds the count of the last row, 50000 samples in a box of area 4.
    const std::string& last = result.panel.rows().back();
    EXPECT_NEAR(hits.toDouble() * 4 / 50000, numericValue(last.substr(last.find(' '))), 5e-6);
    EXPECT_EQ(hits.type(), Variant::Type::Long);
}

TEST(MonteCarloTableTest, ASecondRunContinuesTheSequence) {
    RandomGenerator shared;
    const Inputs inputs{I(2), D(0), D(1), S(4)};
    const TableRun first = run(Method::MonteCarlo, inputs, &shared);
    const TableRun second = run(Method::MonteCarlo, inputs, &shared);
    RandomGenerator fresh;
    const TableRun again = run(Method::MonteCarlo, inputs, &fresh);
    EXPECT_EQ(first.panel.rows(), again.panel.rows());
    EXPECT_NE(first.panel.rows(), second.panel.rows());
}

TEST(MonteCarloTableTest, NegativeBoxHeightGivesNegativeEstimates) {
    const TableRun result = run(Method::MonteCarlo, {I(2), D(0), D(1), S(-1)});
    EXPECT_EQ(result.panel.rows(), rowsWithEstimate(Method::MonteCarlo, "-1."));
}

}  // namespace
}  // namespace integral

namespace integral {
namespace {

// A Long lower limit takes the general per-sample arithmetic; its values equal those of the
// double 0, so both paths must draw the same samples and count the same hits.
TEST(MonteCarloTableTest, TypedAndGeneralSamplePathsAgree) {
    for (const std::int16_t fnum : {1, 2, 4, 5}) {
        SCOPED_TRACE(fnum);
        const TableRun typed = run(Method::MonteCarlo, {I(fnum), D(0), D(1.5), S(0.75f)});
        const TableRun general =
            run(Method::MonteCarlo, {I(fnum), Variant::longInteger(0), D(1.5), S(0.75f)});
        EXPECT_EQ(typed.panel.rows(), general.panel.rows());
        EXPECT_EQ(typed.panel.summary(), general.panel.summary());
    }
}

}  // namespace
}  // namespace integral
