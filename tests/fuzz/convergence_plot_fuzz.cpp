// SPDX-License-Identifier: GPL-3.0-or-later
// The convergence plot of arbitrary runs: rows with any estimates (infinities and NaN
// included), any counters and hits, any integrand, limits and box. Never a crash or a hang;
// every figure of the analysis is finite or absent, every plotted point finite and positive,
// and the axes keep a bounded number of ticks.
#include <cmath>
#include <vector>

#include "fuzz_checks.h"
#include "model/convergence_plot.h"
#include "model/run_analysis.h"

namespace {

using integral::fuzz::Bytes;
using integral::fuzz::check;

integral::Variant anyLimit(Bytes& bytes) {
    const double value = bytes.take<double>();
    return std::isfinite(value) ? integral::Variant::real(value) : integral::Variant();
}

integral::MethodRun anyRun(Bytes& bytes) {
    integral::MethodRun run;
    run.method = static_cast<integral::Method>(bytes.take<std::uint8_t>() % 3);
    run.integrand = integral::IntegrandDescriptor(
        integral::Variant::integer(static_cast<std::int16_t>(bytes.take<std::uint8_t>() % 7)));
    run.x1 = anyLimit(bytes);
    run.x2 = anyLimit(bytes);
    const float height = bytes.take<float>();
    if (std::isfinite(height)) {
        run.ymax = integral::Variant::single(height);
    }
    const int rows = bytes.take<std::uint8_t>() % 30;
    for (int i = 0; i < rows; ++i) {
        integral::RowFigures row;
        row.counter = bytes.take<std::int32_t>();
        if (row.counter == 0) {
            row.counter = 1;
        }
        row.estimate = bytes.take<double>();
        row.evaluations = bytes.take<std::int32_t>();
        row.hits = bytes.take<std::int32_t>();
        run.figures.push_back(row);
        run.rows.push_back("row");
    }
    return run;
}

bool finiteOrAbsent(const std::optional<double>& value) {
    return !value || std::isfinite(*value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    std::vector<integral::AnalysedRun> runs;
    const int count = 1 + bytes.take<std::uint8_t>() % 3;
    for (int i = 0; i < count; ++i) {
        runs.push_back(integral::analysed(anyRun(bytes)));
    }
    for (const auto& [run, analysis] : runs) {
        check(finiteOrAbsent(analysis.exact), "finite exact value");
        for (const integral::RowAnalysis& row : analysis.rows) {
            for (const auto& figure : {row.roundingCarried, row.roundingError, row.methodError,
                                       row.error, row.relativeError, row.errorRatio,
                                       row.observedOrder, row.sigma, row.sigmasFromLimit}) {
                check(finiteOrAbsent(figure), "finite figure");
            }
        }
    }
    const integral::ConvergencePlot plot = integral::plotOfRuns(runs);
    for (const integral::PlotSeries& series : plot.series) {
        for (const auto* points : {&series.points, &series.roundingLevel}) {
            for (const integral::PlotPoint& p : *points) {
                check(std::isfinite(p.x) && p.x > 0 && std::isfinite(p.y) && p.y > 0,
                      "finite positive point");
            }
        }
    }
    for (const integral::DecadeAxis* axis : {&plot.x, &plot.y}) {
        check(axis->low < axis->high, "axis range");
        check(axis->ticks().size() <= static_cast<std::size_t>(integral::kMaxTicks), "ticks");
    }
    return 0;
}
