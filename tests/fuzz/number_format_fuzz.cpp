// SPDX-License-Identifier: GPL-3.0-or-later
// The patterns and the plain conversion on arbitrary doubles: the shape of every text, never
// "inf" or "nan", and a text that reads back within half a unit of its last place.
#include <cfloat>
#include <cmath>
#include <string>

#include "fuzz_checks.h"
#include "quadrature/number_format.h"
#include "runtime/runtime_error.h"
#include "runtime/text_to_number.h"
#include "runtime/variant.h"

namespace {

using integral::NumberPattern;
using integral::fuzz::check;
using integral::fuzz::matches;

void checkPattern(double value, NumberPattern pattern, const std::regex& shape, double halfUnit) {
    std::string text;
    try {
        text = integral::formatNumber(value, pattern);
    } catch (const integral::RuntimeError&) {
        check(!std::isfinite(value), "only a non-finite value is refused");
        return;
    }
    check(std::isfinite(value), "a non-finite value is refused", text);
    check(integral::fuzz::noInfOrNan(text), "no inf or nan", text);
    check(matches(text, shape), "pattern shape", text);
    const double back = integral::numericValue(text);
    const double slack = halfUnit * (1 + 1e-9) + 2 * std::fabs(std::nextafter(value, 0.0) - value);
    check(std::fabs(back - value) <= slack, "reads back within half a unit", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    integral::fuzz::Bytes bytes(data, size);
    const double value = bytes.take<double>();

    checkPattern(value, NumberPattern::Counter, integral::fuzz::counterShape(), 0.5);
    checkPattern(value, NumberPattern::Estimate, integral::fuzz::estimateShape(), 0.5e-5);
    checkPattern(value, NumberPattern::Summary, integral::fuzz::summaryShape(), 0.5e-5);

    if (std::isfinite(value)) {
        const std::string plain = integral::plainText(integral::Variant::real(value));
        check(matches(plain, integral::fuzz::plainShape()), "plain shape", plain);
        try {
            const double back = integral::numericValue(plain);
            check(std::fabs(back - value) <= std::fabs(value) * 5.1e-15 + DBL_TRUE_MIN,
                  "plain reads back to 15 digits", plain);
        } catch (const integral::RuntimeError&) {
            // Fifteen digits of the largest doubles round up past the double range.
            check(std::fabs(value) >= 1.797693134862315e308, "plain reads back", plain);
        }

        const float single = bytes.take<float>();
        if (std::isfinite(single)) {
            const std::string text = integral::plainText(integral::Variant::single(single));
            check(matches(text, integral::fuzz::plainShape()), "plain single shape", text);
            const double singleBack = integral::numericValue(text);
            check(std::fabs(singleBack - single) <= std::fabs(single) * 5.1e-7 + DBL_TRUE_MIN,
                  "plain single reads back to 7 digits", text);
        }
    }
    return 0;
}
