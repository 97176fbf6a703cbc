// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/reference_integral.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <cmath>
#include <exception>
#include <limits>

namespace integral {

namespace {

// Relative tolerance asked of both methods: near the rounding of a double, so that the
// estimate, not the tolerance, says how far the reference can be trusted.
constexpr double kTolerance = 1e-14;

// A few ulps of the integral of |f|: the sum the methods form carries that much rounding,
// which their own estimates of the error leave out.
constexpr double kRoundingUlps = 4.0;

struct Attempt {
    double value = NAN;
    double error = INFINITY;
    bool usable() const { return std::isfinite(value) && std::isfinite(error); }
};

template <typename Integrate>
Attempt attempt(Integrate&& integrate) {
    Attempt result;
    double l1 = 0.0;
    try {
        result.value = integrate(result.error, l1);
    } catch (const std::exception&) {
        // The method met a value it cannot use (a singular point, an overflow): no result.
        return {};
    }
    result.error = std::max(result.error,
                            kRoundingUlps * std::numeric_limits<double>::epsilon() * std::fabs(l1));
    return result;
}

}  // namespace

std::optional<ReferenceValue> adaptiveIntegral(const std::function<double(double)>& f, double lower,
                                               double upper) {
    if (lower == upper) {
        return ReferenceValue{0.0, 0.0, false};
    }
    if (!std::isfinite(upper - lower)) {
        return std::nullopt;
    }
    if (upper < lower) {
        std::optional<ReferenceValue> reversed = adaptiveIntegral(f, upper, lower);
        if (reversed) {
            reversed->value = -reversed->value;
        }
        return reversed;
    }
    const Attempt tanhSinh = attempt([&](double& error, double& l1) {
        boost::math::quadrature::tanh_sinh<double> method;
        const auto g = [&f](double x) { return f(x); };
        return method.integrate(g, lower, upper, kTolerance, &error, &l1);
    });
    Attempt best = tanhSinh;
    if (!tanhSinh.usable() || tanhSinh.error > kTolerance * std::fabs(tanhSinh.value)) {
        const Attempt kronrod = attempt([&](double& error, double& l1) {
            const auto g = [&f](double x) { return f(x); };
            return boost::math::quadrature::gauss_kronrod<double, 31>::integrate(
                g, lower, upper, 15, kTolerance, &error, &l1);
        });
        if (kronrod.usable() && (!best.usable() || kronrod.error < best.error)) {
            best = kronrod;
        }
    }
    if (!best.usable()) {
        return std::nullopt;
    }
    return ReferenceValue{best.value, best.error, false};
}

}  // namespace integral
