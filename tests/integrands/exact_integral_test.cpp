// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/exact_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/values.h"

namespace integral {
namespace {

struct ExactCase {
    int fnum;
    double lower;
    double upper;
    double expected;  // to 20 digits, from the closed forms in 40-digit arithmetic
};

// To 14 digits, also where the limits nearly cancel (4 atan x far out) and in the bell curve's
// tails, where an erf difference would lose every digit.
TEST(ExactIntegralTest, ClosedFormsToFullPrecision) {
    const std::vector<ExactCase> cases = {
        {1, 0, 1, 2.6424111765711535681e-1},
        {1, -2, 2.9, -7.6036466571506384346},
        {1, -700, 0, -7.0894820625976815211e+306},
        {2, 0, 1, 3.1415926535897932385},
        {2, 1e8, 1.0000001e8, 3.9999996000000396e-15},
        {3, 0, 3, 3.0},
        {3, -1.7, -1.1, -5.9999999999999693578e-3},
        {4, 0, 3, 3.1110974978612035939},
        {4, -2, 3, 4.8526885977811700633},
        {5, -1.5, 0.7, 6.9122921841115044},
        {5, 8, 9, 6.2198326328655823487e-15},
        {5, -9, -8, 6.2198326328655823487e-15},
        {5, 0.3, 0.3, 0.0},
    };
    for (const ExactCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.fnum) + ": " + std::to_string(c.lower) + " to " +
                     std::to_string(c.upper));
        const std::optional<double> value = exactIntegral(test::I(c.fnum), c.lower, c.upper);
        ASSERT_TRUE(value.has_value());
        EXPECT_NEAR(*value, c.expected, 1e-14 * std::fabs(c.expected));
    }
}

TEST(ExactIntegralTest, NothingChosenIsZeroAndBeyondTheDoublesIsNothing) {
    EXPECT_EQ(exactIntegral(Variant(), -1e300, 1e300), 0.0);
    EXPECT_FALSE(exactIntegral(test::I(1), -710, 0).has_value());
    EXPECT_FALSE(exactIntegral(test::I(3), -1e200, 1e200).has_value());
}

}  // namespace
}  // namespace integral
