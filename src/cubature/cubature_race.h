// SPDX-License-Identifier: GPL-3.0-or-later
// The methods set side by side in d dimensions: a race at one budget, each method at the
// largest of its sizes that fits, and a sweep, each method at every size of its table up to a
// budget.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cubature/cubature_methods.h"

namespace integral {

struct CubatureEntry {
    CubatureMethod method;
    std::optional<CubatureRow> row;
    std::string absence;  // why there is no row: the method does not suit f, or costs more
};

// Every method of `methods` (all where empty) at the largest size within `budget`.
std::vector<CubatureEntry> raceCubature(const CubeFunction& f, std::int64_t budget,
                                        std::uint64_t seed,
                                        const std::vector<CubatureMethod>& methods = {});

struct CubatureSweep {
    CubatureMethod method;
    std::vector<CubatureRow> rows;
};

// Every method of `methods` (all where empty that suit f) at each size of its table whose
// evaluations are at most `budget`.
std::vector<CubatureSweep> sweepCubature(const CubeFunction& f, std::int64_t budget,
                                         std::uint64_t seed,
                                         const std::vector<CubatureMethod>& methods = {});

}  // namespace integral
