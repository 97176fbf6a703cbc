// SPDX-License-Identifier: GPL-3.0-or-later
// A typed integrand's reference is right or absent: its uncertainty covers the truth, the
// integral that does not exist is named, and what cannot be known is not given a number. The
// truths are 40-digit values computed apart from the program (mpmath, split at the points
// where each integrand is singular, kinked or peaked).
#include "integrands/reference_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/typed.h"

namespace integral {
namespace {

struct ReferenceCase {
    const char* text;
    double lower;
    double upper;
    std::optional<double> truth;  // nothing: the integral does not exist
    bool exists = true;           // false: it exists, but cannot be known here
    double tightness = 0.05;      // the widest uncertainty, relative to the truth
    // The narrowest honest uncertainty, relative to the truth: what one ulp of x changes a
    // steep f by, which no agreement of two quadratures on the same rounded nodes can show.
    double atLeast = 0.0;
};

TEST(ReferenceIntegralTest, UncertaintyCoversTheTruthOrNoValueIsGiven) {
    const std::vector<ReferenceCase> cases = {
        {"x^4", 0.0, 1.0, 0.2},
        {"sin(x)", 0.0, 3.141592653589793, 2.0},
        {"exp(x)", -3.0, 2.0, 7.3392690305627862843},
        {"1/(1+x^2)", -5.0, 5.0, 2.7468015338900317217},
        {"x*sin(10*x)", 0.0, 3.0, -0.056155751207203833115},
        {"exp(-x^2)", -10.0, 10.0, 1.7724538509055160273},
        {"1/sqrt(x)", 0.0, 1.0, 2.0},
        {"x^(-0.99)", 0.0, 1.0, 100.0, true, 1e-10},
        {"x^(-0.9)", 0.0, 2.0, 10.717734625362931642},
        {"1/sqrt(1-x^2)", -1.0, 1.0, 3.1415926535897932385},
        {"ln(x)", 0.0, 1.0, -1.0},
        {"1/x", 1e-300, 1.0, 690.77552789821370518},
        {"1/sqrt(1-x)", 0.0, 1.0, 2.0},
        {"sqrt(x)", 0.0, 1.0, 0.66666666666666666667},
        {"x^(-0.5)*exp(-x)", 0.0, 5.0, 1.769679247645103218},
        {"1/sqrt(abs(x-0.13))", 0.0, 1.0, 2.5865860657105608753},
        {"sqrt(abs(x-0.13))", 0.0, 1.0, 0.57223609613317251064},
        {"abs(x-0.13)", 0.0, 1.0, 0.38689999999999999671},
        {"exp(-1e6*(x-0.13)^2)", 0.0, 1.0, 0.0017724538509055160273},
        {"(x>0.13)", 0.0, 1.0, 0.86999999999999999556},
        {"abs(x-0.13)^(-0.7)", 0.0, 1.0, 5.0043713622796851766},
        {"1/sqrt(abs(x-0.37))", 0.0, 1.0, 2.8040032926983982904},
        {"sqrt(abs(x-0.37))", 0.0, 1.0, 0.48340614094149450089},
        {"abs(x-0.37)", 0.0, 1.0, 0.26690000000000000115},
        {"exp(-1e6*(x-0.37)^2)", 0.0, 1.0, 0.0017724538509055160273},
        {"(x>0.37)", 0.0, 1.0, 0.63000000000000000444},
        {"abs(x-0.37)^(-0.7)", 0.0, 1.0, 5.3755455236494645183},
        {"1/sqrt(abs(x-0.5))", 0.0, 1.0, 2.8284271247461900976},
        {"sqrt(abs(x-0.5))", 0.0, 1.0, 0.47140452079103168293},
        {"abs(x-0.5)", 0.0, 1.0, 0.25},
        {"exp(-1e6*(x-0.5)^2)", 0.0, 1.0, 0.0017724538509055160273},
        {"(x>0.5)", 0.0, 1.0, 0.5},
        {"abs(x-0.5)^(-0.7)", 0.0, 1.0, 5.4150159757082368591},
        {"1/sqrt(abs(x-0.71))", 0.0, 1.0, 2.7622629160621725562},
        {"sqrt(abs(x-0.71))", 0.0, 1.0, 0.50295094220161470898},
        {"abs(x-0.71)", 0.0, 1.0, 0.29409999999999998508},
        {"exp(-1e6*(x-0.71)^2)", 0.0, 1.0, 0.0017724538509055160273},
        {"(x>0.71)", 0.0, 1.0, 0.29000000000000003553},
        {"abs(x-0.71)^(-0.7)", 0.0, 1.0, 5.307163786922783107},
        {"1/sqrt(abs(x-0.2345678))", 0.0, 1.0, 2.7184236439218617047},
        {"sqrt(abs(x-0.2345678))", 0.0, 1.0, 0.52218345802638675403},
        {"abs(x-0.2345678)", 0.0, 1.0, 0.32045425279684000373},
        {"exp(-1e6*(x-0.2345678)^2)", 0.0, 1.0, 0.0017724538509055160273},
        {"(x>0.2345678)", 0.0, 1.0, 0.76543220000000000702},
        {"abs(x-0.2345678)^(-0.7)", 0.0, 1.0, 5.2339984184215652821},
        {"abs(x)", -1.0, 2.0, 2.5},
        {"abs(x)", -1.0, 1.0, 1.0},
        {"1/(1e-8+(x-0.3)^2)", 0.0, 1.0, 31411.164631269202577},
        {"ln(abs(x-0.4))", 0.0, 1.0, -1.673011667009256436},
        {"sin(100*x)", 0.0, 10.0, 0.0043762092370929700892},
        {"cos(1000*x)", 0.0, 1.0, 0.00082687954053200256026},
        {"sin(x^2)", 0.0, 10.0, 0.58367089992962334216},
        {"exp(700*x)", 0.0, 1.0, 1.4489029353357207278e+301, true, 0.05, 1e-13},
        {"1e-300*x", 0.0, 1.0, 5.0e-301},
        {"exp(-x)*1e200", 0.0, 10.0, 9.9995460007023751515e+199},
        {"1/x", 0.0, 1.0, std::nullopt, true},
        {"1/x^2", 0.0, 1.0, std::nullopt, true},
        {"1/(x-0.3)", 0.0, 1.0, std::nullopt, true},
        {"tan(x)", 0.0, 2.0, std::nullopt, true},
        {"1/x", -1.0, 1.0, std::nullopt, true},
        {"1/abs(x-0.5)", 0.0, 1.0, std::nullopt, true},
        {"x^(-1.5)", 0.0, 1.0, std::nullopt, true},
        {"1/(1-x)", 0.0, 1.0, std::nullopt, true},
        {"cos(1e6*x)*exp(x)", -10.0, 10.0, std::nullopt, false},
        {"ln(x)", -1.0, 1.0, std::nullopt, false},
        {"asin(x)", -1.0, 1.0, 0.0},
        {"sqrt(1-x^2)", -1.0, 1.0, 1.5707963267948966192},
        // Near the top of the double range, where the quadratures' own sums overflow first.
        {"exp(x)", 0.0, 705.0, 1.5052538330631940638e306},
        {"exp(x)", 0.0, 709.0, 8.2184074615549721892e307},
        {"-exp(x)", 0.0, 708.0, -3.0233831442760550148e307},
        {"2*exp(x)", 0.0, 709.5, std::nullopt, false},
        // Powers next to 1: below it to the last digit, the integral exists; rising towards it
        // decade by decade, as a logarithm makes them, the doubles cannot tell.
        {"x^(-0.995)", 0.0, 0.5, 199.30805256557356685},
        {"x^(-0.999)", 0.0, 0.5, 999.30709299045252192},
        {"1/(x*ln(x)^2)", 0.0, 0.5, std::nullopt, false},
        {"1/(x*ln(x))", 0.0, 0.5, std::nullopt, false},
        {"x^(-1.0001)", 0.0, 0.5, std::nullopt, true},
        // A logarithm beside the power: the tail below the last decade carries it too.
        {"x^(-0.99)*ln(x)", 0.0, 1.0, -10000.0, true, 1e-6},
        {"x^(-0.98)*ln(x)", 0.0, 1.0, -2500.0, true, 1e-6},
        {"x^(-0.5)*ln(x)^2", 0.0, 1.0, 16.0, true, 1e-6},
        {"x^(-0.9)/ln(x)^2", 0.0, 0.5, 1.1300806501006503956, true, 1e-6},
        // 0/0 next to 0, where two underflows meet: f tends to 0 there.
        {"exp(-1/x)/x^2", 0.0, 1.0, 0.36787944117144232160},
        // f computed as 0 where it is the small difference of much larger values: its own
        // rounding bounds what the doubles can tell.
        {"1-cos(x)", 0.0, 1e-9, 1.6666666666666666667e-28},
        {"exp(x)-1", 0.0, 1e-17, 5.0e-35},
        {"cosh(x)-1", 0.0, 1e-9, 1.6666666666666666667e-28},
        {"sqrt(1+x)-1", 0.0, 1e-20, 2.5e-41},
        {"(1+x)^0.5-1", 0.0, 1e-20, 2.5e-41},
        {"(1+x)^2-1", 0.0, 1e-17, 1.0000000000000000003e-34},
        {"1/(1-x)-1", 0.0, 1e-20, 5.0e-41},
        {"cosh(x)-exp(x)/2", 40.0, 41.0, 1.3427360329783001136e-18, true, 1e21},
        {"(1-cos(x))/x^2", 1e-9, 1e-8, 4.5e-9, true, 100.0},
        // Where the samples are too coarse to see where f is: a logarithm half-way between two
        // of them, a peak far narrower than their spacing.
        {"ln(abs(x-0.7071067811865476))", 0.0, 1.0, -1.6047219371592851239, true, 1e-12},
        {"1/(1+x^2)", -1e15, 1e15, 3.1415926535897912385, true, 1e-13},
        {"1/(1+x^2)", -1e15, 1.1e15, 3.1415926535897913294, true, 1e-13},
        // Many oscillations: the evaluations go where the error is largest, over all pieces,
        // and pieces that turn tens of times take the 61-point rule.
        {"sin(x)^2", 0.0, 100000.0, 50000.017862973803130, true, 1e-10},
        {"1/(2+cos(x))", 0.0, 20000.0, 11546.858333309707570, true, 1e-10},
    };
    for (const ReferenceCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " on " + std::to_string(c.lower) + ".." +
                     std::to_string(c.upper));
        const Reference reference = test::typed(c.text).reference(c.lower, c.upper);
        if (c.truth) {
            ASSERT_TRUE(reference.value.has_value());
            EXPECT_LE(std::fabs(reference.value->value - *c.truth), reference.value->uncertainty)
                << reference.value->value << " +- " << reference.value->uncertainty;
            // Honest, and still worth having: a few per cent at worst (an interior singular
            // point not on a double is the hardest case).
            EXPECT_LE(reference.value->uncertainty, c.tightness * std::fabs(*c.truth) + 1e-12);
            EXPECT_GE(reference.value->uncertainty, c.atLeast * std::fabs(*c.truth));
        } else if (c.exists) {
            EXPECT_FALSE(reference.value.has_value()) << reference.value->value;
            EXPECT_TRUE(reference.divergence.has_value());
        } else {
            EXPECT_FALSE(reference.value.has_value()) << reference.value->value;
            EXPECT_FALSE(reference.divergence.has_value());
            EXPECT_TRUE(reference.whyNone.has_value());
        }
    }
}

// Where f loses its digits to cancellation, the reference says where and how many; where it
// does not, it says nothing.
TEST(ReferenceIntegralTest, CancellationInsideFIsNamed) {
    struct Case {
        const char* text;
        double lower;
        double upper;
        int digitsLost;  // 0: no cancellation worth a word
    };
    for (const Case& c : std::vector<Case>{{"1-cos(x)", 0.0, 1e-9, 16},
                                           {"1-cos(x)", 1e-5, 1e-4, 8},
                                           {"sqrt(1+x)-1", 0.0, 1e-20, 16},
                                           {"1/(1-x)-1", 0.0, 1e-20, 16},
                                           {"(x-0.5)*(x+0.5)", 0.0, 1.0, 0},
                                           {"x^2 == x*x", 0.0, 1.0, 0},
                                           {"1-cos(x)", 0.0, 1.0, 0},
                                           {"sin(x)-0.5", 0.0, 1.0, 0},
                                           {"1e-300*sin(x)", 0.0, 1.0, 0},
                                           {"x^2", 0.0, 1e-9, 0},
                                           {"0*x", 1.0, 2.0, 0},
                                           {"sin(x-x)", 1.0, 2.0, 0}}) {
        SCOPED_TRACE(c.text);
        const Reference reference = test::typed(c.text).reference(c.lower, c.upper);
        ASSERT_TRUE(reference.value.has_value());
        if (c.digitsLost == 0) {
            EXPECT_FALSE(reference.cancellation.has_value());
            continue;
        }
        ASSERT_TRUE(reference.cancellation.has_value());
        EXPECT_GE(reference.cancellation->digitsLost, c.digitsLost);
        EXPECT_GE(reference.cancellation->from, c.lower);
        EXPECT_LE(reference.cancellation->to, c.upper);
    }
}

// Where f has no value but tends to 0, the reference says where it took f as 0.
TEST(ReferenceIntegralTest, AVanishingStretchIsNamed) {
    const Reference vanishing = test::typed("exp(-1/x)/x^2").reference(0.0, 1.0);
    ASSERT_TRUE(vanishing.vanishing.has_value());
    EXPECT_EQ(vanishing.vanishing->near, 0.0);
    EXPECT_EQ(vanishing.vanishing->from, 0.0);
    EXPECT_GT(vanishing.vanishing->to, 0.0);
    EXPECT_LT(vanishing.vanishing->to, 1e-100);
    EXPECT_EQ(vanishing.vanishing->noValueAt, vanishing.vanishing->to);
    EXPECT_FALSE(test::typed("exp(-1/x)").reference(0.0, 1.0).vanishing.has_value());
}

// Where and how fast f grows is said in the student's terms.
TEST(ReferenceIntegralTest, DivergenceSaysWhereAndHowFast) {
    const Reference pole = test::typed("1/(x-0.3)").reference(0, 1);
    ASSERT_TRUE(pole.divergence.has_value());
    EXPECT_EQ(divergenceText(*pole.divergence),
              "the integral of this function over these limits does not exist: f grows like "
              "1/|x - 0.3|^1 near x = 0.3");
    EXPECT_EQ(divergenceText({-2.0, 1.5}),
              "the integral of this function over these limits does not exist: f grows like "
              "1/|x + 2|^1.5 near x = -2");
    EXPECT_EQ(divergenceText({0.25, 1.0049}),
              "the integral of this function over these limits does not exist: f grows like "
              "1/|x - 0.25|^1 near x = 0.25");
    const Reference square = test::typed("1/x^2").reference(0, 1);
    ASSERT_TRUE(square.divergence.has_value());
    EXPECT_EQ(divergenceText(*square.divergence),
              "the integral of this function over these limits does not exist: f grows like "
              "1/|x|^2 near x = 0");
}

}  // namespace
}  // namespace integral
