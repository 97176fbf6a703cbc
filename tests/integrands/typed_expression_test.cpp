// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/typed_expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <variant>
#include <vector>

#include "support/typed.h"

namespace integral {
namespace {

// The functions, constants and spellings a student may type, read as a student means them.
TEST(TypedExpressionTest, ReadsWhatAStudentTypes) {
    struct Case {
        const char* text;
        double x;
        double value;
    };
    for (const Case& c : std::vector<Case>{
             {"x^4", 2, 16},
             {"1/sqrt(x)", 4, 0.5},
             {"abs(x)", -3, 3},
             {"sin(10*x)", 0.05, std::sin(0.5)},
             {"ln(e) + log(e) + log10(100)", 7, 4},
             {"pi", 0, std::numbers::pi},
             {"y = x*Exp(-x)", 1, std::exp(-1.0)},
             {"f(x) = Sqr(x) + Atn(1)", 4, 2 + std::numbers::pi / 4},
             {"-x^2", 3, -9},
             {"(x > 0) * x", -2, 0},
             {"2^3^2*x", 1, 512},
             {"-2^x + x/2/4", 2, -3.75},
             {"2^-x * x*3/6*2", 1, 0.5},
             {"x < 2 ? x*2 : x/2", 4, 2},
         }) {
        SCOPED_TRACE(c.text);
        const auto expression = test::parsed(c.text);
        EXPECT_DOUBLE_EQ(expression->evaluate(c.x), c.value);
        // The copies that measure f's own rounding read the text as this one does: where
        // nothing cancels, they move f by a few roundings at most.
        EXPECT_LE(expression->roundingOfFunctions(c.x), 1e-14 * std::fabs(c.value) + 1e-300);
        EXPECT_LE(expression->roundingOfOperations(c.x), 1e-14 * std::fabs(c.value) + 1e-300);
    }
}

// Bad input gets a message that says what is wrong and where, and never repeats a control
// character of the text.
TEST(TypedExpressionTest, BadInputSaysWhatAndWhere) {
    struct Case {
        std::string text;
        int column;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"", 1, "type an expression"},
        {"   ", 1, "type an expression"},
        {"x*y", 3, "\"y\" is not known"},
        {"foo(x)", 1, "\"foo\" is not known"},
        {"sin(x", 6, "not closed"},
        {"(x))", 4, "bracket"},
        {"2 3", 3, "without an operator"},
        {"x=3", 2, "would assign"},
        {"1,2", 2, "one expression"},
        {"x\x01", 2, "control character (\\x01)"},
        // Behind "y =" the columns still count from the first character of what was typed.
        {"y = x*y", 7, "\"y\" is not known"},
        {"f(x) = sin(x", 13, "not closed"},
        {std::string(10000, 'x'), 1001, "at most 1000"},
        // Columns and lengths count characters; characters are named as they are seen, those
        // that show as nothing by their code point.
        {"x\u00b2+1", 2, "\"\u00b2\" is not known: write a power with ^, as x^2"},
        {"\u00e9\u00e9\x01", 3, "control character (\\x01)"},
        {"x+\u00e9", 3, "\"\u00e9\" is not known:"},
        {"x+\u200f1", 3, "an invisible character (U+200F) stands here"},
        {"x+\xff", 3, "\"\\xff\" is not known"},
        {"1e309", 1, "the number 1e309 is too large"},
        {"x+2.5e+400", 3, "the number 2.5e+400 is too large"},
        {[] {
             std::string many;
             for (int i = 0; i < 1001; ++i) {
                 many += "\u00e9";
             }
             return many;
         }(),
         1001, "is 1001 characters long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        const auto result = TypedExpression::parse(c.text);
        const auto* problem = std::get_if<ExpressionProblem>(&result);
        ASSERT_NE(problem, nullptr);
        EXPECT_EQ(problem->column, c.column) << problem->message;
        EXPECT_NE(problem->message.find(c.says), std::string::npos) << problem->message;
        for (const char ch : problem->message) {
            EXPECT_GE(static_cast<unsigned char>(ch), 0x20);
        }
    }
}

}  // namespace
}  // namespace integral
