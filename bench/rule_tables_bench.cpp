// SPDX-License-Identifier: GPL-3.0-or-later
// The tables of the rules set beside the window's three, each within one 16 ms frame: for the
// five built-in integrands at their full sizes, and for a typed integrand (x*sin(x)), whose
// costliest rows take about 10^4 evaluations in all; and the race of every method.
#include <benchmark/benchmark.h>

#include <memory>
#include <variant>

#include "model/methods.h"
#include "model/model.h"
#include "model/race.h"

namespace {

using integral::Method;

constexpr Method kRules[] = {Method::Trapezoid, Method::Midpoint, Method::Romberg,
                             Method::AdaptiveSimpson, Method::ClenshawCurtis};

integral::Model modelOf(int integrandRow) {
    integral::Model model;
    if (integrandRow < 5) {
        model.chooseIntegrand(integrandRow);
    } else {
        auto parsed = integral::TypedExpression::parse("x*sin(x)");
        model.chooseExpression(
            std::get<std::shared_ptr<const integral::TypedExpression>>(std::move(parsed)));
    }
    model.setLower(integral::Variant::real(0.0));
    model.setUpper(integral::Variant::real(3.0));
    return model;
}

// range(0): the rule; range(1): the integrand, 0..4 the five, 5 a typed one.
void BM_RuleTable(benchmark::State& state) {
    const Method method = kRules[state.range(0)];
    integral::Model model = modelOf(static_cast<int>(state.range(1)));
    state.SetLabel(std::string(integral::methodInfo(method).name) +
                   (state.range(1) < 5 ? "" : ", typed"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.run(method));
    }
}
BENCHMARK(BM_RuleTable)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 5}})
    ->Unit(benchmark::kMillisecond);

// The race of every method at a budget of 10^5 and of 10^6 on x sin x, the box 2 high for
// hit-or-miss, each method at the largest size its budget pays for: the targets are 100 ms and
// 300 ms.
void BM_RaceOfEveryMethod(benchmark::State& state) {
    integral::Model model = modelOf(3);
    model.setHeight(2.0f);
    const std::vector<Method> methods = integral::allMethods();
    for (auto _ : state) {
        benchmark::DoNotOptimize(integral::race(model, state.range(0), methods));
    }
}
BENCHMARK(BM_RaceOfEveryMethod)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The sweep of every method over the budgets 10 to 10^6 on the same inputs: the target is 2 s.
void BM_SweepOfEveryMethod(benchmark::State& state) {
    integral::Model model = modelOf(3);
    model.setHeight(2.0f);
    const std::vector<Method> methods = integral::allMethods();
    for (auto _ : state) {
        benchmark::DoNotOptimize(integral::sweep(model, integral::kSweepBudgets, methods));
    }
}
BENCHMARK(BM_SweepOfEveryMethod)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
