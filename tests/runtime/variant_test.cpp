// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/variant.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <string>
#include <vector>

#include "runtime/random_generator.h"
#include "runtime/variant_array.h"
#include "support/faults.h"
#include "support/values.h"

namespace integral {
namespace {

using Type = Variant::Type;

using test::D;
using test::I;
using test::L;
using test::S;

struct ArithmeticCase {
    std::string name;
    std::function<Variant()> compute;
    Variant expected;
};

TEST(VariantTest, ResultTypeAndValueFollowTheWideningRules) {
    const std::vector<ArithmeticCase> cases = {
        {"empty plus empty is the integer 0", [] { return Variant() + Variant(); }, I(0)},
        {"empty counts as 0", [] { return Variant() + D(2.5); }, D(2.5)},
        {"integer sum stays integer", [] { return I(2) + I(3); }, I(5)},
        {"integer overflow widens to long", [] { return I(32767) + I(1); }, L(32768)},
        {"integer product widens to long", [] { return I(300) * I(300); }, L(90000)},
        {"long overflow widens to double", [] { return L(2147483647) + I(1); }, D(2147483648.0)},
        {"negating the lowest integer widens", [] { return -I(-32768); }, L(32768)},
        {"negating empty gives integer 0", [] { return -Variant(); }, I(0)},
        {"single times single stays single", [] { return S(0.1f) * S(3.0f); }, S(0.1f * 3.0f)},
        {"single with integer stays single", [] { return S(0.5f) + I(1); }, S(1.5f)},
        {"single with long gives double", [] { return S(0.5f) + L(70000); }, D(70000.5)},
        {"single with double gives double", [] { return S(0.1f) * D(3.0); },
         D(static_cast<double>(0.1f) * 3.0)},
        {"integer over integer gives double", [] { return I(1) / I(3); }, D(1.0 / 3.0)},
        {"long over integer gives double", [] { return L(40000) / I(3); }, D(40000.0 / 3.0)},
        {"single over integer stays single", [] { return S(1.0f) / I(3); }, S(1.0f / 3.0f)},
        {"empty over integer gives double", [] { return Variant() / I(2); }, D(0.0)},
        {"double difference", [] { return D(1.0) - D(0.9); }, D(1.0 - 0.9)},
    };
    for (const ArithmeticCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Variant result = c.compute();
        EXPECT_TRUE(result.identical(c.expected))
            << "type " << static_cast<int>(result.type()) << " value " << result.toDouble();
    }
}

struct FaultCase {
    std::string name;
    std::function<void()> compute;
    Fault expected;
};

TEST(VariantTest, NonFiniteResultsRaiseTheirFault) {
    const std::vector<FaultCase> cases = {
        {"double overflow", [] { (void)(D(1e308) * I(10)); }, Fault::Overflow},
        {"double sum overflow", [] { (void)(D(DBL_MAX) + D(DBL_MAX)); }, Fault::Overflow},
        {"single overflow", [] { (void)(S(3e38f) * S(3e38f)); }, Fault::Overflow},
        {"integer over zero", [] { (void)(I(1) / I(0)); }, Fault::DivisionByZero},
        {"double over empty", [] { (void)(D(-2.0) / Variant()); }, Fault::DivisionByZero},
        {"zero over zero", [] { (void)(D(0.0) / D(0.0)); }, Fault::InvalidOperation},
        {"empty over empty", [] { (void)(Variant() / Variant()); }, Fault::InvalidOperation},
        {"constructing infinity", [] { (void)D(HUGE_VAL); }, Fault::Overflow},
        {"constructing a NaN", [] { (void)D(std::nan("")); }, Fault::InvalidOperation},
        {"rounding beyond the single range", [] { (void)D(1e39).toSingle(); }, Fault::Overflow},
        {"rounding to the midpoint past FLT_MAX", [] { (void)D(-0x1.ffffffp127).toSingle(); },
         Fault::Overflow},
        {"array index above its bound",
         [] {
             VariantArray a(0, 10);
             (void)a[I(11)];
         },
         Fault::SubscriptOutOfRange},
        {"array index below its bound",
         [] {
             VariantArray a(0, 10);
             (void)a[I(-1)];
         },
         Fault::SubscriptOutOfRange},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(test::faultOf(c.compute), c.expected);
    }
}

TEST(VariantTest, SingleRoundingKeepsValuesThatRoundIntoRange) {
    EXPECT_EQ(D(0x1.fffffefp127).toSingle(), FLT_MAX);
    EXPECT_EQ(D(-0x1.fffffefp127).toSingle(), -FLT_MAX);
    EXPECT_EQ(D(0.1).toSingle(), 0.1f);
    EXPECT_EQ(Variant().toSingle(), 0.0f);
}

TEST(VariantTest, ComparisonsAreNumericWithEmptyAsZero) {
    EXPECT_TRUE(Variant() == I(0));
    EXPECT_TRUE(Variant() < D(0.5));
    EXPECT_TRUE(D(-0.5) < Variant());
    EXPECT_TRUE(S(0.1f) > D(0.1));  // the single nearest 0.1 lies above the double
    EXPECT_TRUE(L(40000) >= I(32767));
}

TEST(RandomGeneratorTest, EveryStartGivesTheSameSequenceOfExact24BitSingles) {
    RandomGenerator first;
    RandomGenerator second;
    for (int i = 0; i < 10000; ++i) {
        const float value = first.next();
        ASSERT_EQ(value, second.next());
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
        const float scaled = value * 0x1p24f;
        ASSERT_EQ(scaled, static_cast<float>(static_cast<int>(scaled)));
    }
}

}  // namespace
}  // namespace integral
