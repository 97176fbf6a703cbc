// SPDX-License-Identifier: GPL-3.0-or-later
// Shading against a surface that only counts, so the figure is the shading's own cost: the
// counter's advance, the evaluations and the rounding of the lines that can show.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "canvas/plot_operations.h"
#include "integrands/integrand_descriptor.h"
#include "runtime/variant.h"

namespace {

class CountingSurface : public integral::CanvasSurface {
  public:
    void clear() override {}
    void segment(integral::CanvasPoint, integral::CanvasPoint, integral::Colour) override {
        ++segments;
    }
    void point(integral::CanvasPoint, integral::Colour) override {}
    void rectangle(integral::CanvasPoint, integral::CanvasPoint, integral::Colour) override {}
    void printTitle(std::string_view) override {}
    std::int64_t segments = 0;
};

void BM_ShadeArea(benchmark::State& state) {
    const integral::IntegrandDescriptor f(integral::Variant::integer(2));
    const auto x1 = integral::Variant::real(static_cast<double>(state.range(0)));
    const auto x2 = integral::Variant::real(static_cast<double>(state.range(1)));
    CountingSurface surface;
    for (auto _ : state) {
        benchmark::DoNotOptimize(integral::ShadeArea(surface, f, x1, x2));
    }
}
BENCHMARK(BM_ShadeArea)
    ->Args({0, 1})
    ->Args({-10, 10})
    ->Args({0, 100000})
    ->Args({-1000000, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
