// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/run_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "integrands/integrand_descriptor.h"
#include "model/row_replay.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/number_format.h"

namespace integral {

namespace {

std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// How much a row's arithmetic can be off by rounding alone: a few ulps of every term, times
// the number of terms summed (so a 60-term sum carries more than the estimate's last ulp).
// Besides, every point is a rounded x, and f there differs from f at the intended point by
// about what one ulp of x changes it by, which is measured on the neighbours of x: a steep or
// huge f amplifies it, as x sin x does far from the origin.
class RoundingBound : public EvaluationObserver {
  public:
    explicit RoundingBound(const IntegrandDescriptor& f) : f_(f) {}

    void rowStarted(std::int64_t) override { rows_.emplace_back(); }
    void evaluated(double x, double fx, double weight) override {
        Row& row = rows_.back();
        row.terms += std::fabs(weight * fx);
        row.shifted += std::fabs(weight) * sensitivity(x, fx);
        ++row.count;
    }

    std::optional<double> bound(std::size_t row) const {
        if (row >= rows_.size()) {
            return std::nullopt;
        }
        constexpr double kUlp = std::numeric_limits<double>::epsilon();
        constexpr double kUlpsPerTerm = 4.0;
        const Row& r = rows_[row];
        return finite(r.shifted + kUlpsPerTerm * static_cast<double>(r.count) * kUlp * r.terms);
    }

  private:
    struct Row {
        double terms = 0.0;
        double shifted = 0.0;
        std::int64_t count = 0;
    };

    double sensitivity(double x, double fx) const {
        double largest = 0.0;
        for (const double direction : {-INFINITY, INFINITY}) {
            try {
                const double shifted = f_(Variant::real(std::nextafter(x, direction))).toDouble();
                largest = std::max(largest, std::fabs(shifted - fx));
            } catch (const RuntimeError&) {
                // A neighbour beyond the doubles says nothing about the rounding here.
            }
        }
        return largest;
    }

    const IntegrandDescriptor& f_;
    std::vector<Row> rows_;
};

// The same evaluations again, seen this time: a method that is not statistical is
// deterministic.
RoundingBound replayedBounds(const MethodRun& run, const IntegrandDescriptor& f) {
    RoundingBound bound(f);
    try {
        runAgain(run, bound);
    } catch (const RuntimeError&) {
        // The run stopped at the same place; its rows are all there is to weigh.
    }
    return bound;
}

}  // namespace

std::optional<MonteCarloLimit> monteCarloLimit(const IntegrandDescriptor& f, double x1, double x2,
                                               double ymax, std::optional<double> exact) {
    // A midpoint sum, fine enough that its error is far below any row's sigma; the clipping
    // leaves kinks that no higher rule would see.
    constexpr int kSlices = 200000;
    const double width = x2 - x1;
    const double slice = width / kSlices;
    if (!std::isfinite(slice)) {
        return std::nullopt;
    }
    double share = 0.0;
    bool holds = true;
    try {
        for (int k = 0; k < kSlices; ++k) {
            const double value = f(Variant::real(x1 + (k + 0.5) * slice)).toDouble();
            // A sample at height y = r * ymax hits when y < f: with probability f / ymax clipped
            // to 0..1 for a box above the axis, 1 - f / ymax clipped likewise for one below.
            const double part = ymax == 0.0 ? 0.0 : std::clamp(value / ymax, 0.0, 1.0);
            share += ymax > 0.0 ? part : 1.0 - part;
            holds = holds && ymax > 0.0 && value >= 0.0 && value <= ymax;
        }
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    MonteCarloLimit limit;
    limit.holdsCurve = holds || width == 0.0;
    if (limit.holdsCurve && exact) {
        limit.value = *exact;
        return limit;
    }
    const std::optional<double> value = finite(share / kSlices * width * ymax);
    if (!value) {
        return std::nullopt;
    }
    limit.value = *value;
    if (!limit.holdsCurve && exact) {
        limit.offExact = finite(*value - *exact);
    }
    return limit;
}

RunAnalysis analyse(const MethodRun& run) {
    RunAnalysis analysis;
    const double x1 = run.x1.toDouble();
    const double x2 = run.x2.toDouble();
    analysis.reference = run.integrand.reference(x1, x2);
    if (analysis.reference && analysis.reference->closedForm) {
        analysis.exact = analysis.reference->value;
    }
    const std::optional<double> reference =
        analysis.reference ? std::optional<double>(analysis.reference->value) : std::nullopt;
    const double ymax = run.ymax.toDouble();
    const NumericalMethod& method = methodOf(run.method);
    if (method.statistical() && !run.figures.empty()) {
        analysis.limit = monteCarloLimit(run.integrand, x1, x2, ymax, reference);
    }
    const IntegrandDescriptor& f = run.integrand;
    const RoundingBound bounds = method.statistical() ? RoundingBound(f) : replayedBounds(run, f);
    const std::optional<double> area = finite(ymax * (x2 - x1));
    for (std::size_t i = 0; i < run.figures.size(); ++i) {
        const RowFigures& figures = run.figures[i];
        RowAnalysis row;
        row.counter = figures.counter;
        row.estimate = figures.estimate;
        row.evaluations = figures.evaluations;
        row.roundingBound = bounds.bound(i);
        if (reference) {
            const std::optional<double> error = finite(figures.estimate - *reference);
            // An error of exactly 0 is no noise: the rule and the rounding landed on the value.
            row.roundingLevel = error && *error != 0.0 && row.roundingBound &&
                                std::fabs(*error) <= *row.roundingBound;
            // An adaptive reference tells an error only well above its own uncertainty.
            constexpr double kWellAbove = 10.0;
            row.belowReferenceUncertainty =
                error && !row.roundingLevel && !analysis.reference->closedForm &&
                std::fabs(*error) <= kWellAbove * analysis.reference->uncertainty;
            if (error && !row.roundingLevel && !row.belowReferenceUncertainty) {
                row.error = error;
                if (*reference != 0.0) {
                    row.relativeError = finite(*error / *reference);
                }
            }
        }
        if (method.statistical()) {
            const double n = static_cast<double>(figures.counter);
            const double p = static_cast<double>(figures.hits) / n;
            if (area) {
                row.sigma = finite(std::fabs(*area) * std::sqrt(p * (1.0 - p) / n));
            }
            if (analysis.limit && row.sigma && *row.sigma > 0.0) {
                row.sigmasFromLimit =
                    finite((figures.estimate - analysis.limit->value) / *row.sigma);
            }
        } else if (i > 0 && row.error && analysis.rows.back().error) {
            const RowAnalysis& previous = analysis.rows.back();
            if (*previous.error != 0.0) {
                row.errorRatio = finite(*row.error / *previous.error);
            }
            if (method.hasObservedOrder() && *row.error != 0.0 && *previous.error != 0.0) {
                row.observedOrder = finite(std::log(std::fabs(*previous.error / *row.error)) /
                                           std::log(static_cast<double>(row.counter) /
                                                    static_cast<double>(previous.counter)));
            }
        }
        analysis.rows.push_back(row);
    }
    return analysis;
}

AnalysedRun analysed(MethodRun run) {
    AnalysedRun result{std::move(run), {}};
    result.analysis = analyse(result.run);
    return result;
}

std::string tableCaption(const MethodRun& run) {
    const MethodInfo& info = methodInfo(run.method);
    const auto number = [](const Variant& v) {
        return v.isEmpty() ? std::string("0 (none given)") : fullPrecision(v.toDouble());
    };
    std::string caption = "# " + std::string(info.caption) + " (" + std::string(info.description) +
                          ") of " +
                          (run.integrand.chosen() ? run.integrand.name() : "no integrand chosen") +
                          " from " + number(run.x1) + " to " + number(run.x2);
    if (methodOf(run.method).statistical()) {
        caption += ", box height " + number(run.ymax);
    }
    return caption;
}

std::string tableAsTsv(const RunAnalysis& analysis, Method method, bool details) {
    const bool statistical = details && methodOf(method).statistical();
    const auto optional = [](const std::optional<double>& value) {
        return value ? fullPrecision(*value) : std::string();
    };
    std::string text = "n\testimate";
    if (details) {
        text +=
            "\texact\treference\treference_error\terror\tratio\torder\tevaluations\t"
            "rounding_level";
    }
    text += statistical ? "\tsigma\tlimit\tsigmas_from_limit\n" : "\n";
    const std::string limit = analysis.limit ? fullPrecision(analysis.limit->value) : "";
    for (const RowAnalysis& row : analysis.rows) {
        text += std::to_string(row.counter) + '\t' + fullPrecision(row.estimate);
        if (details) {
            const auto reference = [&](auto part) {
                return analysis.reference ? fullPrecision(part(*analysis.reference))
                                          : std::string();
            };
            text += '\t' + optional(analysis.exact) + '\t' +
                    reference([](const ReferenceValue& r) { return r.value; }) + '\t' +
                    reference([](const ReferenceValue& r) { return r.uncertainty; }) + '\t' +
                    optional(row.error) + '\t' + optional(row.errorRatio) + '\t' +
                    optional(row.observedOrder) + '\t' + std::to_string(row.evaluations) + '\t' +
                    (row.roundingLevel ? "1" : "0");
        }
        if (statistical) {
            text +=
                '\t' + optional(row.sigma) + '\t' + limit + '\t' + optional(row.sigmasFromLimit);
        }
        text += '\n';
    }
    return text;
}

}  // namespace integral
