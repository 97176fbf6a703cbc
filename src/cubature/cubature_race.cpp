// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/cubature_race.h"

namespace integral {

namespace {

std::vector<CubatureMethod> chosen(const std::vector<CubatureMethod>& methods) {
    if (!methods.empty()) {
        return methods;
    }
    std::vector<CubatureMethod> all;
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        all.push_back(info.method);
    }
    return all;
}

}  // namespace

std::vector<CubatureEntry> raceCubature(const CubeFunction& f, std::int64_t budget,
                                        std::uint64_t seed,
                                        const std::vector<CubatureMethod>& methods) {
    std::vector<CubatureEntry> entries;
    for (const CubatureMethod method : chosen(methods)) {
        CubatureEntry entry{method, std::nullopt, {}};
        if (!cubatureMethodSuits(method, f)) {
            entry.absence = "counts hits, so it integrates only a 0/1 function such as the ball";
        } else if (const auto n = largestCubatureSize(method, f.dimensions(), budget)) {
            entry.row = runCubature(method, f, *n, seed);
        } else {
            const auto rows = cubatureRows(method, f.dimensions(), INT64_MAX);
            entry.absence = rows.empty() ? "has no size in these dimensions"
                                         : "needs more than the budget: at least " +
                                               std::to_string(*cubatureEvaluations(
                                                   method, f.dimensions(), rows.front())) +
                                               " evaluations";
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<CubatureSweep> sweepCubature(const CubeFunction& f, std::int64_t budget,
                                         std::uint64_t seed,
                                         const std::vector<CubatureMethod>& methods) {
    std::vector<CubatureSweep> sweeps;
    for (const CubatureMethod method : chosen(methods)) {
        if (!cubatureMethodSuits(method, f)) {
            continue;
        }
        CubatureSweep sweep{method, {}};
        for (const std::int64_t n : cubatureRows(method, f.dimensions(), budget)) {
            sweep.rows.push_back(runCubature(method, f, n, seed));
        }
        sweeps.push_back(std::move(sweep));
    }
    return sweeps;
}

}  // namespace integral
