// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/random_generator.h"

#include <random>

namespace integral {

namespace {

constexpr std::size_t kN = 624;
constexpr std::size_t kM = 397;
constexpr std::uint32_t kMatrix = 0x9908B0DFu;
constexpr std::uint32_t kUpper = 0x80000000u;
constexpr std::uint32_t kLower = 0x7FFFFFFFu;

// The twist of one word from its own upper bit, the next word's lower bits and the word kM on.
inline std::uint32_t twist(std::uint32_t word, std::uint32_t next, std::uint32_t far) {
    const std::uint32_t y = (word & kUpper) | (next & kLower);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & kMatrix);
}

}  // namespace

RandomGenerator::RandomGenerator() {
    state_[0] = 5489u;
    for (std::size_t i = 1; i < kN; ++i) {
        const std::uint32_t previous = state_[i - 1];
        state_[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
    }
}

RandomGenerator RandomGenerator::seeded(std::uint64_t seed, std::uint32_t stream) {
    RandomGenerator random;
    std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                           stream};
    sequence.generate(random.state_.begin(), random.state_.end());
    // As std::mt19937 does: a state whose significant bits are all 0 would never leave 0.
    bool zero = (random.state_[0] & kUpper) == 0;
    for (std::size_t i = 1; zero && i < kN; ++i) {
        zero = random.state_[i] == 0;
    }
    if (zero) {
        random.state_[0] = kUpper;
    }
    random.index_ = kN;
    return random;
}

// The words are regenerated in place and in order, so word i + kM is still the old one for the
// first kN - kM words and already the new one after: split there, each loop reads only words
// it does not write in the same pass.
void RandomGenerator::refill() {
    std::uint32_t* mt = state_.data();
    for (std::size_t i = 0; i < kN - kM; ++i) {
        mt[i] = twist(mt[i], mt[i + 1], mt[i + kM]);
    }
    for (std::size_t i = kN - kM; i < kN - 1; ++i) {
        mt[i] = twist(mt[i], mt[i + 1], mt[i + kM - kN]);
    }
    mt[kN - 1] = twist(mt[kN - 1], mt[0], mt[kM - 1]);

    for (std::size_t i = 0; i < kN; ++i) {
        std::uint32_t y = mt[i];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        // The top 24 bits fit an int32, whose conversion to float is exact and vectorises.
        block_[i] = static_cast<float>(static_cast<std::int32_t>(y >> 8)) * 0x1p-24f;
    }
    index_ = 0;
}

}  // namespace integral
