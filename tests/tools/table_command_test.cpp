#include "table_command.h"

#include <gtest/gtest.h>

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

TEST(TableCommandTest, LimitsArePutInOrderAndMissingInputsCountAsZero) {
    const Outcome swapped =
        runTool({"--method", "GAUSS", "--integrand", "2", "--lower", "1", "--upper", "0"});
    const Outcome ordered =
        runTool({"--method", "gauss", "--integrand", "2", "--lower", "0", "--upper", "1"});
    EXPECT_EQ(swapped.out, ordered.out);

    const Outcome noBox = runTool({"--method", "montecarlo", "--integrand", "2", "--upper", "1"});
    EXPECT_EQ(noBox.status, 0);
    EXPECT_EQ(noBox.out.substr(0, 9), "2000   .\n");
    EXPECT_EQ(noBox.out.substr(noBox.out.size() - 7), "S = 0.\n");
}

TEST(TableCommandTest, UsageErrorsNameTheProblemAndPrintNothingOnStdout) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{}, "--method is required"},
        {{"--method", "simpson"}, "unknown method"},
        {{"--method", "gauss", "--integrand", "6"}, "--integrand must be"},
        {{"--method", "gauss", "--integrand", "2.0"}, "--integrand must be"},
        {{"--method", "gauss", "--lower", "abc"}, "--lower needs a number"},
        {{"--method", "gauss", "--lower", "1 2"}, "--lower needs a number"},
        {{"--method", "gauss", "--upper", "1e999"}, "--upper needs a number"},
        {{"--method", "gauss", "--upper"}, "--upper needs a value"},
        {{"--method", "gauss", "--ymax", "1e39"}, "single-precision"},
        {{"--method", "gauss", "--colour", "red"}, "unknown option '--colour'"},
        {{"--method", "gauss", "--method", "zelbrin"}, "more than once"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(message);
        const Outcome outcome = runTool(args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
    }
}

TEST(TableCommandTest, RunTimeErrorKeepsTheRowsBeforeIt) {
    const Outcome early =
        runTool({"--method", "zelbrin", "--integrand", "1", "--lower", "-1000", "--upper", "0"});
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.out, "");
    EXPECT_EQ(early.err, "integral-table: run-time error: Overflow\n");

    const Outcome late =
        runTool({"--method", "gauss", "--integrand", "1", "--lower", "-850", "--upper", "850"});
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.out.find("S ="), std::string::npos);
    EXPECT_EQ(std::count(late.out.begin(), late.out.end(), '\n'), 2);
    EXPECT_EQ(late.out.find("inf"), std::string::npos);
}

TEST(TableCommandTest, HelpPrintsTheUsage) {
    const Outcome help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: integral-table --method", 0), 0u);
}

}  // namespace
}  // namespace integral
