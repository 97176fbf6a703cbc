// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/integrand_catalogue.h"

#include "integrands/formulas.h"

#include <cmath>

namespace integral {

namespace {

const Variant kOne = Variant::integer(1);
const Variant kTwo = Variant::integer(2);
const Variant kFour = Variant::integer(4);
const Variant kTen = Variant::integer(10);

using formula_detail::kTruncatedTwoPi;

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
    // With a double argument every step of every formula is a double operation, so the typed
    // kernels give the same bits; this is the path the tables spend their time on.
    return withFormula(formulaOf(fnum), [v = x.toDouble()](auto formula) {
        if constexpr (decltype(formula)::value == Formula::None) {
            return Variant();
        } else {
            return Variant::real(kernel<decltype(formula)::value>(v));
        }
    });
}

}  // namespace integral
