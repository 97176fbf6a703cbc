// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fault_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "integrands/formulas.h"
#include "model/reference_text.h"

#include "runtime/short_number.h"

namespace integral {

namespace {

std::string number(double value) {
    return shortNumber(value, 15);
}

std::string where(const FaultReport& report) {
    switch (report.activity) {
        case Activity::EnteringLimit:
            return "reading the number typed into a limit box";
        case Activity::Shading:
            return "shading the area between the limits";
        case Activity::DrawingBox:
            return "drawing the Monte Carlo box";
        case Activity::Plotting:
            return "plotting the curve";
        case Activity::Running:
            break;
    }
    if (!report.method) {
        return "computing the integral";
    }
    const MethodInfo& info = methodInfo(*report.method);
    std::string place =
        "running \"" + std::string(info.caption) + "\" (" + std::string(info.description) + ")";
    if (report.rowCounter) {
        place +=
            ", on the row for " + std::to_string(*report.rowCounter) + " " + std::string(info.unit);
    }
    return place;
}

std::string advice(const FaultReport& report) {
    switch (report.fault) {
        case Fault::OutOfMemory:
            return "The computer ran out of memory. Close other programs and try again; "
                   "everything entered so far is kept.";
        case Fault::SubscriptOutOfRange:
            return "A table was read past its end. Please report this.";
        case Fault::DivisionByZero:
        case Fault::InvalidOperation:
            if (report.integrand.expression() != nullptr && report.x) {
                return "The expression has no value there (a square root or logarithm of a "
                       "negative number, 0/0, ...). Choose limits where it has one.";
            }
            return "A quotient had no value there. Choose other limits.";
        case Fault::Overflow:
            break;
    }
    if (report.activity == Activity::EnteringLimit) {
        return "The number is beyond what the program can hold (about 1.8e308). The limit keeps "
               "its previous value.";
    }
    if (!report.x) {
        return "The limits are so far out that the arithmetic itself overflows. Choose limits "
               "nearer the origin.";
    }
    if (report.integrand.expression() != nullptr) {
        return "The expression's value there is beyond what the program can hold (a division by "
               "0, a power or exponential too large, ...). Choose limits that keep clear of it.";
    }
    if (report.integrand.formula() == Formula::XExp && *report.x < 0) {
        return "x*Exp(-x) grows beyond every bound to the left of the origin: the canvas holds "
               "values up to about 3.4e38 (reached near x = -93) and e^-x itself overflows below "
               "x = -709.78. Choose a lower limit nearer the origin.";
    }
    return "The value there is beyond what the program can hold or draw. Choose limits nearer "
           "the origin.";
}

// A typed f without a value at a limit, met by a rule that evaluates f there or by the shading's
// first line: whether the integral exists all the same, and what computes it.
//   1/sqrt(x) on 0..1: "... the integral from 0 to 1 exists all the same: it is 2 ..."
std::string atALimit(const FaultReport& report) {
    const bool valueless = report.fault == Fault::Overflow ||
                           report.fault == Fault::DivisionByZero ||
                           report.fault == Fault::InvalidOperation;
    const bool drawingOrRunning =
        report.activity == Activity::Shading || report.activity == Activity::Running;
    // The limits as the rules take them, in order.
    const double lower = std::min(report.lower, report.upper);
    const double upper = std::max(report.lower, report.upper);
    if (report.integrand.expression() == nullptr || !report.x || !valueless || !drawingOrRunning ||
        !(lower < upper)) {
        return {};
    }
    // A rule's last node may stand a rounding or two away from the upper limit.
    const double near = 1e-12 * (upper - lower) + 4 * std::numeric_limits<double>::epsilon() *
                                                      std::max(std::fabs(lower), std::fabs(upper));
    const double x = *report.x;
    if (std::fabs(x - lower) > near && std::fabs(x - upper) > near) {
        return {};
    }
    std::string said = "\n\nf has no value at the limit x = " + number(x) + ", ";
    said += report.activity == Activity::Shading ? "where the shading draws its first line. "
                                                 : "one of the points the rule evaluates. ";
    const std::string span = "from " + number(lower) + " to " + number(upper);
    const Reference reference = report.integrand.reference(lower, upper);
    if (reference.divergence) {
        return said + "The integral " + span +
               " does not exist either: " + divergenceText(*reference.divergence) + ".";
    }
    if (!reference.value) {
        return said + "Whether the integral " + span + " exists cannot be told here: " +
               (reference.whyNone ? noReferenceText(*reference.whyNone) : std::string()) + ".";
    }
    return said + "The integral " + span + " exists all the same: it is " +
           number(reference.value->value) + " (reference, within " +
           shortNumber(reference.value->uncertainty, 2) +
           "). Gauss and the midpoint rule evaluate f only inside the interval, as do the "
           "sampling methods (mean-value, stratified, Sobol): they give rows here.";
}

}  // namespace

std::string faultText(const FaultReport& report) {
    std::string text(faultName(report.fault));
    text += "\n\nWhere: " + where(report) + ".";
    if (report.x) {
        text += "\nAt x = " + number(*report.x) + ".";
    }
    text += report.integrand.chosen() ? "\nIntegrand: " + report.integrand.name() + "."
                                      : std::string("\nIntegrand: none chosen.");
    return text + "\n\n" + advice(report) + atALimit(report);
}

}  // namespace integral
