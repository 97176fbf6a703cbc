#include "integrands/integrand_catalogue.h"

#include <cmath>

namespace integral {

namespace {

const Variant kOne = Variant::integer(1);
const Variant kTwo = Variant::integer(2);
const Variant kFour = Variant::integer(4);
const Variant kTen = Variant::integer(10);

// A truncated 2*pi, not the exact one: the results of integrand 5 depend on it from the
// seventh significant digit on.
constexpr double kTruncatedTwoPi = 6.283184;

// Every intermediate result is checked, as each step of the variant arithmetic is: an
// infinity on the way can still end in a finite value (4 / inf is 0).
double checked(double value) {
    return Variant::real(value).toDouble();
}

}  // namespace

Variant evaluateIntegrandVariant(const Variant& fnum, const Variant& x) {
    const double selected = fnum.toDouble();
    if (selected == 1) {
        return x * Variant::real(std::exp((-x).toDouble()));
    }
    if (selected == 2) {
        return kFour / (x * x + kOne);
    }
    if (selected == 3) {
        return x * x - kTwo;
    }
    if (selected == 4) {
        return x * Variant::real(std::sin(x.toDouble()));
    }
    if (selected == 5) {
        // The square root is taken afresh on every call, as the formula reads.
        const Variant exponential = Variant::real(std::exp((((-x) * x) / kTwo).toDouble()));
        return exponential / Variant::real(std::sqrt(kTruncatedTwoPi)) * kTen;
    }
    return Variant();
}

Variant evaluateIntegrand(const Variant& fnum, const Variant& x) {
    if (x.type() != Variant::Type::Double) {
        return evaluateIntegrandVariant(fnum, x);
    }
    // With a double argument every step of every formula is a double operation, so the same
    // steps in plain doubles give the same bits; this is the path the tables spend their time on.
    const double v = x.toDouble();
    const double selected = fnum.toDouble();
    if (selected == 1) {
        return Variant::real(v * checked(std::exp(-v)));
    }
    if (selected == 2) {
        // Past a finite v * v nothing can overflow: the sum is finite and at least 1.
        return Variant::real(4.0 / (checked(v * v) + 1.0));
    }
    if (selected == 3) {
        return Variant::real(checked(v * v) - 2.0);
    }
    if (selected == 4) {
        return Variant::real(v * std::sin(v));
    }
    if (selected == 5) {
        const double exponential = checked(std::exp(checked(checked(-v * v) / 2.0)));
        return Variant::real(checked(exponential / std::sqrt(kTruncatedTwoPi)) * 10.0);
    }
    return Variant();
}

}  // namespace integral
