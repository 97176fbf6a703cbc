// The Monte Carlo table of 650 000 samples (integrand 2 on 0..1, box height 4) against a plain
// typed loop of the same arithmetic and the same generator. The table should cost at most 1.5
// times the plain loop.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "integrands/chosen_integrand.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"

namespace {

using integral::Variant;

void BM_MonteCarloTable(benchmark::State& state) {
    const Variant x1 = Variant::real(0.0);
    const Variant x2 = Variant::real(1.0);
    const Variant ymax = Variant::single(4.0f);
    const integral::ChosenIntegrand f(Variant::integer(2));
    integral::RandomGenerator random;
    Variant hits;
    for (auto _ : state) {
        integral::ResultsPanel panel;
        integral::monteCarloTable(f, x1, x2, ymax, hits, random, panel);
        benchmark::DoNotOptimize(panel);
    }
    state.SetItemsProcessed(state.iterations() * 650000);
}
BENCHMARK(BM_MonteCarloTable)->Unit(benchmark::kMillisecond);

void BM_PlainTypedLoop(benchmark::State& state) {
    const double x1 = 0.0;
    const double x2 = 1.0;
    const float ymax = 4.0f;
    integral::RandomGenerator random;
    for (auto _ : state) {
        double estimate = 0.0;
        for (std::int32_t n = 2000; n <= 50000; n += 2000) {
            std::int32_t hits = 0;
            for (std::int32_t k = 1; k <= n; ++k) {
                const double x = static_cast<double>(random.next()) * (x2 - x1) + x1;
                const float y = random.next() * ymax;
                if (static_cast<double>(y) < 4.0 / (x * x + 1.0)) {
                    ++hits;
                }
            }
            estimate = (static_cast<double>(hits) / n) * ymax * (x2 - x1);
            benchmark::DoNotOptimize(estimate);
        }
    }
    state.SetItemsProcessed(state.iterations() * 650000);
}
BENCHMARK(BM_PlainTypedLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
