#include "integrands/integrand_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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
    try {
        evaluateIntegrand(Variant::integer(1), Variant::real(-1000.0));
        ADD_FAILURE() << "no fault raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.fault(), Fault::Overflow);
    }
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
