// SPDX-License-Identifier: GPL-3.0-or-later
// Many dimensions: the race of every method at 10^6 evaluations in d = 10 on the Gaussian
// family (within 1 s), and Sobol alone at 2^20 points in d = 10 beside SciPy's, in the same
// run. Each method and each size apart too, so a slow one shows by name.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

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

// The peer a user would pick: SciPy's scrambled Sobol points, 2^20 of them in d = 10, with
// NumPy evaluating the same Gaussian. It runs in Debian's own python3 (python3-scipy), which
// times itself so that starting the interpreter is not counted; without it this is skipped.
void scipySobolAt2To20(benchmark::State& state) {
    std::string c;
    std::string w;
    char number[32];
    for (std::size_t k = 0; k < kGaussian.c.size(); ++k) {
        std::snprintf(number, sizeof number, "%s%.17g", k == 0 ? "" : ",", kGaussian.c[k]);
        c += number;
        std::snprintf(number, sizeof number, "%s%.17g", k == 0 ? "" : ",", kGaussian.w[k]);
        w += number;
    }
    const std::string command =
        "/usr/bin/python3 -c '"
        "import time, numpy as np\n"
        "from scipy.stats import qmc\n"
        "c = np.array([" +
        c + "]); w = np.array([" + w +
        "])\n"
        "t = time.perf_counter()\n"
        "x = qmc.Sobol(d=10, scramble=True, seed=1).random_base2(20)\n"
        "v = np.exp(-(((x - w) * c) ** 2).sum(axis=1)).mean()\n"
        "print(time.perf_counter() - t)' 2>/dev/null";
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        double seconds = -1.0;
        if (pipe == nullptr || std::fscanf(pipe, "%lf", &seconds) != 1) {
            seconds = -1.0;
        }
        if (pipe != nullptr) {
            ::pclose(pipe);
        }
        if (seconds < 0.0) {
            state.SkipWithError("Debian's python3 with python3-scipy is not installed");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(scipySobolAt2To20)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
