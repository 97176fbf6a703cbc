// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/integrand_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/faults.h"

namespace integral {
namespace {

struct ValueCase {
    int fnum;
    double x;
    double expected;
};

TEST(IntegrandCatalogueTest, ValuesFollowTheGivenOrderOfEvaluation) {
    const std::vector<ValueCase> cases = {
        {1, 1.0, 1.0 * std::exp(-1.0)},
        {1, -10.0, -10.0 * std::exp(10.0)},
        {2, 0.0, 4.0},
        {2, 1.0, 2.0},
        {2, 0.5, 4.0 / (0.5 * 0.5 + 1)},
        {3, 0.0, -2.0},
        {3, 1.0, -1.0},
        {4, 0.0, 0.0},
        {4, 2.0, 2.0 * std::sin(2.0)},
        {5, 0.0, std::exp(0.0) / std::sqrt(6.283184) * 10},
        {5, 1.5, std::exp(-1.5 * 1.5 / 2) / std::sqrt(6.283184) * 10},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE("fnum " + std::to_string(c.fnum) + " x " + std::to_string(c.x));
        const Variant value = evaluateIntegrand(Variant::integer(static_cast<std::int16_t>(c.fnum)),
                                                Variant::real(c.x));
        EXPECT_EQ(value.type(), Variant::Type::Double);
        EXPECT_EQ(value.toDouble(), c.expected);
    }
}

TEST(IntegrandCatalogueTest, FifthIntegrandUsesTheTruncatedTwoPi) {
    const double value = evaluateIntegrand(Variant::integer(5), Variant::real(0.0)).toDouble();
    EXPECT_NEAR(value, 3.9894232190, 5e-11);
    EXPECT_GT(value - 10 / std::sqrt(2 * M_PI), 4e-7);
}

TEST(IntegrandCatalogueTest, NothingChosenGivesEmpty) {
    for (const Variant fnum : {Variant(), Variant::integer(0), Variant::integer(6)}) {
        EXPECT_TRUE(evaluateIntegrand(fnum, Variant::real(1.0)).isEmpty());
    }
}

TEST(IntegrandCatalogueTest, OverflowingExponentialRaisesOverflow) {
    EXPECT_EQ(test::faultOf([] { evaluateIntegrand(Variant::integer(1), Variant::real(-1000.0)); }),
              Fault::Overflow);
}

TEST(IntegrandCatalogueTest, LabelsReadExactlyAsListed) {
    EXPECT_EQ(kIntegrandLabels[0], "y = x*Exp(-x)");
    EXPECT_EQ(kIntegrandLabels[1], "y = 4 / (x*x + 1)");
    EXPECT_EQ(kIntegrandLabels[2], "y = x*x - 2");
    EXPECT_EQ(kIntegrandLabels[3], "y = x*sin(x)");
    EXPECT_EQ(kIntegrandLabels[4], "y = Exp(-x*x/2)10/\xE2\x88\x9A(2\xCF\x80)");
}

}  // namespace
}  // namespace integral

namespace integral {
namespace {

// The double fast path must give the bits (or the fault) of the variant arithmetic.
TEST(IntegrandCatalogueTest, DoublePathMatchesTheVariantArithmetic) {
    const std::vector<double> points = {0.0,   -0.0,   1e-300, 0.1,    -0.7745966692414834,
                                        3.5,   -10.0,  700.0,  -700.0, -710.0,
                                        1e154, -2e154, 1e200,  -1e308, 1.7976931348623157e308};
    for (int fnum = 0; fnum <= 6; ++fnum) {
        for (const double x : points) {
            SCOPED_TRACE("fnum " + std::to_string(fnum) + " x " + std::to_string(x));
            const Variant n = Variant::integer(static_cast<std::int16_t>(fnum));
            Variant fast;
            Variant reference;
            const std::optional<Fault> fastFault =
                test::faultOf([&] { fast = evaluateIntegrand(n, Variant::real(x)); });
            const std::optional<Fault> referenceFault =
                test::faultOf([&] { reference = evaluateIntegrandVariant(n, Variant::real(x)); });
            EXPECT_EQ(fastFault, referenceFault);
            EXPECT_TRUE(fast.identical(reference));
        }
    }
}

}  // namespace
}  // namespace integral
