// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/random_generator.h"

#include <gtest/gtest.h>

#include <random>

namespace integral {
namespace {

// The first outputs of the 32-bit Mersenne Twister with its default seed are 3499211612,
// 581869302, 3890346734 and 3586334585; the draws are their top 24 bits scaled by 2^-24.
TEST(RandomGeneratorTest, DrawsTheTop24BitsOfTheDefaultMersenneTwister) {
    RandomGenerator random;
    for (const unsigned top : {13668795u, 2272926u, 15196666u, 14009119u}) {
        EXPECT_EQ(random.next(), static_cast<float>(top) * 0x1p-24f);
    }
    RandomGenerator fresh;
    std::mt19937 reference;
    for (int i = 0; i < 1'000'000; ++i) {
        ASSERT_EQ(fresh.next(), static_cast<float>(reference() >> 8) * 0x1p-24f) << i;
    }
}

}  // namespace
}  // namespace integral
