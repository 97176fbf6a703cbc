// SPDX-License-Identifier: GPL-3.0-or-later
// Smolyak's sparse grid on [0,1]^d over the nested Clenshaw-Curtis rules (1, 3, 5, 9, 17, ...
// points), level l = 0, 1, 2, ...: 1, 5, 13, 29, 65 points for d = 2. The weights come from
// the combination technique,
//   A(l, d) = sum over i with l - d + 1 <= |i| - d <= l of
//             (-1)^(l - |i| + d) binom(d - 1, l - |i| + d) U^(i_1) x ... x U^(i_d),
// summed point by point. As the rules are nested, the grid of level l - 1 lies within that of
// level l, so the same values of f give both levels and the difference between them is the
// grid's own error estimate at no extra cost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace integral {

struct SparseGrid {
    int dimensions = 0;
    int level = 0;
    // Point p's coordinate on axis k is coordinates[positions[p * dimensions + k]], in [0,1]:
    // positions on the finest rule's nodes take a quarter of the memory of the coordinates.
    std::vector<double> coordinates;
    std::vector<std::uint16_t> positions;
    std::vector<double> weights;         // of level `level`
    std::vector<double> coarserWeights;  // of level `level - 1` (all 0 at level 0)

    std::size_t size() const { return weights.size(); }
};

// The most points a grid is built with (2^21): the grid is kept, so its memory is bounded.
inline constexpr std::int64_t kMaxSparseGridPoints = std::int64_t{1} << 21;

// The number of points of level l in d dimensions, without building the grid; saturates at
// INT64_MAX.
std::int64_t sparseGridPoints(int dimensions, int level);

// The grid of (d, l), built on first use and kept, so a race or a sweep that asks again pays
// nothing: up to kKeptSparseGridBytes in all, past which the least recently used are let go.
// Safe to call from several threads.
inline constexpr std::size_t kKeptSparseGridBytes = std::size_t{256} << 20;
std::shared_ptr<const SparseGrid> sparseGrid(int dimensions, int level);
// What the kept grids take, and a lower limit for them (for a test).
std::size_t keptSparseGridBytes();
void limitKeptSparseGrids(std::size_t bytes);

}  // namespace integral
