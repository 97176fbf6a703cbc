// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/run_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <utility>

#include "integrands/exact_integral.h"
#include "integrands/integrand_descriptor.h"
#include "model/reference_text.h"
#include "model/row_replay.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/number_format.h"
#include "quadrature/romberg_table.h"

namespace integral {

namespace {

std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// Every evaluation of each row with the weight its rule gives it, to weigh the row's rounding.
class RuleTerms : public EvaluationObserver {
  public:
    void rowStarted(std::int64_t) override { rows_.emplace_back(); }
    void evaluated(double x, double fx, double weight) override {
        rows_.back().push_back({x, fx, weight, 1.0, 0.0, 0.0});
    }
    void evaluatedByRule(double x, double fx, double, RuleWeight rule) override {
        rows_.back().push_back({x, fx, rule.coefficient, rule.denominator, 0.0, 0.0});
    }
    void evaluatedOnGrid(double x, double fx, double, RuleWeight rule, ExactNode node) override {
        rows_.back().push_back({x, fx, rule.coefficient, rule.denominator, node.index, node.count});
    }
    const std::vector<std::vector<RuleTerm>>& rows() const { return rows_; }

  private:
    std::vector<std::vector<RuleTerm>> rows_;
};

// The same evaluations again, seen this time: a method that is not statistical is
// deterministic.
RuleTerms replayedTerms(const MethodRun& run) {
    RuleTerms terms;
    try {
        runAgain(run, terms);
    } catch (const RuntimeError&) {
        // The run stopped at the same place; its rows are all there is to weigh.
    }
    return terms;
}

// What the rounding of a typed f's own values can add: an ulp or two of each value, and what
// one ulp of x changes f by there (measured on the neighbours of x), times the weight. The
// roundings of many values fall either way and add up like a random walk, as the square root
// of the sum of their squares: a plain sum would call real errors noise.
double ownRounding(const IntegrandDescriptor& f, std::span<const RuleTerm> terms, double x1,
                   double x2) {
    constexpr double kUlp = std::numeric_limits<double>::epsilon();
    double total = 0.0;
    for (const RuleTerm& term : terms) {
        double shift = 0.0;
        for (const double direction : {-INFINITY, INFINITY}) {
            try {
                const double neighbour =
                    f(Variant::real(std::nextafter(term.x, direction))).toDouble();
                shift = std::max(shift, std::fabs(neighbour - term.fx));
            } catch (const RuntimeError&) {
                // A neighbour without a value says nothing about the rounding here.
            }
        }
        const double weight = std::fabs(term.coefficient * (x2 - x1) / term.denominator);
        const double spread = weight * (shift + 2.0 * kUlp * std::fabs(term.fx));
        total = std::hypot(total, spread);
    }
    return total;
}

}  // namespace

// Sums about the means, so that large logarithms do not cancel: the slope is Sxy / Sxx and its
// variance the residuals' sum of squares over n - 2 degrees of freedom, divided by Sxx.
std::optional<SlopeFit> errorSlope(const std::vector<RowAnalysis>& rows) {
    std::vector<std::pair<double, double>> points;
    for (const RowAnalysis& row : rows) {
        if (row.error && *row.error != 0.0 && row.counter > 0) {
            points.emplace_back(std::log(static_cast<double>(row.counter)),
                                std::log(std::fabs(*row.error)));
        }
    }
    const double n = static_cast<double>(points.size());
    if (points.size() < 3) {
        return std::nullopt;
    }
    double meanX = 0.0;
    double meanY = 0.0;
    for (const auto& [x, y] : points) {
        meanX += x / n;
        meanY += y / n;
    }
    double sxx = 0.0;
    double sxy = 0.0;
    for (const auto& [x, y] : points) {
        sxx += (x - meanX) * (x - meanX);
        sxy += (x - meanX) * (y - meanY);
    }
    if (!(sxx > 0.0)) {
        return std::nullopt;
    }
    const double slope = sxy / sxx;
    // The residuals themselves, not Syy - slope Sxy, which cancels to noise on a clean power law.
    double residuals = 0.0;
    for (const auto& [x, y] : points) {
        const double off = (y - meanY) - slope * (x - meanX);
        residuals += off * off;
    }
    const std::optional<double> fitted = finite(slope);
    const std::optional<double> error = finite(std::sqrt(residuals / (n - 2.0) / sxx));
    if (!fitted || !error) {
        return std::nullopt;
    }
    return SlopeFit{*fitted, *error};
}

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

RunAnalysis analyse(const MethodRun& run, bool splitRounding) {
    RunAnalysis analysis;
    const double x1 = run.x1.toDouble();
    const double x2 = run.x2.toDouble();
    const IntegrandDescriptor& f = run.integrand;
    const Reference made = f.reference(x1, x2);
    analysis.reference = made.value;
    analysis.divergence = made.divergence;
    analysis.whyNoReference = made.whyNone ? noReferenceText(*made.whyNone) : std::string();
    if (made.value && made.cancellation) {
        analysis.referenceNote = cancellationText(*made.cancellation);
    }
    if (made.value && made.vanishing) {
        analysis.referenceNote +=
            (analysis.referenceNote.empty() ? "" : "; ") + vanishingText(*made.vanishing);
    }
    if (analysis.reference && analysis.reference->closedForm) {
        analysis.exact = analysis.reference->value;
    }
    const std::optional<double> reference =
        analysis.reference ? std::optional<double>(analysis.reference->value) : std::nullopt;
    const double ymax = run.ymax.toDouble();
    const NumericalMethod& method = methodOf(run.method);
    if (method.statistical() && !run.figures.empty()) {
        if (method.samplesABox()) {
            analysis.limit = monteCarloLimit(f, x1, x2, ymax, reference);
        } else if (reference) {
            // Without a box the estimates converge to the integral itself.
            analysis.limit = MonteCarloLimit{*reference, true, std::nullopt};
        }
    }
    const RuleTerms terms =
        method.statistical() || !splitRounding ? RuleTerms() : replayedTerms(run);
    const std::optional<double> area = finite(ymax * (x2 - x1));
    for (std::size_t i = 0; i < run.figures.size(); ++i) {
        const RowFigures& figures = run.figures[i];
        RowAnalysis row;
        row.counter = figures.counter;
        row.estimate = figures.estimate;
        row.evaluations = figures.evaluations;
        std::optional<double> ruleError;
        if (i < terms.rows().size()) {
            const std::span<const RuleTerm> rowTerms = terms.rows()[i];
            if (const std::optional<RuleSplit> split =
                    ruleRounding(f.formula(), rowTerms, x1, x2, figures.estimate)) {
                row.roundingError = split->rounding;
                ruleError = split->ruleError;
                row.roundingCarried =
                    finite(std::fabs(split->rounding) +
                           (f.formula() ? 0.0 : ownRounding(f, rowTerms, x1, x2)));
            }
        }
        if (reference) {
            const std::optional<double> error = finite(figures.estimate - *reference);
            if (ruleError) {
                row.methodError = ruleError;
            } else if (error && row.roundingError) {
                row.methodError = finite(*error - *row.roundingError);
            }
            row.ruleErrorVisible = row.methodError && row.roundingCarried &&
                                   std::fabs(*row.methodError) > *row.roundingCarried;
            // An error of exactly 0 is no noise: the rule and the rounding landed on the value.
            row.roundingLevel = error && *error != 0.0 && row.methodError && row.roundingCarried &&
                                !row.ruleErrorVisible;
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
            if (!row.error) {
                row.methodError.reset();
                row.ruleErrorVisible = false;
            }
        }
        row.estimatedError = method.estimatedError(run.figures, i);
        if (method.shape() == RowShape::Extrapolation && i < terms.rows().size()) {
            std::vector<double> values;
            for (const RuleTerm& term : terms.rows()[i]) {
                values.push_back(term.fx);
            }
            row.tableau = rombergTableau(rombergTrapezoids(values, x2 - x1));
        }
        if (method.statistical()) {
            if (!method.samplesABox()) {
                row.sigma = figures.sigma;
            } else if (area) {
                row.sigmaFromRuleOfThree =
                    *area != 0.0 && (figures.hits == 0 || figures.hits == figures.counter);
                row.sigma = finite(hitOrMissSigma(*area, figures.hits, figures.counter));
            }
            if (row.sigma) {
                row.estimatedError = finite(2.0 * *row.sigma);
            }
            if (analysis.limit && row.sigma && *row.sigma > 0.0) {
                row.sigmasFromLimit =
                    finite((figures.estimate - analysis.limit->value) / *row.sigma);
            }
        } else if (i > 0 && row.ruleErrorVisible && analysis.rows.back().ruleErrorVisible) {
            // Ratio and order from the rule's own errors, and only where they stand above the
            // rounding: an error of 0 on a rounding of 2 says nothing about the rule.
            const RowAnalysis& previous = analysis.rows.back();
            const double now = *row.methodError;
            const double before = *previous.methodError;
            if (before != 0.0) {
                row.errorRatio = finite(now / before);
            }
            if (method.hasObservedOrder() && now != 0.0 && before != 0.0) {
                row.observedOrder = finite(std::log(std::fabs(before / now)) /
                                           std::log(static_cast<double>(row.counter) /
                                                    static_cast<double>(previous.counter)));
            }
        }
        // No claim is finer than the estimate itself is known: the rounding it carries, where
        // that was weighed, and a few ulps of it in any case. A claim of exactly 0 would say
        // the rule landed on the integral, which a double cannot tell.
        if (row.estimatedError) {
            const double carried =
                std::max(row.roundingCarried.value_or(0.0), claimFloor(figures.estimate));
            if (*row.estimatedError < carried) {
                row.estimatedError = carried;
                row.claimAtRoundingLevel = true;
            }
        }
        analysis.rows.push_back(row);
    }
    if (method.statistical()) {
        if (const std::optional<SlopeFit> fit = errorSlope(analysis.rows)) {
            analysis.observedSlope = fit->slope;
            analysis.observedSlopeError = fit->standardError;
        }
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
    if (methodOf(run.method).samplesABox()) {
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
            "\texact\treference\treference_error\terror\tmethod_error\trounding_error\tratio\t"
            "order\tevaluations\trounding_level\testimated_error";
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
                    optional(row.error) + '\t' + optional(row.methodError) + '\t' +
                    optional(row.roundingError) + '\t' + optional(row.errorRatio) + '\t' +
                    optional(row.observedOrder) + '\t' + std::to_string(row.evaluations) + '\t' +
                    (row.roundingLevel ? "1" : "0") + '\t' + optional(row.estimatedError);
        }
        if (statistical) {
            text +=
                '\t' + optional(row.sigma) + '\t' + limit + '\t' + optional(row.sigmasFromLimit);
        }
        text += '\n';
    }
    return text;
}

double claimFloor(double estimate, std::int64_t evaluations) {
    constexpr double kClaimUlps = 4.0;
    const double eps = std::numeric_limits<double>::epsilon();
    const double sum = std::sqrt(static_cast<double>(std::max<std::int64_t>(evaluations, 1)));
    return std::max(kClaimUlps, sum) * eps * std::fabs(estimate);
}

}  // namespace integral
