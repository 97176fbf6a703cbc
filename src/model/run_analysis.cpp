// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/run_analysis.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "integrands/chosen_integrand.h"
#include "integrands/exact_integral.h"

namespace integral {

std::string fullPrecision(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::optional<BoxLimit> monteCarloLimit(const Variant& fnum, double x1, double x2, double ymax) {
    constexpr int kSlices = 200000;
    const ChosenIntegrand f(fnum);
    const double width = (x2 - x1) / kSlices;
    double sum = 0.0;
    bool clips = false;
    try {
        for (int k = 0; k < kSlices; ++k) {
            const double value = f(Variant::real(x1 + (k + 0.5) * width)).toDouble();
            // A sample at height y = r * ymax hits when y < f: with probability f / ymax clipped
            // to 0..1 for a box above the axis, 1 - f / ymax clipped likewise for one below.
            const double share = ymax == 0.0 ? 0.0 : std::clamp(value / ymax, 0.0, 1.0);
            sum += ymax > 0.0 ? share : 1.0 - share;
            clips = clips || value < std::min(0.0, ymax) || value > std::max(0.0, ymax);
        }
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    return BoxLimit{sum * width * ymax, clips};
}

RunAnalysis analyse(const MethodRun& run) {
    RunAnalysis analysis;
    const double x1 = run.x1.toDouble();
    const double x2 = run.x2.toDouble();
    analysis.exact = exactIntegral(run.fnum, x1, x2);
    const double ymax = run.ymax.toDouble();
    const double area = ymax * (x2 - x1);
    for (std::size_t i = 0; i < run.figures.size(); ++i) {
        const RowFigures& figures = run.figures[i];
        RowAnalysis row;
        row.counter = figures.counter;
        row.estimate = figures.estimate;
        row.evaluations = figures.evaluations;
        if (analysis.exact) {
            row.error = figures.estimate - *analysis.exact;
            if (*analysis.exact != 0.0) {
                row.relativeError = *row.error / *analysis.exact;
            }
        }
        if (run.method == Method::MonteCarlo) {
            const double n = static_cast<double>(figures.counter);
            const double p = static_cast<double>(figures.hits) / n;
            row.sigma = std::fabs(area) * std::sqrt(p * (1.0 - p) / n);
            if (row.error && *row.sigma > 0.0) {
                row.sigmas = *row.error / *row.sigma;
            }
        } else if (i > 0 && row.error && analysis.rows.back().error &&
                   *analysis.rows.back().error != 0.0) {
            const RowAnalysis& previous = analysis.rows.back();
            row.errorRatio = *row.error / *previous.error;
            if (run.method == Method::Zelbrin && *row.error != 0.0) {
                row.observedOrder = std::log(std::fabs(*previous.error / *row.error)) /
                                    std::log(static_cast<double>(row.counter) /
                                             static_cast<double>(previous.counter));
            }
        }
        analysis.rows.push_back(row);
    }
    if (run.method == Method::MonteCarlo && analysis.exact && !run.figures.empty()) {
        if (const std::optional<BoxLimit> limit = monteCarloLimit(run.fnum, x1, x2, ymax);
            limit && limit->clips) {
            analysis.clipped = ClippedIntegral{limit->value, limit->value - *analysis.exact};
        }
    }
    return analysis;
}

std::string tableAsTsv(const RunAnalysis& analysis, Method method, bool details) {
    const bool sigma = details && method == Method::MonteCarlo;
    const auto optional = [](const std::optional<double>& value) {
        return value ? fullPrecision(*value) : std::string();
    };
    std::string text = details ? "n\testimate\texact\terror\tevaluations" : "n\testimate";
    text += sigma ? "\tsigma\n" : "\n";
    for (const RowAnalysis& row : analysis.rows) {
        text += std::to_string(row.counter) + '\t' + fullPrecision(row.estimate);
        if (details) {
            text += '\t' + optional(analysis.exact) + '\t' + optional(row.error) + '\t' +
                    std::to_string(row.evaluations);
        }
        if (sigma) {
            text += '\t' + optional(row.sigma);
        }
        text += '\n';
    }
    return text;
}

}  // namespace integral
