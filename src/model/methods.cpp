// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/methods.h"

#include <boost/math/quadrature/gauss.hpp>
#include <cmath>

#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/zelbrin_table.h"

namespace integral {

namespace {

// The Gauss-Legendre rule of M nodes with the library's full-precision abscissae and weights,
// mapped onto a..b.
template <int M>
std::optional<double> fullPrecisionGauss(Integrand f, double a, double b) {
    using Rule = boost::math::quadrature::gauss<double, M>;
    const double half = (b - a) / 2.0;
    const double middle = (a + b) / 2.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < Rule::abscissa().size(); ++i) {
        const double t = Rule::abscissa()[i];
        const double w = Rule::weights()[i];
        sum += w * f(Variant::real(middle + half * t)).toDouble();
        if (t != 0.0) {
            sum += w * f(Variant::real(middle - half * t)).toDouble();
        }
    }
    const double value = sum * half;
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

class ParabolicRule final : public NumericalMethod {
  public:
    using NumericalMethod::NumericalMethod;
    RowShape shape() const override { return RowShape::Parabolas; }
    bool hasObservedOrder() const override { return true; }
    std::optional<double> referenceSlope() const override { return -4.0; }
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        zelbrinTable(f, state.x1, state.x2, panel, observer);
    }
};

class GaussLegendre final : public NumericalMethod {
  public:
    using NumericalMethod::NumericalMethod;
    RowShape shape() const override { return RowShape::Bars; }
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        gaussTable(f, state.x1, state.x2, *state.node, *state.weight, panel, observer);
    }
    std::optional<double> fullPrecisionEstimate(Integrand f, double x1, double x2,
                                                std::int64_t counter) const override {
        switch (counter) {
            case 2:
                return fullPrecisionGauss<2>(f, x1, x2);
            case 3:
                return fullPrecisionGauss<3>(f, x1, x2);
            case 4:
                return fullPrecisionGauss<4>(f, x1, x2);
            case 5:
                return fullPrecisionGauss<5>(f, x1, x2);
            case 6:
                return fullPrecisionGauss<6>(f, x1, x2);
            default:
                return std::nullopt;
        }
    }
};

class HitOrMiss final : public NumericalMethod {
  public:
    using NumericalMethod::NumericalMethod;
    RowShape shape() const override { return RowShape::Samples; }
    bool statistical() const override { return true; }
    std::optional<double> referenceSlope() const override { return -0.5; }
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        monteCarloTable(f, state.x1, state.x2, state.ymax, *state.hits, *state.random, panel, {},
                        observer);
    }
};

const ParabolicRule kParabolicRule(methodInfo(Method::Zelbrin));
const GaussLegendre kGaussLegendre(methodInfo(Method::Gauss));
const HitOrMiss kHitOrMiss(methodInfo(Method::MonteCarlo));

}  // namespace

const NumericalMethod& methodOf(Method method) {
    static const std::array<const NumericalMethod*, 3> methods = {&kParabolicRule, &kGaussLegendre,
                                                                  &kHitOrMiss};
    return *methods[static_cast<std::size_t>(method)];
}

std::optional<int> rowOfCounter(Method method, std::int64_t counter) {
    const MethodInfo& info = methodInfo(method);
    for (int row = 0; row < info.rows; ++row) {
        if (rowCounter(method, row) == counter) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<Method> methodNamed(std::string_view name) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (const MethodInfo& info : kMethods) {
        if (info.caption.size() != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < name.size(); ++i) {
            same = same && lower(info.caption[i]) == lower(name[i]);
        }
        if (same) {
            return info.method;
        }
    }
    return std::nullopt;
}

}  // namespace integral
