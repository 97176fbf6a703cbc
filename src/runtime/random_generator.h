// SPDX-License-Identifier: GPL-3.0-or-later
// The uniform source of the Monte Carlo table: singles in [0, 1) carrying 24 random bits each.
// Every instance starts the same fixed sequence, so a fresh window (or a run of the table tool)
// always begins with the same draws, and nothing ever reseeds it.
//
// The sequence is that of the 32-bit Mersenne Twister with its reference default seed 5489
// (std::mt19937), each output's top 24 bits scaled by 2^-24, so every value is exact as a
// float. It is produced a block of 624 at a time: the whole state is regenerated, tempered and
// turned into floats in three straight loops the compiler can vectorise, and a draw is then
// one load.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace integral {

class RandomGenerator {
  public:
    RandomGenerator();

    // Another sequence of the same kind, for a computation that takes its numbers from a seed
    // (the race, a table asked for with a seed): the Mersenne Twister seeded as std::mt19937
    // is from std::seed_seq{low 32 bits of seed, high 32 bits, stream}, so that every seed and
    // every stream of one seed (one per method) has a sequence of its own.
    static RandomGenerator seeded(std::uint64_t seed, std::uint32_t stream);

    float next() {
        if (index_ == kStateSize) [[unlikely]] {
            refill();
        }
        return block_[index_++];
    }

  private:
    static constexpr std::size_t kStateSize = 624;

    void refill();

    std::array<std::uint32_t, kStateSize> state_;
    std::array<float, kStateSize> block_;
    std::size_t index_ = kStateSize;  // the first draw regenerates the state, as mt19937 does
};

}  // namespace integral
