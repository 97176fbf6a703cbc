// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <variant>
#include <vector>

#include "integrands/typed_expression.h"
#include "model/fault_text.h"
#include "runtime/text_to_number.h"
#include "support/recording_surface.h"
#include "support/rows.h"
#include "support/values.h"

namespace integral {
namespace {

using test::D;
using test::I;
using test::rowsWithEstimate;
using test::S;

// The inputs of one run, as a user would give them: the list row (-1: none), the texts typed
// into the limit boxes before Enter (lower first), the box height (NaN: never clicked).
struct Inputs {
    int integrandRow = -1;
    std::string lower;
    std::string upper;
    float height = NAN;
};

Model modelWith(const Inputs& in) {
    Model model;
    if (in.integrandRow >= 0) {
        model.chooseIntegrand(in.integrandRow);
    }
    if (!in.lower.empty()) {
        EXPECT_FALSE(model.enterLower(in.lower).has_value());
    }
    if (!in.upper.empty()) {
        EXPECT_FALSE(model.enterUpper(in.upper).has_value());
    }
    if (!std::isnan(in.height)) {
        model.setHeight(in.height);
    }
    return model;
}

struct FixedCase {
    std::string name;
    Method method;
    Inputs inputs;
    std::vector<std::string> rows;
    std::string summary;
};

TEST(ModelTest, MethodRunsWithAFixedOutcome) {
    const std::vector<FixedCase> cases = {
        {"parabolic rule, 4/(x*x+1) on 0..1",
         Method::Zelbrin,
         {1, "0", "1"},
         {"2   3.14157", "4   3.14159", "6   3.14159", "8   3.14159", "10   3.14159",
          "12   3.14159", "14   3.14159", "16   3.14159", "18   3.14159", "20   3.14159"},
         "S = 3.14159"},
        {"parabolic rule, x*sin(x) on -2..3",
         Method::Zelbrin,
         {3, "3", "-2"},
         {"2   4.85592", "4   4.85318", "6   4.85279", "8   4.85272", "10   4.8527", "12   4.8527",
          "14   4.85269", "16   4.85269", "18   4.85269", "20   4.85269"},
         "S = 4.85269"},
        {"parabolic rule is exact for x*x-2 on 0..3",
         Method::Zelbrin,
         {2, "0", "3"},
         rowsWithEstimate(Method::Zelbrin, "3."),
         "S = 3."},
        {"parabolic rule over an empty interval",
         Method::Zelbrin,
         {1, "1", "1"},
         rowsWithEstimate(Method::Zelbrin, "."),
         "S = 0."},
        {"parabolic rule with no integrand chosen",
         Method::Zelbrin,
         {-1, "0", "1"},
         rowsWithEstimate(Method::Zelbrin, "."),
         "S = 0."},
        {"Gauss, 4/(x*x+1) on 0..1",
         Method::Gauss,
         {1, "0", "1"},
         {"2   3.14754098343455", "3   3.14106813996317", "4   3.14161190444923",
          "5   3.14159265472983", "6   3.14159257971109"},
         "S = 3.14159"},
        {"Gauss, x*sin(x) on -2..3",
         Method::Gauss,
         {3, "-2", "3"},
         {"2   6.43437032971031", "3   4.7030728356089", "4   4.85880725713412",
          "5   4.85254807237865", "6   4.85269065768811"},
         "S = 4.85269"},
        {"Gauss, the bell curve on -1.5..0.7",
         Method::Gauss,
         {4, "-1.5", "0.7"},
         {"2   6.83709432739827", "3   6.91536328709081", "4   6.91220278147716",
          "5   6.91229413358905", "6   6.91229208056129"},
         "S = 6.91229"},
        {"Gauss, x*Exp(-x) on -2..2.9",
         Method::Gauss,
         {0, "-2", "2.9"},
         {"2   -5.49152050880794", "3   -7.45164512134835", "4   -7.59834141016928",
          "5   -7.60353787992015", "6   -7.60364508661945"},
         "S = -7.60365"},
        {"Gauss, x*x-2 on 0..1",
         Method::Gauss,
         {2, "0", "1"},
         {"2   -1.66666666643273", "3   -1.66666666666667", "4   -1.66666666543329",
          "5   -1.66666667401558", "6   -1.6666666497777"},
         "S = -1.66667"},
        {"Gauss over an empty interval",
         Method::Gauss,
         {1, "0.5", "0.5"},
         rowsWithEstimate(Method::Gauss, "0"),
         "S = 0."},
        {"Gauss with no integrand chosen",
         Method::Gauss,
         {-1, "0", "1"},
         rowsWithEstimate(Method::Gauss, "0"),
         "S = 0."},
        {"Monte Carlo, the first click: 4/(x*x+1) on 0..1 in a box of height 4",
         Method::MonteCarlo,
         {1, "0", "1", 4},
         {"2000   3.124",    "4000   3.129",    "6000   3.178",    "8000   3.1555",
          "10000   3.1376",  "12000   3.146",   "14000   3.14943", "16000   3.15675",
          "18000   3.15022", "20000   3.1218",  "22000   3.14236", "24000   3.14567",
          "26000   3.14308", "28000   3.153",   "30000   3.13707", "32000   3.13937",
          "34000   3.14706", "36000   3.13989", "38000   3.12095", "40000   3.1478",
          "42000   3.13743", "44000   3.13991", "46000   3.14757", "48000   3.13992",
          "50000   3.1244"},
         "S = 3.1244"},
        {"Monte Carlo with no box height",
         Method::MonteCarlo,
         {1, "0", "1"},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo over an empty interval",
         Method::MonteCarlo,
         {1, "1", "1", 4},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo, curve below the axis",
         Method::MonteCarlo,
         {2, "0", "1", 2.5f},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo with no integrand chosen",
         Method::MonteCarlo,
         {-1, "0", "1", 3},
         rowsWithEstimate(Method::MonteCarlo, "."),
         "S = 0."},
        {"Monte Carlo, box wholly under the curve",
         Method::MonteCarlo,
         {1, "0", "1", 1},
         rowsWithEstimate(Method::MonteCarlo, "1."),
         "S = 1."},
        {"Monte Carlo, box below the axis",
         Method::MonteCarlo,
         {1, "0", "1", -1},
         rowsWithEstimate(Method::MonteCarlo, "-1."),
         "S = -1."},
    };
    for (const FixedCase& c : cases) {
        SCOPED_TRACE(c.name);
        Model model = modelWith(c.inputs);
        const MethodRun run = model.run(c.method);
        EXPECT_FALSE(run.fault.has_value());
        EXPECT_EQ(run.rows, c.rows);
        EXPECT_EQ(run.summary, c.summary);
    }
}

struct FaultCase {
    std::string name;
    Method method;
    Inputs inputs;
    std::size_t rowsBeforeFault;
    Fault fault;
};

TEST(ModelTest, AFaultStopsTheRunAndKeepsTheRowsBeforeIt) {
    const std::vector<FaultCase> cases = {
        {"parabolic rule, exponential overflows at the first point",
         Method::Zelbrin,
         {0, "-1000", "0"},
         0,
         Fault::Overflow},
        {"Gauss, overflow first reached by the four-node set",
         Method::Gauss,
         {0, "-850", "850"},
         2,
         Fault::Overflow},
        {"Gauss, limits near the largest double",
         Method::Gauss,
         {1, "-1e308", "1e308"},
         0,
         Fault::Overflow},
        {"Monte Carlo, limits near the largest double",
         Method::MonteCarlo,
         {1, "-1e308", "1e308", 1},
         0,
         Fault::Overflow},
        {"Monte Carlo, exponential overflows",
         Method::MonteCarlo,
         {0, "-1000", "0", 1},
         0,
         Fault::Overflow},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        Model model = modelWith(c.inputs);
        const MethodRun run = model.run(c.method);
        EXPECT_EQ(run.fault, c.fault);
        EXPECT_EQ(run.rows.size(), c.rowsBeforeFault);
        EXPECT_FALSE(run.summary.has_value());
    }
}

// A typed f without a value at a limit: the message says whether the integral exists all the
// same, and which rules do not evaluate f there; a fault inside the interval says nothing of it.
TEST(ModelTest, AFaultAtALimitSaysWhetherTheIntegralExists) {
    struct Case {
        const char* function;
        const char* lower;
        const char* upper;
        Method method;
        const char* told;         // nothing where the fault is not at a limit
        double lowerAfter = NAN;  // a lower limit set afterwards, above the upper one
    };
    for (const Case& c : std::vector<Case>{
             {"1/sqrt(x)", "0", "1", Method::Zelbrin,
              "f has no value at the limit x = 0, one of the points the rule evaluates. "
              "The integral from 0 to 1 exists all the same: it is 2"},
             {"1/sqrt(1-x)", "0", "1", Method::Trapezoid,
              "f has no value at the limit x = 1, one of the points the rule evaluates. "
              "The integral from 0 to 1 exists all the same: it is 2"},
             {"1/x", "0", "1", Method::Zelbrin,
              "f has no value at the limit x = 0, one of the points the rule evaluates. "
              "The integral from 0 to 1 does not exist either: the integral of this function "
              "over these limits does not exist: f grows like 1/|x|^1 near x = 0."},
             {"1/x", "-1", "1", Method::Gauss, nullptr},
             {"sqrt(x-0.5)", "0", "1", Method::Zelbrin,
              "f has no value at the limit x = 0, one of the points the rule evaluates. Whether "
              "the integral from 0 to 1 exists cannot be told here: "},
             // Limits in the wrong order are the rule's all the same.
             {"1/sqrt(x-1)", "0", "1", Method::Zelbrin,
              "f has no value at the limit x = 1, one of the points the rule evaluates. The "
              "integral from 1 to 2 exists all the same: it is 2",
              2.0},
         }) {
        SCOPED_TRACE(c.function);
        Model model;
        auto parsed = TypedExpression::parse(c.function);
        model.chooseExpression(std::get<std::shared_ptr<const TypedExpression>>(parsed));
        ASSERT_FALSE(model.enterLower(c.lower));
        ASSERT_FALSE(model.enterUpper(c.upper));
        if (!std::isnan(c.lowerAfter)) {
            model.setLower(Variant::real(c.lowerAfter));
        }
        const MethodRun run = model.run(c.method);
        ASSERT_TRUE(run.fault.has_value());
        const std::string text = faultText(*run.fault);
        const std::size_t at = text.find("f has no value at the limit");
        if (c.told == nullptr) {
            EXPECT_EQ(at, std::string::npos) << text;
            continue;
        }
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.substr(at, std::string(c.told).size()), c.told);
    }
    // The shading's first line meets it too.
    Model model;
    model.chooseExpression(
        std::get<std::shared_ptr<const TypedExpression>>(TypedExpression::parse("1/sqrt(x)")));
    ASSERT_FALSE(model.enterLower("0"));
    ASSERT_FALSE(model.enterUpper("1"));
    test::RecordingSurface canvas;
    const Outcome shaded = model.ShadeArea(canvas);
    ASSERT_TRUE(shaded.has_value());
    EXPECT_NE(
        faultText(*shaded).find("at the limit x = 0, where the shading draws its first line. "),
        std::string::npos)
        << faultText(*shaded);
}

struct LimitsCase {
    std::string name;
    std::vector<std::pair<char, std::string>> enters;  // 'l' or 'u' and the box's text
    Variant x1;
    Variant x2;
    std::vector<Fault> faults;
};

TEST(ModelTest, EnterReadsTheLimitsAndTheUpperOnePutsThemInOrder) {
    const std::vector<LimitsCase> cases = {
        {"in order", {{'l', "0"}, {'u', "1"}}, D(0), D(1), {}},
        {"exchanged", {{'l', "3"}, {'u', "1"}}, D(1), D(3), {}},
        {"upper alone, negative: the Empty lower one becomes the upper",
         {{'u', "-2"}},
         D(-2),
         Variant(),
         {}},
        {"lower alone is not ordered", {{'l', "5"}}, D(5), Variant(), {}},
        {"text that is no number reads as 0", {{'l', "junk"}, {'u', "x2"}}, D(0), D(0), {}},
        {"beyond the double range keeps the old limit",
         {{'l', "-7"}, {'l', "1e999"}, {'u', "2"}, {'u', "-1e400"}},
         D(-7),
         D(2),
         {Fault::Overflow, Fault::Overflow}},
    };
    for (const LimitsCase& c : cases) {
        SCOPED_TRACE(c.name);
        Model model;
        std::vector<Fault> faults;
        for (const auto& [box, text] : c.enters) {
            const Outcome outcome = box == 'l' ? model.enterLower(text) : model.enterUpper(text);
            if (outcome) {
                faults.push_back(outcome->fault);
            }
        }
        EXPECT_TRUE(model.x1().identical(c.x1));
        EXPECT_TRUE(model.x2().identical(c.x2));
        EXPECT_EQ(faults, c.faults);
    }
}

TEST(ModelTest, StartsEmptyAndTakesTheChoicesAsTheirTypes) {
    Model model;
    for (const Variant* member :
         {&model.fnum(), &model.x1(), &model.x2(), &model.ymax(), &model.hits()}) {
        EXPECT_TRUE(member->isEmpty());
    }
    EXPECT_TRUE(model.f(D(1)).isEmpty());
    model.chooseIntegrand(2);
    EXPECT_TRUE(model.fnum().identical(I(3)));
    EXPECT_TRUE(model.f(D(1)).identical(D(-1)));
    model.setHeight(-2.5f);
    EXPECT_TRUE(model.ymax().identical(S(-2.5f)));
}

TEST(ModelTest, MonteCarloEstimatesPiWithinTheSamplingErrorOfEachRow) {
    Model model = modelWith({1, "0", "1", 4});
    const MethodRun run = model.run(Method::MonteCarlo);
    ASSERT_EQ(run.rows.size(), 25u);
    const double p = std::numbers::pi / 4;
    for (std::size_t row = 0; row < run.rows.size(); ++row) {
        const std::string& text = run.rows[row];
        SCOPED_TRACE(text);
        const double estimate = numericValue(text.substr(text.find(' ')));
        const double sigma = 4 * std::sqrt(p * (1 - p) / (2000.0 * static_cast<double>(row + 1)));
        EXPECT_LT(std::fabs(estimate - std::numbers::pi), 4 * sigma);
    }
    // hits holds the count of the last row, 50000 samples in a box of area 4.
    EXPECT_EQ(model.hits().type(), Variant::Type::Long);
    EXPECT_EQ(std::to_string(model.hits().toDouble() * 4 / 50000).substr(0, 6),
              run.summary->substr(4, 6));

    // The second click goes on with the sequence; a fresh model starts it again.
    const MethodRun second = model.run(Method::MonteCarlo);
    EXPECT_NE(second.rows, run.rows);
    EXPECT_EQ(modelWith({1, "0", "1", 4}).run(Method::MonteCarlo).rows, run.rows);
}

TEST(ModelTest, GaussLeavesTheSixNodeSetAndNeverTouchesOtherEntries) {
    Model model = modelWith({1, "0", "1"});
    model.run(Method::Gauss);
    for (std::int16_t i = 0; i <= 10; ++i) {
        SCOPED_TRACE(i);
        const bool written = i >= 1 && i <= 6;
        EXPECT_EQ(model.node()[I(i)].isEmpty(), !written);
        EXPECT_EQ(model.weight()[I(i)].isEmpty(), !written);
    }
    EXPECT_EQ(model.node()[I(1)].toDouble(), -0.93246951);
    EXPECT_EQ(model.node()[I(6)].toDouble(), 0.93246951);
    EXPECT_EQ(model.weight()[I(4)].toDouble(), 0.46791393);
}

// A fault at the first line is reported however long the range: the line at x1 is always
// evaluated, whether the value or x1 itself is beyond the canvas's single range.
TEST(ModelTest, CanvasOperationsDrawTheStateAndReportFaults) {
    for (const Inputs& in :
         std::vector<Inputs>{{0, "-100", "0", 2}, {0, "-200000", "1", 2}, {1, "-1e39", "1", 2}}) {
        SCOPED_TRACE(in.lower);
        Model model = modelWith(in);
        test::RecordingSurface canvas;
        EXPECT_EQ(model.ShadeArea(canvas), Fault::Overflow);
        EXPECT_TRUE(canvas.segments.empty());
    }
    Model model = modelWith({0, "-100", "0", 2});
    test::RecordingSurface canvas;
    EXPECT_FALSE(model.DrawBox(canvas).has_value());
    ASSERT_EQ(canvas.rectangles.size(), 1u);
    EXPECT_EQ(canvas.rectangles[0].from, (CanvasPoint{-100, 2}));
    EXPECT_FALSE(model.Graph(canvas).has_value());
    EXPECT_EQ(canvas.points.size(), 2001u);
}

}  // namespace
}  // namespace integral

namespace integral {
namespace {

// Typed exactly as a formula of the five reads, an expression gives the very same rows and
// summaries, for every method, Monte Carlo's hits included.
TEST(ModelTest, TypedFormulasGiveTheRowsOfTheFive) {
    const std::vector<std::string> texts = {"x*Exp(-x)", "4/(x*x+1)", "x*x-2", "x*sin(x)",
                                            "exp(-x*x/2)/sqrt(6.283184)*10"};
    const std::vector<std::pair<double, double>> limits = {
        {0, 1}, {-2, 2.9}, {0.5, 7}, {-1.5, 0.7}};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto parsed = TypedExpression::parse(texts[i]);
        ASSERT_TRUE(std::holds_alternative<std::shared_ptr<const TypedExpression>>(parsed));
        const auto expression = std::get<std::shared_ptr<const TypedExpression>>(parsed);
        for (const auto& [lower, upper] : limits) {
            Model five;
            Model typed;
            five.chooseIntegrand(static_cast<int>(i));
            typed.chooseExpression(expression);
            for (Model* model : {&five, &typed}) {
                model->setLower(Variant::real(lower));
                model->setUpper(Variant::real(upper));
                model->setHeight(2.5f);
            }
            for (const MethodInfo& info : kMethods) {
                SCOPED_TRACE(texts[i] + " on " + std::to_string(lower) + ".." +
                             std::to_string(upper) + ", " + std::string(info.caption));
                const MethodRun a = five.run(info.method);
                const MethodRun b = typed.run(info.method);
                EXPECT_EQ(a.rows, b.rows);
                EXPECT_EQ(a.summary, b.summary);
                EXPECT_EQ(a.fault.has_value(), b.fault.has_value());
            }
        }
    }
}

}  // namespace
}  // namespace integral
