// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/random_generator.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// A seeded sequence is std::mt19937's from the same seed sequence; seeds and streams differ.
TEST(RandomGeneratorTest, EverySeedAndStreamHasASequenceOfItsOwn) {
    for (const auto& [seed, stream] : {std::pair<std::uint64_t, std::uint32_t>{1, 0},
                                       {1, 1},
                                       {2, 0},
                                       {0x1234567890ABCDEFull, 10}}) {
        RandomGenerator random = RandomGenerator::seeded(seed, stream);
        std::seed_seq sequence{static_cast<std::uint32_t>(seed),
                               static_cast<std::uint32_t>(seed >> 32), stream};
        std::mt19937 reference(sequence);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(random.next(), static_cast<float>(reference() >> 8) * 0x1p-24f) << i;
        }
    }
    const auto first = [](std::uint64_t seed, std::uint32_t stream) {
        RandomGenerator random = RandomGenerator::seeded(seed, stream);
        return std::vector<float>{random.next(), random.next(), random.next()};
    };
    EXPECT_EQ(first(7, 3), first(7, 3));
    EXPECT_NE(first(7, 3), first(7, 4));
    EXPECT_NE(first(7, 3), first(8, 3));
    EXPECT_NE(first(0, 0), first(0x100000000ull, 0));  // the high half of the seed counts
}

}  // namespace
}  // namespace integral
