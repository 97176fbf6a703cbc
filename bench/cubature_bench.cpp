// SPDX-License-Identifier: GPL-3.0-or-later
// Many dimensions: the race of every method at 10^6 evaluations in d = 10 on the Gaussian
// family (within 1 s), and Sobol alone at 2^20 points in d = 10. Each method and each size
// apart too, so a slow one shows by name.
#include <benchmark/benchmark.h>

#include "cubature/cubature_race.h"
#include "cubature/genz_families.h"

namespace {

using integral::CubatureMethod;

const integral::GenzParameters kGaussian =
    integral::drawParameters(integral::Family::Gaussian, 10, 7.03, 1);

void raceAtAMillion(benchmark::State& state) {
    const auto f = integral::familyFunction(kGaussian);
    for (auto _ : state) {
        benchmark::DoNotOptimize(integral::raceCubature(*f, 1'000'000, 1));
    }
}
BENCHMARK(raceAtAMillion)->Unit(benchmark::kMillisecond);

void eachMethodAtAMillion(benchmark::State& state) {
    const auto method = static_cast<CubatureMethod>(state.range(0));
    const auto f = integral::familyFunction(kGaussian);
    for (auto _ : state) {
        benchmark::DoNotOptimize(integral::raceCubature(*f, 1'000'000, 1, {method}));
    }
    state.SetLabel(std::string(integral::cubatureMethodInfo(method).name));
}
BENCHMARK(eachMethodAtAMillion)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// 2^20 points in all: 2^16 points under the 16 shifts.
void sobolAt2To20(benchmark::State& state) {
    const auto f = integral::familyFunction(kGaussian);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            integral::runCubature(CubatureMethod::Sobol, *f, std::int64_t{1} << 16, 1));
    }
}
BENCHMARK(sobolAt2To20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
