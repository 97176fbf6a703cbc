// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/integrand_descriptor.h"

#include <cmath>

#include "integrands/exact_integral.h"
#include "integrands/integrand_catalogue.h"
#include "integrands/reference_integral.h"

namespace integral {

std::string IntegrandDescriptor::label() const {
    if (expression_) {
        return expression_->text();
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
        return evaluateIntegrand(fnum_, x);
    } catch (RuntimeError& error) {
        error.setArgument(x.toDouble());
        throw;
    }
}

std::optional<Formula> IntegrandDescriptor::formula() const {
    if (expression_) {
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

std::optional<ReferenceValue> IntegrandDescriptor::reference(double lower, double upper) const {
    if (expression_) {
        const TypedExpression& expression = *expression_;
        return adaptiveIntegral([&expression](double x) { return expression.evaluate(x); }, lower,
                                upper);
    }
    const std::optional<double> exact = exactIntegral(formulaOf(fnum_), lower, upper);
    if (!exact) {
        return std::nullopt;
    }
    return ReferenceValue{*exact, 0.0, true};
}

bool IntegrandDescriptor::same(const IntegrandDescriptor& other) const {
    if (expression_ || other.expression_) {
        return expression_ && other.expression_ && expression_->text() == other.expression_->text();
    }
    return fnum_.identical(other.fnum_);
}

}  // namespace integral
