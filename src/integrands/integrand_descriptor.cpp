// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/integrand_descriptor.h"

#include <cmath>
#include <map>
#include <mutex>
#include <utility>

#include "integrands/exact_integral.h"
#include "integrands/integrand_catalogue.h"
#include "integrands/reference_integral.h"
#include "runtime/short_number.h"

namespace integral {

struct ReferenceCache {
    std::mutex mutex;
    std::map<std::pair<double, double>, Reference> byLimits;
};

IntegrandDescriptor::IntegrandDescriptor(std::shared_ptr<const TypedExpression> expression)
    : expression_(std::move(expression)), references_(std::make_shared<ReferenceCache>()) {}

IntegrandDescriptor::IntegrandDescriptor(std::shared_ptr<const ClosedFormFunction> function)
    : function_(std::move(function)), references_(std::make_shared<ReferenceCache>()) {}

std::string divergenceText(const Divergence& divergence) {
    const std::string at = shortNumber(divergence.at);
    const double rounded = std::round(divergence.power);
    const std::string power = std::fabs(divergence.power - rounded) < 0.01
                                  ? shortNumber(rounded)
                                  : shortNumber(std::round(divergence.power * 100) / 100);
    std::string distance;
    if (divergence.at == 0.0) {
        distance = "|x|";
    } else if (divergence.at < 0.0) {
        distance = "|x + " + shortNumber(-divergence.at) + "|";
    } else {
        distance = "|x - " + at + "|";
    }
    return "the integral of this function over these limits does not exist: f grows like 1/" +
           distance + "^" + power + " near x = " + at;
}

std::string IntegrandDescriptor::label() const {
    if (expression_) {
        return expression_->text();
    }
    if (function_) {
        return function_->label;
    }
    const Formula formula = formulaOf(fnum_);
    if (formula == Formula::None) {
        return {};
    }
    return std::string(kIntegrandLabels[static_cast<std::size_t>(formula) - 1]);
}

std::string IntegrandDescriptor::name() const {
    const std::string text = label();
    if (!expression_ || text.rfind("y", 0) == 0 || text.rfind("f(x)", 0) == 0) {
        return text;
    }
    return "f(x) = " + text;
}

Variant IntegrandDescriptor::operator()(const Variant& x) const {
    try {
        if (expression_) {
            return Variant::real(expression_->evaluate(x.toDouble()));
        }
        if (function_) {
            return Variant::real(function_->f(x.toDouble()));
        }
        return evaluateIntegrand(fnum_, x);
    } catch (RuntimeError& error) {
        error.setArgument(x.toDouble());
        throw;
    }
}

std::optional<Formula> IntegrandDescriptor::formula() const {
    if (expression_ || function_) {
        return std::nullopt;
    }
    return formulaOf(fnum_);
}

std::optional<PlainEvaluator> IntegrandDescriptor::plainEvaluator() const {
    if (!expression_) {
        return std::nullopt;
    }
    return expression_->plainEvaluator();
}

Reference IntegrandDescriptor::reference(double lower, double upper) const {
    if (function_ && lower == function_->lower && upper == function_->upper) {
        return {.value = ReferenceValue{function_->integral, 0.0, true},
                .divergence = std::nullopt,
                .whyNone = std::nullopt,
                .cancellation = std::nullopt,
                .vanishing = std::nullopt};
    }
    if (expression_ || function_) {
        const std::pair<double, double> limits(lower, upper);
        {
            const std::lock_guard<std::mutex> lock(references_->mutex);
            if (const auto known = references_->byLimits.find(limits);
                known != references_->byLimits.end()) {
                return known->second;
            }
        }
        Reference made;
        if (expression_) {
            const TypedExpression& expression = *expression_;
            made = adaptiveIntegral(
                [&expression](double x) { return expression.evaluate(x); }, lower, upper,
                {[&expression](double x) { return expression.roundingOfFunctions(x); },
                 [&expression](double x) { return expression.roundingOfOperations(x); }});
        } else {
            made = adaptiveIntegral(function_->f, lower, upper);
        }
        const std::lock_guard<std::mutex> lock(references_->mutex);
        return references_->byLimits.emplace(limits, std::move(made)).first->second;
    }
    const std::optional<double> exact = exactIntegral(formulaOf(fnum_), lower, upper);
    if (!exact) {
        return {.value = std::nullopt,
                .divergence = std::nullopt,
                .whyNone = WhyNoReference{.code = ReferenceFailure::ExactBeyondDouble},
                .cancellation = std::nullopt,
                .vanishing = std::nullopt};
    }
    return {.value = ReferenceValue{*exact, 0.0, true},
            .divergence = std::nullopt,
            .whyNone = std::nullopt,
            .cancellation = std::nullopt,
            .vanishing = std::nullopt};
}

bool IntegrandDescriptor::same(const IntegrandDescriptor& other) const {
    if (expression_ || other.expression_) {
        return expression_ && other.expression_ && expression_->text() == other.expression_->text();
    }
    if (function_ || other.function_) {
        return function_ == other.function_;
    }
    return fnum_.identical(other.fnum_);
}

}  // namespace integral
