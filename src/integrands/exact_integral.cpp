// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/exact_integral.h"

#include <cmath>
#include <numbers>

#include "integrands/formulas.h"

namespace integral {

namespace {

// 4 (atan b - atan a), without the cancellation of two nearly equal arctangents where both
// limits lie far out on the same side.
double lorentz(double a, double b) {
    const double product = a * b;
    if (product > -1.0 && std::isfinite(product)) {
        return 4.0 * std::atan((b - a) / (1.0 + product));
    }
    return 4.0 * (std::atan(b) - std::atan(a));
}

// b^3/3 - 2b - (a^3/3 - 2a), factored so that close limits lose nothing.
double parabola(double a, double b) {
    return (b - a) * ((b * b + a * b + a * a) / 3.0 - 2.0);
}

double xSin(double a, double b) {
    return (std::sin(b) - b * std::cos(b)) - (std::sin(a) - a * std::cos(a));
}

// erf(b/sqrt2) - erf(a/sqrt2), through erfc where both limits lie in the same tail, where the
// two erf values would both be near 1 and their difference lost.
double bellArea(double a, double b) {
    const double s = std::numbers::sqrt2;
    if (a >= 0.0) {
        return std::erfc(a / s) - std::erfc(b / s);
    }
    if (b <= 0.0) {
        return std::erfc(-b / s) - std::erfc(-a / s);
    }
    return std::erf(b / s) - std::erf(a / s);
}

}  // namespace

std::optional<double> exactIntegral(const Variant& fnum, double lower, double upper) {
    double value = 0.0;
    switch (formulaOf(fnum)) {
        case Formula::None:
            return 0.0;
        case Formula::XExp:
            value = (lower + 1.0) * std::exp(-lower) - (upper + 1.0) * std::exp(-upper);
            break;
        case Formula::Lorentz:
            value = lorentz(lower, upper);
            break;
        case Formula::Parabola:
            value = parabola(lower, upper);
            break;
        case Formula::XSin:
            value = xSin(lower, upper);
            break;
        case Formula::Bell:
            value = 10.0 / std::sqrt(formula_detail::kTruncatedTwoPi) *
                    std::sqrt(std::numbers::pi / 2.0) * bellArea(lower, upper);
            break;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace integral
