// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for a typed integrand, which has no closed form: a value with an uncertainty
// that covers the truth, or no value and the reason in words. Never a number that merely looks
// like one.
//
// How, in this order:
// 1. f is sampled at 2^15 + 1 evenly spaced points. Stretches without a value, oscillation
//    faster than the samples can follow, and isolated points where the samples bend sharply
//    (singular points, jumps, kinks, peaks) are found there; each such point is then located
//    to the last bits of x by bisecting towards the half that bends more.
// 2. At both limits and at every such point f is followed inwards decade by decade of the
//    distance. Where it grows like 1/|x - c|^p with p >= 1 the integral does not exist and
//    that is the answer; where it grows more slowly the interval is split at every decade, and
//    the last stretch, below what a double can resolve, is integrated in closed form from the
//    power law that the last two decades show.
// 3. Two independent quadratures of Boost.Math integrate the pieces: Gauss-Kronrod on pieces
//    of 64 samples, tanh-sinh on pieces of 256 samples staggered against those. A value is
//    given only when the two agree; the uncertainty is the larger of what they claim and how
//    far they differ, widened where they disagree, and never below what the rounding of f's
//    own values and of its argument allows (the conditioning measured on the samples), nor
//    below what the rounding of f's own operations may have cost it: where that is most of f,
//    f loses its digits to cancellation there, and the reference says so.
#pragma once

#include <functional>

#include "integrands/integrand_descriptor.h"

namespace integral {

// How far f(x) may be from the f of exact arithmetic through the rounding of its own
// operations: of its functions, and of its functions and operators (TypedExpression's
// roundingOfFunctions and roundingOfOperations). Either may be left empty.
struct OwnRoundingOf {
    std::function<double(double)> functions;
    std::function<double(double)> operations;
};
Reference adaptiveIntegral(const std::function<double(double)>& f, double lower, double upper,
                           const OwnRoundingOf& rounding = {});

}  // namespace integral
