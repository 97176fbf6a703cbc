// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/exact_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace integral {
namespace {

struct ExactCase {
    Formula formula;
    double lower;
    double upper;
    double expected;  // to 20 digits, from the closed forms in 60-digit arithmetic apart
};

constexpr Formula kXExp = Formula::XExp;
constexpr Formula kLorentz = Formula::Lorentz;
constexpr Formula kParabola = Formula::Parabola;
constexpr Formula kXSin = Formula::XSin;
constexpr Formula kBell = Formula::Bell;

// To the last digit, also where the antiderivative's two values cancel: intervals short and
// near 0, 4 atan x far out, the bell curve's tails, sines of huge arguments, and differences
// that end among the subnormals. The references are 800-digit values rounded to doubles.
TEST(ExactIntegralTest, ClosedFormsToTheLastDigit) {
    const std::vector<ExactCase> cases = {
        {kXExp, 0, 1, 0.26424111765711535681},
        {kXExp, -2, 2.9, -7.6036466571506384346},
        {kXExp, -700, 0, -7.0894820625976815211e+306},
        {kXExp, 0, 1e-6, 4.9999966666679162138e-13},
        {kXExp, 0, 1e-150, 5.000000000000000063e-301},
        {kLorentz, 0, 1, 3.1415926535897932385},
        {kLorentz, 1e8, 1.0000001e8, 3.9999996000000396e-15},
        {kLorentz, 1e150, 1.0000001e150, 3.9999996019487241071e-157},
        {kParabola, 0, 3, 3.0},
        {kParabola, -1.7, -1.1, -0.0059999999999999693578},
        {kXSin, 0, 3, 3.1110974978612035939},
        {kXSin, -2, 3, 4.8526885977811700633},
        {kXSin, 0, 1e-6, 3.3333333333329995475e-19},
        {kXSin, 0, 1e-30, 3.3333333333333341667e-91},
        {kXSin, 0, 1e300, 5.753861119575490769e+299},
        {kBell, -1.5, 0.7, 6.9122921841115038876},
        {kBell, 0, 1e-9, 3.9894232190023153055e-9},
        {kBell, -9, -8, 6.2198326328655818875e-15},
        {kBell, 30, 31, 4.9067144375544203587e-197},
        {kBell, 0.3, 0.3, 0.0},
        {kBell, -1e-40, 0, 3.98942321900231477558e-40},
        {kBell, -1e-60, 0, 3.9894232190023149397e-60},
        {kBell, 0.5, 0.5000000000000009, 3.12696858084092378272e-15},
        {kBell, -1.5, -1.4999999999999996, 5.75173727040208871369e-16},
    };
    for (const ExactCase& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.formula)) + ": " + std::to_string(c.lower) +
                     " to " + std::to_string(c.upper));
        const std::optional<double> value = exactIntegral(c.formula, c.lower, c.upper);
        ASSERT_TRUE(value.has_value());
        // Within one ulp: the rounding of the 50-digit value may land on either neighbour.
        const double ulp = std::nextafter(std::fabs(c.expected), INFINITY) - std::fabs(c.expected);
        EXPECT_LE(std::fabs(*value - c.expected), ulp) << *value;
    }
}

// Simpson's rule on x*x - 2 over 0..1 with its nodes 0, 0.5, 1 exact is exact: the rule's own
// error is 0 to 50 digits, and the whole error of the double estimate is its rounding.
TEST(ExactIntegralTest, RuleRoundingSplitsTheErrorAtFiftyDigits) {
    const double estimate = -1.6666666666666667;  // the nearest double to -5/3
    const std::vector<RuleTerm> terms = {
        {0.0, -2.0, 1.0, 6.0}, {0.5, -1.75, 4.0, 6.0}, {1.0, -1.0, 1.0, 6.0}};
    const std::optional<RuleSplit> split =
        ruleRounding(Formula::Parabola, terms, 0.0, 1.0, estimate);
    ASSERT_TRUE(split.has_value());
    ASSERT_TRUE(split->ruleError.has_value());
    EXPECT_LT(std::fabs(*split->ruleError), 1e-45);
    // The double -1.6666666666666667 lies 7.4e-17 below -5/3.
    EXPECT_EQ(split->rounding, -7.401486830834377e-17);
    // Without a formula the values used are summed exactly: no rule error is known.
    const std::optional<RuleSplit> typed = ruleRounding(std::nullopt, terms, 0.0, 1.0, estimate);
    ASSERT_TRUE(typed.has_value());
    EXPECT_FALSE(typed->ruleError.has_value());
    EXPECT_EQ(typed->rounding, split->rounding);
}

TEST(ExactIntegralTest, NothingChosenIsZeroAndBeyondTheDoublesIsNothing) {
    EXPECT_EQ(exactIntegral(Formula::None, -1e300, 1e300), 0.0);
    EXPECT_FALSE(exactIntegral(kXExp, -710, 0).has_value());
    EXPECT_FALSE(exactIntegral(kParabola, -1e200, 1e200).has_value());
    EXPECT_EQ(exactIntegral(kBell, 1e10, 1e10 + 1), 0.0);
}

}  // namespace
}  // namespace integral
