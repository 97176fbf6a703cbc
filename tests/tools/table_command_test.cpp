// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_command.h"

#include "integral_version.h"
#include "model/fault_text.h"
#include "model/model.h"
#include "table_output.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace integral {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The names of a JSON object in their order, and those a list of keys gives.
std::vector<std::string> keysOf(const nlohmann::ordered_json& document) {
    std::vector<std::string> names;
    for (const auto& item : document.items()) {
        names.push_back(item.key());
    }
    return names;
}
std::vector<std::string> namesOf(std::span<const JsonKey> keys) {
    std::vector<std::string> names;
    for (const JsonKey& key : keys) {
        if (!key.seldom) {
            names.emplace_back(key.name);
        }
    }
    return names;
}

Outcome runTool(std::vector<std::string_view> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runTableCommand(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(TableCommandTest, PrintsTheRowsAndTheSummary) {
    const Outcome gauss =
        runTool({"--method", "gauss", "--integrand", "2", "--lower", "0", "--upper", "1"});
    EXPECT_EQ(gauss.status, 0);
    EXPECT_EQ(gauss.err, "");
    EXPECT_EQ(gauss.out,
              "2   3.14754098343455\n3   3.14106813996317\n4   3.14161190444923\n"
              "5   3.14159265472983\n6   3.14159257971109\nS = 3.14159\n");

    const Outcome zelbrin =
        runTool({"--method=Zelbrin", "--integrand=2", "--lower=0", "--upper=1"});
    EXPECT_EQ(zelbrin.status, 0);
    EXPECT_EQ(zelbrin.out.substr(0, 12), "2   3.14157\n");
}

// Text without the new options is what the window shows; the details and the other layouts add
// the numbers behind each row, as the tooltips give them.
TEST(TableCommandTest, DetailsAndLayouts) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--details"},
         "2   3.14754098343455   exact=3.141592653589793 error=0.005948329844755129 "
         "method_error=0.00594832984475496 rounding_error=4.692159321069717e-17 ratio=none "
         "evaluations=2 estimated_error=none\n3   3.14106813996317   exact=3.141592653589793 "
         "error=-0.0005245136266256445 method_error=-0.0005245136266256587 "
         "rounding_error=-1.0827186385360101e-16 ratio=-0.0881783021982477 evaluations=3 "
         "estimated_error=0.006472843471380774\n"},
        {{"--format", "tsv"}, "n\testimate\n2\t3.1475409834345482\n"},
        {{"--format=tsv", "--details"},
         "n\testimate\texact\treference\treference_error\terror\tmethod_error\trounding_error\t"
         "ratio\torder\tevaluations\trounding_level\testimated_error\n"
         "2\t3.1475409834345482\t3.141592653589793\t3.141592653589793\t0\t"
         "0.005948329844755129\t0.00594832984475496\t4.692159321069717e-17\t\t\t2\t0\t\n"},
    };
    for (const auto& [options, start] : cases) {
        std::vector<std::string_view> args = {"--method", "gauss", "--integrand", "2",
                                              "--lower",  "0",     "--upper",     "1"};
        args.insert(args.end(), options.begin(), options.end());
        SCOPED_TRACE(start);
        const Outcome outcome = runTool(args);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind(start, 0), 0u) << outcome.out;
    }
    const Outcome noise = runTool({"--method", "zelbrin", "--integrand", "3", "--lower", "1e8",
                                   "--upper", "100000001", "--details"});
    const auto count = [&noise](const std::string& word) {
        std::size_t n = 0;
        for (std::size_t at = noise.out.find(word); at != std::string::npos;
             at = noise.out.find(word, at + 1)) {
            ++n;
        }
        return n;
    };
    // x*x - 2 far out: every error is 0 or noise, and no order is shown.
    EXPECT_EQ(count("order="), 10u);
    EXPECT_EQ(count("order=none"), 10u);
    EXPECT_EQ(count("error=0 ") + count("error=rounding-level"), 10u);
    EXPECT_GT(count("error=rounding-level"), 0u);
}

// JSON carries its inputs and every figure, null where one does not exist: a box whose area is
// beyond the doubles has no sigma, and nothing reads "nan" or "inf".
TEST(TableCommandTest, JsonNamesEveryFigure) {
    const Outcome outcome = runTool({"--method", "montecarlo", "--integrand", "1", "--lower", "0",
                                     "--upper", "1e308", "--ymax", "2.77", "--format", "json"});
    EXPECT_EQ(outcome.status, 0);
    const nlohmann::json document = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(document["version"], std::string(kVersion));
    const nlohmann::json inputs = {
        {"method", "montecarlo"},    {"integrand", 1}, {"function", nullptr},
        {"label", "y = x*Exp(-x)"},  {"lower", 0.0},   {"upper", 1e308},
        {"ymax", 2.7699999809265137}};
    EXPECT_EQ(document["inputs"], inputs);
    for (const char* key : {"exact", "reference", "reference_error", "limit", "rows", "summary",
                            "summary_value", "fault"}) {
        EXPECT_TRUE(document.contains(key)) << key;
    }
    ASSERT_EQ(document["rows"].size(), 25u);
    for (const auto& row : document["rows"]) {
        for (const char* key : {"n", "text", "estimate", "error", "ratio", "order", "evaluations",
                                "sigma", "sigmas_from_limit", "rounding_level"}) {
            EXPECT_TRUE(row.contains(key)) << key;
        }
        EXPECT_TRUE(row["sigma"].is_null());
        EXPECT_TRUE(row["ratio"].is_null());
    }
    EXPECT_EQ(document["summary_value"], document["rows"].back()["estimate"]);

    // Every method's document has every name --help lists, in its order, and no other.
    for (const MethodInfo& info : kMethods) {
        SCOPED_TRACE(std::string(info.name));
        const Outcome each = runTool({"--method", info.name, "--integrand", "4", "--upper", "3",
                                      "--ymax", "2", "--format", "json"});
        ASSERT_EQ(each.status, 0) << each.err;
        const nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(each.out);
        EXPECT_EQ(keysOf(parsed), namesOf(kRunKeys));
        EXPECT_EQ(parsed["rows"][0].size(), std::size(kRowKeys));
    }

    // The race and the sweep: every budget, every method, each within its budget.
    const Outcome race = runTool({"--compare", "--integrand", "4", "--upper", "3", "--budget",
                                  "500", "--methods", "gauss,sobol", "--format", "json"});
    ASSERT_EQ(race.status, 0) << race.err;
    const nlohmann::ordered_json raced = nlohmann::ordered_json::parse(race.out);
    EXPECT_EQ(keysOf(raced), namesOf(kRaceKeys));
    EXPECT_EQ(keysOf(raced["compare"][0]), namesOf(kRaceEntryKeys));
    const Outcome sweep = runTool({"--sweep", "--integrand", "4", "--upper", "3", "--methods",
                                   "gauss,sobol", "--format", "json"});
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const nlohmann::ordered_json swept = nlohmann::ordered_json::parse(sweep.out);
    EXPECT_EQ(keysOf(swept), namesOf(kSweepKeys));
    ASSERT_EQ(swept["sweep"].size(), std::size(kSweepBudgets));
    for (std::size_t b = 0; b < std::size(kSweepBudgets); ++b) {
        const auto& at = swept["sweep"][b];
        EXPECT_EQ(keysOf(at), namesOf(kSweepRaceKeys));
        EXPECT_EQ(at["budget"], kSweepBudgets[b]);
        ASSERT_EQ(at["entries"].size(), 2u);
        for (const auto& entry : at["entries"]) {
            if (!entry["evaluations"].is_null()) {
                EXPECT_LE(entry["evaluations"].get<std::int64_t>(), kSweepBudgets[b]);
            }
        }
        if (kSweepBudgets[b] == 500) {
            EXPECT_EQ(at["entries"], raced["compare"]);
        }
    }
}

// --n runs the rule at that size: its line is the table's row at full precision where the table
// has one, its JSON names what --help lists; a fault is told as a table's is.
TEST(TableCommandTest, ARuleAtAnySize) {
    const Outcome trapezoid =
        runTool({"--method", "trapezoid", "--integrand", "2", "--upper", "1", "--n", "16"});
    ASSERT_EQ(trapezoid.status, 0) << trapezoid.err;
    EXPECT_EQ(trapezoid.out.substr(0, trapezoid.out.find('\n')), "16   3.140941612041389");
    EXPECT_NE(trapezoid.out.find("evaluations=17"), std::string::npos) << trapezoid.out;
    const Outcome json = runTool({"--method", "mean-value", "--integrand", "2", "--upper", "1",
                                  "--n", "1000", "--seed", "3", "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(json.out);
    EXPECT_EQ(keysOf(parsed), namesOf(kSizedKeys));
    EXPECT_EQ(parsed["evaluations"], 1000);
    EXPECT_EQ(parsed["estimated_error"], 2 * parsed["sigma"].get<double>());
    const Outcome fault =
        runTool({"--method", "clenshaw-curtis", "--function", "1/x", "--upper", "1", "--n", "8"});
    EXPECT_EQ(fault.status, 1);
    EXPECT_EQ(fault.out, "");
    EXPECT_NE(fault.err.find("run-time error: Overflow"), std::string::npos);
}

// A typed integrand has no exact value: its rows are measured against adaptive quadrature,
// whose own uncertainty the JSON carries.
TEST(TableCommandTest, JsonOfATypedIntegrand) {
    const Outcome outcome = runTool({"--method", "zelbrin", "--function", "1/sqrt(x)", "--lower",
                                     "0.25", "--upper", "1", "--format", "json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const nlohmann::json document = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(document["inputs"]["function"], "1/sqrt(x)");
    EXPECT_TRUE(document["inputs"]["integrand"].is_null());
    EXPECT_TRUE(document["exact"].is_null());
    EXPECT_NEAR(document["reference"].get<double>(), 1.0, 1e-14);
    EXPECT_LT(document["reference_error"].get<double>(), 1e-12);
    EXPECT_TRUE(document["rows"][0]["error"].is_number());
}

// --points gives the evaluations of one row: for the parabolic rule and Gauss the weighted
// values add up to the row's estimate, for Monte Carlo the hits to its count. A count that is
// no row of the method is a usage error.
TEST(TableCommandTest, PointsOfARowAddUpToIt) {
    struct PointsCase {
        std::vector<std::string_view> args;
        std::size_t points;
    };
    const std::vector<PointsCase> cases = {
        {{"--method", "zelbrin", "--points", "6"}, 18},
        {{"--method", "gauss", "--points", "5"}, 5},
        {{"--method", "montecarlo", "--ymax", "3", "--points", "4000"}, 4000},
    };
    for (const PointsCase& c : cases) {
        std::vector<std::string_view> args = {"--integrand", "2", "--lower", "0.5", "--upper", "2"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::vector<std::string_view> table = args;
        table.resize(table.size() - 2);
        table.insert(table.end(), {"--format", "json"});
        SCOPED_TRACE(std::string(c.args[1]));
        const Outcome points = runTool([&] {
            std::vector<std::string_view> a = args;
            a.insert(a.end(), {"--format", "tsv"});
            return a;
        }());
        ASSERT_EQ(points.status, 0) << points.err;
        std::istringstream lines(points.out);
        std::string header;
        std::getline(lines, header);
        double sum = 0.0;
        std::size_t count = 0;
        double hits = 0.0;
        for (std::string line; std::getline(lines, line); ++count) {
            std::istringstream fields(line);
            std::vector<double> values;
            for (std::string field; std::getline(fields, field, '\t');) {
                values.push_back(std::stod(field));
            }
            if (header == "x\tfx\tweight") {
                sum += values[2] * values[1];
            } else {
                ASSERT_EQ(header, "x\ty\tfx\thit");
                hits += values[3];
                EXPECT_EQ(values[3] == 1.0, values[1] < values[2]) << line;
            }
        }
        EXPECT_EQ(count, c.points);
        const nlohmann::json run = nlohmann::json::parse(runTool(table).out);
        const nlohmann::json* row = nullptr;
        for (const auto& r : run["rows"]) {
            if (std::to_string(r["n"].get<int>()) == c.args.back()) {
                row = &r;
            }
        }
        ASSERT_NE(row, nullptr);
        const double estimate = (*row)["estimate"];
        if (header == "x\tfx\tweight") {
            EXPECT_NEAR(sum, estimate, 1e-12 * std::fabs(estimate));
        } else {
            EXPECT_DOUBLE_EQ(hits / static_cast<double>(count) * 3.0 * 1.5, estimate);
        }
    }
    const Outcome notARow = runTool({"--method", "zelbrin", "--points", "5"});
    EXPECT_EQ(notARow.status, 2);
    EXPECT_NE(notARow.err.find("--points must be the count of a row of zelbrin: 2, 4, ..., 20"),
              std::string::npos)
        << notARow.err;
}

TEST(TableCommandTest, LimitsArePutInOrderAndMissingInputsCountAsZero) {
    const Outcome swapped =
        runTool({"--method", "GAUSS", "--integrand", "2", "--lower", "1", "--upper", "0"});
    const Outcome ordered =
        runTool({"--method", "gauss", "--integrand", "2", "--lower", "0", "--upper", "1"});
    EXPECT_EQ(swapped.out, ordered.out);

    // Missing inputs: the rows of a window left so, and one line on stderr for each.
    const Outcome noBox = runTool({"--method", "montecarlo", "--integrand", "2", "--upper", "1"});
    EXPECT_EQ(noBox.status, 0);
    EXPECT_EQ(noBox.out.substr(0, 9), "2000   .\n");
    EXPECT_EQ(noBox.out.substr(noBox.out.size() - 7), "S = 0.\n");
    EXPECT_EQ(noBox.err,
              "integral-table: no --ymax given: the Monte Carlo box has height 0, so every "
              "estimate is 0, as in the window before a click on the canvas\n");
    const Outcome nothing = runTool({"--method", "gauss", "--upper", "1"});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out, "2   0\n3   0\n4   0\n5   0\n6   0\nS = 0.\n");
    EXPECT_EQ(std::count(nothing.err.begin(), nothing.err.end(), '\n'), 1);
    EXPECT_NE(nothing.err.find("no integrand is chosen"), std::string::npos);
}

TEST(TableCommandTest, UsageErrorsNameTheProblemAndPrintNothingOnStdout) {
    const std::string long_(100000, 'y');
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{}, "--method is required"},
        {{"--method", "simpson"}, "unknown method"},
        {{"--method", "gauss", "--integrand", "6"}, "--integrand must be"},
        {{"--method", "gauss", "--integrand", "2.0"}, "--integrand must be"},
        {{"--method", "gauss", "--lower", "abc"}, "'abc' is not a number"},
        {{"--method", "gauss", "--lower", "1 2"}, "'1 2' is not a number"},
        {{"--method", "gauss", "--lower", "1,5"}, "'1,5' is not a number"},
        {{"--method", "gauss", "--upper", "1e999"}, "'1e999' is beyond the double range"},
        {{"--method", "\x1b]0;x\a\x1b[2J"}, "method '\\x1b]0;x\\x07\\x1b[2J'"},
        {{"--method", std::string_view(long_.data(), long_.size())}, "'yyyyy"},
        {{"--method", "gauss", "--upper"}, "--upper needs a value"},
        {{"--method", "gauss", "--ymax", "1e39"}, "single-precision"},
        {{"--method", "gauss", "--colour", "red"}, "unknown option '--colour'"},
        {{"--method", "gauss", "--method", "zelbrin"}, "more than once"},
        {{"--method", "gauss", "--format", "xml"}, "unknown format 'xml'"},
        {{"--method", "gauss", "--function", "x*y"}, "--function 'x*y', column 3: \"y\" is not"},
        {{"--method", "gauss", "--function", "sin(x"}, "column 6: a bracket is opened"},
        {{"--method", "gauss", "--integrand", "2", "--function", "x"}, "cannot both be given"},
        {{"--method", "it's"}, "method 'it\\'s'"},
        {{"--compare", "--budget", "9"}, "--budget must be a whole number"},
        {{"--compare", "--budget", "1.5e3x"}, "--budget must be a whole number"},
        {{"--compare", "--budget", "1000.5"}, "--budget must be a whole number"},
        {{"--compare", "--budget", "1000001"}, "from 10 to 1000000"},
        {{"--compare", "--methods", "gauss,simpson"}, "unknown method 'simpson'"},
        {{"--compare", "--methods", "gauss,,sobol"}, "unknown method ''"},
        {{"--compare", "--methods", "sobol,Sobol"}, "--methods names sobol twice"},
        {{"--compare", "--method", "gauss"}, "--method and --points are for one method"},
        {{"--method", "gauss", "--budget", "100"}, "--budget and --methods go with --compare"},
        {{"--compare", "--seed", "-1"}, "--seed must be a whole number from 0 to"},
        {{"--sweep", "--budget", "100"}, "--sweep races at every budget from 10 to 1000000"},
        {{"--sweep", "--method", "gauss"}, "--method and --points are for one method"},
        {{"--method", "zelbrin", "--n", "7"},
         "--n for zelbrin must be one of its sizes, multiples of 2 from 2 to 500000 panels, "
         "not '7'"},
        {{"--method", "romberg", "--n", "0"},
         "--n for romberg must be one of its sizes, any number from 1 to 20 levels"},
        {{"--method", "gauss", "--n", "21"}, "2 to 20 nodes in one rule, or multiples of 20"},
        {{"--method", "gauss", "--n", "1"}, "2 to 20 nodes in one rule"},
        {{"--method", "adaptive-simpson", "--n", "16"}, "tolerances 10^-n for n from 1 to 15"},
        {{"--method", "trapezoid", "--n", "7"}, "multiples of 2 from 2 to 1000000"},
        {{"--method", "sobol", "--n", "2000000"}, "multiples of 32 from 32 to 1000000"},
        {{"--method", "trapezoid", "--n", "8", "--points", "8"}, "not with --compare or --points"},
        {{"--method", "sobol", "--seed", "18446744073709551616"}, "--seed must be a whole"},
        {{"--method", "sobol", "--seed", ""}, "--seed must be a whole"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(message);
        const Outcome outcome = runTool(args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
        // Nothing typed reaches the terminal as a control byte, and nothing long is echoed.
        EXPECT_EQ(std::count_if(outcome.err.begin(), outcome.err.end(),
                                [](char c) { return c != '\n' && (c < 0x20 || c == 0x7F); }),
                  0);
        EXPECT_LT(outcome.err.size(), 300u);
    }
}

// A seed gives its own rows, the same ones every time; without one a table takes the window's
// sequence, as it always did.
TEST(TableCommandTest, ASeedGivesRowsOfItsOwn) {
    const auto rows = [](std::vector<std::string_view> more) {
        std::vector<std::string_view> args = {"--method", "mean-value", "--integrand",
                                              "2",        "--upper",    "1"};
        args.insert(args.end(), more.begin(), more.end());
        const Outcome outcome = runTool(args);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return outcome.out;
    };
    EXPECT_EQ(rows({"--seed", "7"}), rows({"--seed=7"}));
    EXPECT_NE(rows({"--seed", "7"}), rows({"--seed", "8"}));
    EXPECT_NE(rows({"--seed", "7"}), rows({}));
    Model window;
    window.chooseIntegrand(1);
    window.setUpper(Variant::real(1));
    EXPECT_EQ(rows({}).substr(rows({}).rfind("S = ")),
              *window.run(Method::MeanValue).summary + "\n");
}

// The race takes its options as people write them: spaces after the commas, a budget written
// with an exponent; --details, which adds nothing to it, is said to.
TEST(TableCommandTest, TheRaceTakesItsOptionsAsPeopleWriteThem) {
    const auto race = [](std::vector<std::string_view> more) {
        std::vector<std::string_view> args = {"--compare", "--integrand", "2", "--upper", "1"};
        args.insert(args.end(), more.begin(), more.end());
        return runTool(args);
    };
    const Outcome plain = race({"--methods", "gauss,sobol", "--budget", "10000"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    for (const std::vector<std::string_view>& same :
         {std::vector<std::string_view>{"--methods", "gauss, sobol", "--budget", "1e4"},
          {"--methods", " gauss , sobol ", "--budget", "10000.0"}}) {
        const Outcome outcome = race(same);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, plain.out);
    }
    const Outcome details = race({"--methods", "gauss,sobol", "--budget", "10000", "--details"});
    EXPECT_EQ(details.out, plain.out);
    EXPECT_NE(details.err.find("--details adds nothing to a race"), std::string::npos);
}

// What the honest references say reaches the table tool: an integral that does not exist is
// named after the rows (which still show what the method computes), with no error on any row;
// the rule-of-three sigma is said to be one; --points of a row never made still gives JSON.
TEST(TableCommandTest, TheToolSaysWhatTheReferenceCannotGive) {
    const Outcome divergent =
        runTool({"--method", "gauss", "--function", "1/(x-0.3)", "--upper", "1", "--details"});
    EXPECT_EQ(divergent.status, 0) << divergent.err;
    EXPECT_NE(divergent.out.find("reference=none error=none"), std::string::npos);
    EXPECT_NE(divergent.out.find("# no reference: the integral of this function over these "
                                 "limits does not exist: f grows like 1/|x - 0.3|^1 near x = 0.3"),
              std::string::npos)
        << divergent.out;
    const Outcome json = runTool(
        {"--method", "gauss", "--function", "1/(x-0.3)", "--upper", "1", "--format", "json"});
    const nlohmann::json document = nlohmann::json::parse(json.out);
    EXPECT_TRUE(document["reference"].is_null());
    EXPECT_DOUBLE_EQ(document["divergence"]["at"].get<double>(), 0.3);
    EXPECT_DOUBLE_EQ(document["divergence"]["power"].get<double>(), 1.0);
    for (const auto& row : document["rows"]) {
        EXPECT_TRUE(row["error"].is_null());
    }

    // The bell curve far out in a box of 1: no sample hits, so sigma comes from the rule of
    // three, and the row lies well within it of its limit.
    const Outcome tail = runTool({"--method", "montecarlo", "--integrand", "5", "--lower", "4",
                                  "--upper", "6", "--ymax", "1", "--details"});
    EXPECT_NE(tail.out.find("sigma=0.0015 "), std::string::npos) << tail.out;
    EXPECT_NE(tail.out.find("sigma_from=rule-of-three"), std::string::npos);

    const Outcome points = runTool({"--method", "gauss", "--function", "ln(-x)", "--lower", "0",
                                    "--upper", "1", "--format", "json", "--points", "4"});
    EXPECT_EQ(points.status, 1);
    const nlohmann::json never = nlohmann::json::parse(points.out);
    EXPECT_EQ(never["fault"], "Invalid operation");
    EXPECT_TRUE(never["points"].empty());
    EXPECT_EQ(never["n"], 4);
}

TEST(TableCommandTest, RunTimeErrorKeepsTheRowsBeforeIt) {
    const Outcome early =
        runTool({"--method", "zelbrin", "--integrand", "1", "--lower", "-1000", "--upper", "0"});
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.out, "");
    // The window's message for the same fault, word for word.
    Model model;
    model.chooseIntegrand(0);
    model.setLower(Variant::real(-1000));
    model.setUpper(Variant::real(0));
    const MethodRun same = model.run(Method::Zelbrin);
    ASSERT_TRUE(same.fault.has_value());
    EXPECT_EQ(early.err, "integral-table: run-time error: " + faultText(*same.fault) + "\n");

    const Outcome late =
        runTool({"--method", "gauss", "--integrand", "1", "--lower", "-850", "--upper", "850"});
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.out.find("S ="), std::string::npos);
    EXPECT_EQ(std::count(late.out.begin(), late.out.end(), '\n'), 2);
    EXPECT_EQ(late.out.find("inf"), std::string::npos);
}

// A stream that refuses every byte, as a full disk does.
class RefusingBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(TableCommandTest, AnOutputThatCannotBeWrittenIsReportedWithItsOwnStatus) {
    RefusingBuffer refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    const std::vector<std::string_view> args = {"--method", "gauss", "--integrand", "2"};
    EXPECT_EQ(runTableCommand(args, out, err), 3);
    EXPECT_EQ(err.str().rfind("integral-table: cannot write the output", 0), 0u) << err.str();
}

TEST(TableCommandTest, HelpAndVersionAsEveryToolHasThem) {
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        {"--help", "Usage: integral-table --method"},
        {"-h", "Usage: integral-table --method"},
        {"--version", "integral-table " + std::string(kVersion) + "\n"},
    };
    for (const auto& [option, start] : cases) {
        SCOPED_TRACE(option);
        const Outcome outcome = runTool({"--method", "gauss", option});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind(start, 0), 0u) << outcome.out;
        EXPECT_EQ(outcome.err, "");
    }
}

}  // namespace
}  // namespace integral
