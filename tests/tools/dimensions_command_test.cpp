// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cubature/cubature_methods.h"
#include "cubature/genz_families.h"
#include "model/methods.h"
#include "table_command.h"

namespace integral {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runTool(std::vector<std::string_view> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runTableCommand(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(DimensionsCommand, BadInputIsAUsageErrorWithNothingOnStdout) {
    const struct {
        std::vector<std::string_view> args;
        std::string_view message;
    } cases[] = {
        {{"--dimensions", "0", "--family", "gaussian", "--compare"},
         "--dimensions must be a whole number from 1 to 20, not '0'"},
        {{"--dimensions", "21", "--family", "gaussian", "--compare"}, "from 1 to 20, not '21'"},
        {{"--dimensions", "2.5", "--family", "gaussian", "--compare"}, "not '2.5'"},
        {{"--dimensions", "3", "--family", "gauss", "--compare"},
         "unknown family 'gauss' (expected oscillatory, product-peak"},
        {{"--dimensions", "10", "--function", "x1 + x11", "--lower", "0", "--upper", "1",
          "--sweep"},
         "column 6: \"x11\" is not known: the variables are x1 to x10"},
        {{"--dimensions", "2", "--function", "x1", "--lower", "1", "--upper", "0", "--sweep"},
         "--lower must be below --upper"},
        {{"--dimensions", "2", "--function", "x1", "--lower", "0", "--sweep"},
         "--function needs --lower A and --upper B"},
        {{"--dimensions", "2", "--family", "gaussian", "--function", "x1", "--compare"},
         "either --family NAME or --function EXPR"},
        {{"--dimensions", "2", "--family", "gaussian"}, "one of --method NAME, --compare"},
        {{"--dimensions", "2", "--family", "gaussian", "--method", "simpson"},
         "unknown method in d dimensions 'simpson'"},
        {{"--dimensions", "2", "--family", "gaussian", "--method", "hit-or-miss"},
         "integrates only the ball"},
        {{"--dimensions", "2", "--family", "ball", "--difficulty", "3", "--compare"},
         "the ball has no difficulty"},
        {{"--dimensions", "2", "--family", "gaussian", "--difficulty", "-1", "--compare"},
         "--difficulty (the sum of the c_k) must be above 0"},
        {{"--dimensions", "2", "--family", "gaussian", "--compare", "--budget", "0"},
         "--budget must be a whole number from 1"},
        {{"--dimensions", "2", "--family", "gaussian", "--compare", "--integrand", "2"},
         "unknown option with --dimensions '--integrand'"},
        {{"--dimensions", "1", "--family", "gaussian", "--method", "simpson"},
         "or at d = 1 one of one dimension, zelbrin, gauss"},
        {{"--dimensions", "1", "--family", "gaussian", "--method", "gauss", "--budget", "100"},
         "gauss's table has rows of its own"},
        {{"--dimensions", "2", "--family", "gaussian", "--compare", "--ymax", "1"},
         "--ymax is the box of hit-or-miss in one dimension"},
        {{"--dimensions", "1", "--family", "gaussian", "--compare", "--ymax", "-1"},
         "--ymax must be at least 0"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = runTool(c.args);
        EXPECT_EQ(outcome.status, 2) << c.message;
        EXPECT_EQ(outcome.out, "") << c.message;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
}

TEST(DimensionsCommand, JsonHasEveryKeyNullWhereItDoesNotApply) {
    const Outcome family =
        runTool({"--dimensions", "3", "--family", "gaussian", "--seed", "4", "--method",
                 "product-gauss", "--budget", "200", "--format", "json"});
    ASSERT_EQ(family.status, 0) << family.err;
    const auto document = nlohmann::ordered_json::parse(family.out);
    std::vector<std::string> keys;
    for (const auto& item : document.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"inputs", "exact", "reference", "reference_error",
                                              "rows", "compare"}));
    std::vector<std::string> inputs;
    for (const auto& item : document["inputs"].items()) {
        inputs.push_back(item.key());
    }
    EXPECT_EQ(inputs,
              (std::vector<std::string>{"dimensions", "family", "c", "w", "seed", "difficulty",
                                        "function", "lower", "upper", "method"}));
    EXPECT_EQ(document["inputs"]["c"].size(), 3u);
    EXPECT_TRUE(document["reference"].is_null());
    EXPECT_TRUE(document["compare"].is_null());
    // 1, 2^3 + 1, 3^3 + 2^3, 4^3 + 3^3 evaluations; 5^3 + 4^3 evaluations;
    // 6^3 + 5^3 is beyond 200.
    ASSERT_EQ(document["rows"].size(), 5u);
    const double exact = document["exact"];
    for (const auto& row : document["rows"]) {
        EXPECT_LE(row["evaluations"].get<int>(), 200);
        EXPECT_EQ(row["n"], row["points_per_axis"]);
        EXPECT_TRUE(row["level"].is_null());
        EXPECT_TRUE(row["sigma"].is_null());
        EXPECT_DOUBLE_EQ(row["error"].get<double>(), row["estimate"].get<double>() - exact);
    }

    const Outcome typed =
        runTool({"--dimensions", "2", "--function", "x1*x2", "--lower", "0", "--upper", "2",
                 "--compare", "--budget", "1000", "--format", "json"});
    ASSERT_EQ(typed.status, 0) << typed.err;
    const auto raced = nlohmann::ordered_json::parse(typed.out);
    EXPECT_TRUE(raced["exact"].is_null());
    EXPECT_NEAR(raced["reference"].get<double>(), 4.0, 1e-9);
    EXPECT_TRUE(raced["rows"].is_null());
    EXPECT_EQ(raced["compare"].size(), kCubatureMethods.size());
    EXPECT_TRUE(raced["compare"].back()["estimate"].is_null());  // hit-or-miss: not the ball
    for (const auto& entry : raced["compare"]) {
        EXPECT_EQ(entry.size(), raced["compare"].front().size()) << entry["method"];
    }
}

// At d = 1 the methods of one dimension race on the same f after the cube's, measured against
// the family's closed form: Gauss and the parabolic rule as close as the family's smoothness
// lets them, at the same budget.
TEST(DimensionsCommand, AtOneDimensionTheMethodsOfOneDimensionMeetTheClosedForm) {
    const struct {
        std::string_view family;
        double gauss;  // the largest |error| expected, relative to the integral
        double zelbrin;
    } cases[] = {
        {"oscillatory", 1e-13, 1e-10},
        {"product-peak", 1e-13, 1e-10},
        {"corner-peak", 1e-13, 1e-10},
        {"gaussian", 1e-13, 1e-10},
        {"ball", 1e-13, 1e-10},
        // A kink at w1 takes the rules down to h^2, a jump to h.
        {"continuous", 1e-4, 1e-4},
        {"discontinuous", 1e-2, 1e-2},
    };
    for (const auto& c : cases) {
        const Outcome outcome = runTool({"--dimensions", "1", "--family", c.family, "--compare",
                                         "--budget", "1000", "--format", "json"});
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const auto document = nlohmann::ordered_json::parse(outcome.out);
        const double exact = document["exact"];
        EXPECT_EQ(document["reference_one_dimension"].get<double>(), exact) << c.family;
        EXPECT_EQ(document["reference_error_one_dimension"].get<double>(), 0.0) << c.family;
        const auto& entries = document["compare_one_dimension"];
        ASSERT_EQ(entries.size(), kMethods.size()) << c.family;
        for (const auto& entry : entries) {
            const std::string method = entry["method"];
            if (method != "gauss" && method != "zelbrin") {
                continue;
            }
            EXPECT_LE(entry["evaluations"].get<int>(), 1000) << c.family << " " << method;
            const double error = entry["error"];
            EXPECT_EQ(error, entry["estimate"].get<double>() - exact) << c.family << " " << method;
            EXPECT_LE(std::fabs(error),
                      (method == "gauss" ? c.gauss : c.zelbrin) * std::fabs(exact))
                << c.family << " " << method;
        }
    }
}

// The part of one dimension stands at d = 1 with --compare or --sweep, in every layout, and
// nowhere else; a method of one dimension's name at d = 1 prints its table on the same f.
TEST(DimensionsCommand, OnlyAtOneDimensionTheMethodsOfOneDimensionJoin) {
    const struct {
        std::vector<std::string_view> args;
        std::string_view key;  // the JSON key of the part of one dimension; "" for none
    } cases[] = {
        {{"--dimensions", "1", "--family", "gaussian", "--compare", "--budget", "100"},
         "compare_one_dimension"},
        {{"--dimensions", "1", "--function", "x1^3", "--lower", "0", "--upper", "2", "--sweep",
          "--budget", "100"},
         "sweep_one_dimension"},
        {{"--dimensions", "1", "--family", "gaussian", "--method", "sobol", "--budget", "100"}, ""},
        {{"--dimensions", "2", "--family", "gaussian", "--compare", "--budget", "100"}, ""},
        // f up to about 1e300: too large to square, as the samplers' variances do.
        {{"--dimensions", "2", "--family", "discontinuous", "--difficulty", "1000", "--seed", "7",
          "--compare", "--budget", "500"},
         ""},
        {{"--dimensions", "2", "--function", "x1^3", "--lower", "0", "--upper", "2", "--sweep",
          "--budget", "100"},
         ""},
    };
    constexpr std::string_view kHeading = "# the one-dimensional methods on the same f\n";
    for (const auto& c : cases) {
        for (const std::string_view layout : {"text", "tsv", "json"}) {
            std::vector<std::string_view> args = c.args;
            args.insert(args.end(), {"--format", layout});
            const Outcome outcome = runTool(args);
            ASSERT_EQ(outcome.status, 0) << outcome.err;
            if (layout != "json") {
                EXPECT_EQ(outcome.out.find(kHeading) != std::string::npos, !c.key.empty())
                    << c.args[1] << " " << c.args[4] << " " << layout;
                continue;
            }
            const auto document = nlohmann::ordered_json::parse(outcome.out);
            for (const std::string_view key :
                 {"compare_one_dimension", "sweep_one_dimension", "reference_one_dimension"}) {
                const bool expected =
                    !c.key.empty() && (key == c.key || key == "reference_one_dimension");
                EXPECT_EQ(document.contains(key), expected) << c.args[1] << " " << key;
            }
            if (c.key == "sweep_one_dimension") {
                // Its budgets stop at --budget: 10, 20, 50 and 100; x^3 on [0,2] is 4.
                EXPECT_EQ(document[c.key].size(), 4u);
                EXPECT_NEAR(document["reference_one_dimension"].get<double>(), 4.0, 1e-12);
            }
        }
    }

    const Outcome table = runTool(
        {"--dimensions", "1", "--family", "gaussian", "--method", "romberg", "--format", "json"});
    ASSERT_EQ(table.status, 0) << table.err;
    const auto run = nlohmann::ordered_json::parse(table.out);
    EXPECT_EQ(run["exact"].get<double>(),
              exactIntegral(drawParameters(Family::Gaussian, 1, 7.03, 1)));
    EXPECT_NEAR(run["rows"].back()["estimate"].get<double>(), run["exact"].get<double>(), 1e-12);
}

TEST(DimensionsCommand, ARunTimeFaultLeavesStdoutEmpty) {
    const Outcome outcome = runTool({"--dimensions", "2", "--function", "1/(x1 - x1)", "--lower",
                                     "0", "--upper", "1", "--method", "monte-carlo"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("no finite value"), std::string::npos) << outcome.err;
}

// A table of every size would spend about size / (d + 1) times its budget: at the largest
// budgets its rows thin out, so that it ends in seconds, still on the largest size that fits.
TEST(DimensionsCommand, ATableOfEverySizeStaysWithinReach) {
    const struct {
        int d;
        std::int64_t budget;
        bool everySize;
    } cases[] = {{2, 100'000'000, true},
                 {3, 100'000, true},
                 {3, 100'000'000, false},
                 {4, 100'000'000, false}};
    for (const auto& c : cases) {
        const auto rows = cubatureRows(CubatureMethod::ProductGauss, c.d, c.budget);
        std::int64_t spent = 0;
        for (const std::int64_t n : rows) {
            spent += *cubatureEvaluations(CubatureMethod::ProductGauss, c.d, n);
        }
        EXPECT_EQ(rows.back(), largestCubatureSize(CubatureMethod::ProductGauss, c.d, c.budget))
            << c.d;
        EXPECT_EQ(rows.back() == static_cast<std::int64_t>(rows.size()), c.everySize) << c.d;
        EXPECT_LE(spent, 2'000'000'000) << c.d;
    }
}

// --help and the manual page name every family and every method of the tables.
TEST(DimensionsCommand, HelpAndManualNameEveryFamilyAndMethod) {
    const std::string help = runTool({"--help"}).out;
    std::ifstream file(INTEGRAL_SOURCE_DIR "/packaging/man/integral-table.1.in");
    const std::string manual((std::istreambuf_iterator<char>(file)), {});
    ASSERT_FALSE(manual.empty());
    for (const FamilyInfo& info : kFamilies) {
        EXPECT_NE(help.find(info.name), std::string::npos) << info.name;
        EXPECT_NE(manual.find(info.name), std::string::npos) << info.name;
    }
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        EXPECT_NE(help.find(info.name), std::string::npos) << info.name;
        EXPECT_NE(manual.find(info.name), std::string::npos) << info.name;
    }
    // And the part of one dimension at d = 1, by its heading and its JSON names.
    for (const std::string_view said :
         {"the one-dimensional methods on the same f", "compare_one_dimension",
          "sweep_one_dimension", "reference_error_one_dimension", "no_reference_one_dimension"}) {
        EXPECT_NE(help.find(said), std::string::npos) << said;
        EXPECT_NE(manual.find(said), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace integral
