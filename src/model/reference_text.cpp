// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/reference_text.h"

#include "runtime/short_number.h"

namespace integral {

namespace {

std::string at(double x) {
    return shortNumber(x, 10);
}

}  // namespace

std::string noReferenceText(const WhyNoReference& why) {
    switch (why.code) {
        case ReferenceFailure::LimitsTooFarApart:
            return "the limits are too far apart for a double to hold their difference";
        case ReferenceFailure::BeyondDoubleBetween:
        case ReferenceFailure::NoValueBetween:
            return std::string(why.code == ReferenceFailure::BeyondDoubleBetween
                                   ? "f is beyond the range of a double"
                                   : "f has no value") +
                   " between x = " + at(why.from) + " and x = " + at(why.to) +
                   ", inside the limits";
        case ReferenceFailure::OscillatesTooFast:
            return "f turns at most of the " + std::to_string(why.count) +
                   " points it was sampled at: it oscillates faster than they can follow, so no "
                   "quadrature here can be trusted";
        case ReferenceFailure::NoValueNear:
            return "f has no value at x = " + at(why.to) + ", near x = " + at(why.from) +
                   ", inside the limits";
        case ReferenceFailure::PowerDriftsToOne: {
            const std::string distance = why.from == 0.0  ? std::string("|x|")
                                         : why.from < 0.0 ? "|x + " + at(-why.from) + "|"
                                                          : "|x - " + at(why.from) + "|";
            return "f grows like 1/" + distance + "^" + shortNumber(why.power, 6) +
                   " near x = " + at(why.from) + ", its power still rising towards 1 (by " +
                   shortNumber(why.rise, 2) + " over the last decade of the " +
                   std::to_string(why.count) +
                   " followed), as a logarithmic factor makes it: whether the integral exists "
                   "cannot be told with doubles";
        }
        case ReferenceFailure::NoValueAt:
        case ReferenceFailure::BeyondDoubleAt:
            return std::string(why.code == ReferenceFailure::NoValueAt
                                   ? "f has no value"
                                   : "f is beyond the range of a double") +
                   " at x = " + at(why.from) + ", inside the limits";
        case ReferenceFailure::UnusableValue:
            return "the quadratures met a value of f they cannot use between the limits";
        case ReferenceFailure::IntegralBeyondDouble:
            return "the integral is beyond the range of a double";
        case ReferenceFailure::QuadraturesDisagree:
        case ReferenceFailure::StaggeredRulesDisagree:
            return "two independent quadratures disagree (Gauss-Kronrod " +
                   shortNumber(why.first, 8) +
                   (why.code == ReferenceFailure::QuadraturesDisagree
                        ? ", tanh-sinh "
                        : ", Gauss-Kronrod on pieces staggered against its own ") +
                   shortNumber(why.second, 8) + "), so not even the first digit can be trusted";
        case ReferenceFailure::ExactBeyondDouble:
            return "the exact integral is beyond the range of a double";
    }
    return "the reference cannot be computed";
}

std::string cancellationText(const Cancellation& cancellation) {
    const std::string where = cancellation.from == cancellation.to
                                  ? "near x = " + shortNumber(cancellation.from, 10)
                                  : "between x = " + shortNumber(cancellation.from, 10) +
                                        " and x = " + shortNumber(cancellation.to, 10);
    return "f loses up to " + std::to_string(cancellation.digitsLost) +
           " of its 16 digits to cancellation " + where +
           ": the doubles compute it there as the small difference of much larger values, and "
           "the reference's uncertainty includes what their rounding may have cost";
}

std::string vanishingText(const Vanishing& vanishing) {
    return "f has no value at x = " + shortNumber(vanishing.noValueAt, 10) +
           " (0/0, where two values too small for a double meet), but it is exactly 0 over the "
           "decades before and tends to 0 there: it is taken as 0 between x = " +
           shortNumber(vanishing.from, 10) + " and x = " + shortNumber(vanishing.to, 10) +
           ", next to x = " + shortNumber(vanishing.near, 10) + ", and the rest is integrated";
}

}  // namespace integral
