// The uniform source of the Monte Carlo table: singles in [0, 1) carrying 24 random bits each.
// Every instance starts the same fixed sequence, so a fresh window (or a run of the table tool)
// always begins with the same draws, and nothing ever reseeds it.
#pragma once

#include <cstdint>
#include <random>

namespace integral {

class RandomGenerator {
  public:
    // The top 24 bits of each 32-bit output, scaled by 2^-24: every value is exact as a float.
    float next() { return static_cast<float>(engine_() >> 8) * 0x1p-24f; }

  private:
    std::mt19937 engine_;  // default seed: the same sequence at every start
};

}  // namespace integral
