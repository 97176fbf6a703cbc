// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/typed_cube_function.h"

#include <gtest/gtest.h>

namespace integral {
namespace {

std::shared_ptr<const TypedExpression> parsed(std::string_view text, int d) {
    auto result = TypedExpression::parse(text, d);
    if (auto* problem = std::get_if<ExpressionProblem>(&result)) {
        ADD_FAILURE() << problem->message;
        return nullptr;
    }
    return std::get<std::shared_ptr<const TypedExpression>>(result);
}

TEST(TypedCube, VariablesAreX1ToXd) {
    const struct {
        std::string_view text;
        int d;
        std::string_view message;  // empty where the text is good
        int column;
    } cases[] = {
        {"x1*x10", 10, "", 0},
        {"x1 + x11", 10, "\"x11\" is not known: the variables are x1 to x10", 6},
        {"x + 1", 3, "\"x\" is not known: the variables are x1 to x3", 1},
        {"x2", 1, "\"x2\" is not known: the only variable is x1", 1},
    };
    for (const auto& c : cases) {
        auto result = TypedExpression::parse(c.text, c.d);
        if (c.message.empty()) {
            EXPECT_TRUE(std::holds_alternative<std::shared_ptr<const TypedExpression>>(result));
            continue;
        }
        const auto* problem = std::get_if<ExpressionProblem>(&result);
        ASSERT_NE(problem, nullptr) << c.text;
        EXPECT_EQ(problem->message.substr(0, c.message.size()), c.message);
        EXPECT_EQ(problem->column, c.column) << c.text;
    }
}

TEST(TypedCube, ReferenceCoversTheIntegral) {
    const struct {
        std::string_view text;
        int d;
        double lower, upper, exact;
        double tightness = 1e-6;  // the widest uncertainty, relative to the integral
    } cases[] = {
        {"x1*x2", 2, 0.0, 1.0, 0.25},
        {"exp(x1+x2+x3)", 3, 0.0, 1.0, std::pow(std::exp(1.0) - 1.0, 3)},
        {"x1^2 + x2^2", 2, -1.0, 2.0, 2 * 3.0 * 3.0},
        // Computed as 0, as (1 + x1)^2 rounds to 1: what its rounding hides must be covered.
        {"(1+x1)^2-1", 2, 0.0, 1e-17, 1e-51, 100.0},
    };
    for (const auto& c : cases) {
        const TypedCubeFunction f(parsed(c.text, c.d), c.lower, c.upper);
        const CubeReference reference = cubeReference(f);
        ASSERT_TRUE(reference.value) << c.text;
        EXPECT_NEAR(*reference.value, c.exact, *reference.uncertainty + 1e-15 * c.exact) << c.text;
        EXPECT_LT(*reference.uncertainty, c.tightness * c.exact);
    }
}

TEST(TypedCube, NoReferenceWhereFHasNoValueOrWillNotSettle) {
    const TypedCubeFunction pole(parsed("1/(x1 - 0.5)", 2), 0.0, 1.0);
    EXPECT_EQ(cubeReference(pole).absent, NoReference::NotFinite);
    const TypedCubeFunction jump(parsed("(x1 + x2 < 0.7071) * sin(50*x3)", 3), 0.0, 1.0);
    const CubeReference reference = cubeReference(jump);
    EXPECT_EQ(reference.absent, NoReference::NotConverged);
    EXPECT_FALSE(reference.value);
}

}  // namespace
}  // namespace integral
