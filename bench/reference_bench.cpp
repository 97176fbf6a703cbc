// SPDX-License-Identifier: GPL-3.0-or-later
// What a typed integrand's reference costs, for the kinds a student types: smooth, singular at
// an end or inside, kinked, jumping, narrowly peaked, oscillating, divergent. The target is
// 50 ms for any of them; each is made once per integrand and limits.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "integrands/reference_integral.h"
#include "integrands/typed_expression.h"

namespace {

struct Family {
    const char* text;
    double lower;
    double upper;
};

const std::vector<Family> kFamily = {
    {"x^4", 0, 1},
    {"x^(-0.99)", 0, 1},
    {"1/sqrt(1-x^2)", -1, 1},
    {"1/sqrt(abs(x-0.37))", 0, 1},
    {"abs(x-0.5)^(-0.7)", 0, 1},
    {"exp(-1e6*(x-0.37)^2)", 0, 1},
    {"(x>0.3)", 0, 1},
    {"sin(x^2)", 0, 10},
    {"1/x", 1e-300, 1},
    {"tan(x)", 0, 2},
    {"cos(1e6*x)*exp(x)", -10, 10},
    // The edges: a logarithm beside a power, one half-way between samples, a peak far narrower
    // than they are, cancellation inside f, the top of the double range, two underflows
    // meeting, many oscillations, and a power that drifts towards 1.
    {"x^(-0.99)*ln(x)", 0, 1},
    {"ln(abs(x-0.7071067811865476))", 0, 1},
    {"1/(1+x^2)", -1e15, 1e15},
    {"1-cos(x)", 0, 1e-9},
    {"exp(x)", 0, 709},
    {"exp(-1/x)/x^2", 0, 1},
    {"sin(x)^2", 0, 100000},
    {"1/(x*ln(x)^2)", 0, 0.5},
    {"1/(2+cos(x))", 0, 20000},
    {"1/(1-x)-1", 0, 1e-20},
};

void BM_Reference(benchmark::State& state) {
    const Family& f = kFamily[static_cast<std::size_t>(state.range(0))];
    auto parsed = integral::TypedExpression::parse(f.text);
    const auto expression = std::get<std::shared_ptr<const integral::TypedExpression>>(parsed);
    state.SetLabel(f.text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(integral::adaptiveIntegral(
            [&](double x) { return expression->evaluate(x); }, f.lower, f.upper,
            {[&](double x) { return expression->roundingOfFunctions(x); },
             [&](double x) { return expression->roundingOfOperations(x); }}));
    }
}
BENCHMARK(BM_Reference)
    ->DenseRange(0, static_cast<int>(kFamily.size()) - 1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
