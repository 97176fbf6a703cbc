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

}  // namespace

Variant evaluateIntegrand(const Variant& fnum, const Variant& x) {
    const Variant selected = fnum;
    if (selected == Variant::integer(1)) {
        return x * Variant::real(std::exp((-x).toDouble()));
    }
    if (selected == Variant::integer(2)) {
        return kFour / (x * x + kOne);
    }
    if (selected == Variant::integer(3)) {
        return x * x - kTwo;
    }
    if (selected == Variant::integer(4)) {
        return x * Variant::real(std::sin(x.toDouble()));
    }
    if (selected == Variant::integer(5)) {
        // The square root is taken afresh on every call, as the formula reads.
        const Variant exponential = Variant::real(std::exp((((-x) * x) / kTwo).toDouble()));
        return exponential / Variant::real(std::sqrt(kTruncatedTwoPi)) * kTen;
    }
    return Variant();
}

}  // namespace integral
