// SPDX-License-Identifier: GPL-3.0-or-later
// The Monte Carlo table of 650 000 samples on 0..1 in a box of height 4, for each integrand and
// for x*sin(x) typed,
// against a plain typed loop of the same arithmetic drawing from std::mt19937 directly; and the
// generator alone against std::mt19937. Run with
//   --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
// and compare the medians.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <variant>

#include "integrands/integrand_descriptor.h"
#include "integrands/typed_expression.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"

namespace {

using integral::Variant;

constexpr std::int64_t kSamples = 650000;

// The table over 0..1 in a box of height 4, over and over.
void runTable(benchmark::State& state, const integral::IntegrandDescriptor& f) {
    const Variant x1 = Variant::real(0.0);
    const Variant x2 = Variant::real(1.0);
    const Variant ymax = Variant::single(4.0f);
    integral::RandomGenerator random;
    Variant hits;
    for (auto _ : state) {
        integral::ResultsPanel panel;
        integral::monteCarloTable(f, x1, x2, ymax, hits, random, panel);
        benchmark::DoNotOptimize(panel);
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_MonteCarloTable(benchmark::State& state) {
    runTable(state, integral::IntegrandDescriptor(
                        Variant::integer(static_cast<std::int16_t>(state.range(0)))));
}
BENCHMARK(BM_MonteCarloTable)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

// The same table for integrand 4 typed as a formula: the library's interpreter against the
// compiled formula. Compare with BM_MonteCarloTable/4; under callgrind, compare instructions.
void BM_MonteCarloTypedTable(benchmark::State& state) {
    auto parsed = integral::TypedExpression::parse("x*sin(x)");
    runTable(state,
             integral::IntegrandDescriptor(
                 std::get<std::shared_ptr<const integral::TypedExpression>>(std::move(parsed))));
}
BENCHMARK(BM_MonteCarloTypedTable)->Unit(benchmark::kMillisecond);

// The formulas in plain doubles, as a straightforward program would write them.
double plainFormula(int formula, double x) {
    switch (formula) {
        case 1:
            return x * std::exp(-x);
        case 2:
            return 4.0 / (x * x + 1.0);
        case 3:
            return x * x - 2.0;
        case 4:
            return x * std::sin(x);
        default:
            return std::exp(-x * x / 2.0) / std::sqrt(6.283184) * 10.0;
    }
}

template <int Formula>
void BM_PlainTypedLoop(benchmark::State& state) {
    const double x1 = 0.0;
    const double x2 = 1.0;
    const float ymax = 4.0f;
    std::mt19937 engine;
    const auto draw = [&engine] { return static_cast<float>(engine() >> 8) * 0x1p-24f; };
    for (auto _ : state) {
        double estimate = 0.0;
        for (std::int32_t n = 2000; n <= 50000; n += 2000) {
            std::int32_t hits = 0;
            for (std::int32_t k = 1; k <= n; ++k) {
                const double x = static_cast<double>(draw()) * (x2 - x1) + x1;
                const float y = draw() * ymax;
                if (static_cast<double>(y) < plainFormula(Formula, x)) {
                    ++hits;
                }
            }
            estimate = (static_cast<double>(hits) / n) * ymax * (x2 - x1);
            benchmark::DoNotOptimize(estimate);
        }
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK_TEMPLATE(BM_PlainTypedLoop, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PlainTypedLoop, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PlainTypedLoop, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PlainTypedLoop, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PlainTypedLoop, 5)->Unit(benchmark::kMillisecond);

// The 1 300 000 draws of one click.
void BM_Generator(benchmark::State& state) {
    integral::RandomGenerator random;
    for (auto _ : state) {
        float sum = 0.0f;
        for (std::int64_t i = 0; i < 2 * kSamples; ++i) {
            sum += random.next();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kSamples);
}
BENCHMARK(BM_Generator)->Unit(benchmark::kMillisecond);

void BM_StdMt19937(benchmark::State& state) {
    std::mt19937 engine;
    for (auto _ : state) {
        float sum = 0.0f;
        for (std::int64_t i = 0; i < 2 * kSamples; ++i) {
            sum += static_cast<float>(engine() >> 8) * 0x1p-24f;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kSamples);
}
BENCHMARK(BM_StdMt19937)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
