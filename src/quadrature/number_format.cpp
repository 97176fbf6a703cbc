// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/number_format.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "runtime/runtime_error.h"

namespace integral {

namespace {

// Room for the 309 integer digits of the largest double, a sign, a point and the decimals.
constexpr int kBufferSize = 400;

std::string toChars(double value, std::chars_format format, int precision) {
    char buffer[kBufferSize];
    const auto result = std::to_chars(buffer, buffer + kBufferSize, value, format, precision);
    return std::string(buffer, result.ptr);
}

void requireFinite(double value) {
    if (std::isnan(value)) {
        throw RuntimeError(Fault::InvalidOperation);
    }
    if (std::isinf(value)) {
        throw RuntimeError(Fault::Overflow);
    }
}

// The value in fixed notation with `decimals` decimals, halves rounded away from zero.
// to_chars breaks exact ties to even, so an exact tie is first moved one ulp away from zero.
// Looking 20 places further is enough to see a tie: a double that is not exactly on one lies
// further than 10^-(decimals + 20) from it.
std::string fixedAwayFromZero(double value, int decimals) {
    const std::string wide = toChars(value, std::chars_format::fixed, decimals + 20);
    const std::string_view beyond = std::string_view(wide).substr(wide.find('.') + 1 + decimals);
    if (beyond.front() == '5' && beyond.find_first_not_of('0', 1) == std::string_view::npos) {
        value =
            std::nextafter(value, std::copysign(std::numeric_limits<double>::infinity(), value));
    }
    return toChars(value, std::chars_format::fixed, decimals);
}

std::string formatPattern(double value, int decimals, bool integerDigitBelowOne) {
    std::string text = fixedAwayFromZero(std::fabs(value), decimals);
    const std::size_t point = text.find('.');
    std::string integerPart = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    const bool roundsToZero = integerPart == "0" && fraction.empty();
    if (integerPart == "0" && !integerDigitBelowOne) {
        integerPart.clear();
    }
    const std::string sign = value < 0 && !roundsToZero ? "-" : "";
    if (decimals == 0) {
        return sign + integerPart;
    }
    return sign + integerPart + "." + fraction;
}

// Mantissa with trailing zeros dropped, "E", sign, at least two exponent digits.
std::string exponentForm(const std::string& scientific) {
    const std::size_t e = scientific.find('e');
    std::string mantissa = scientific.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.') {
            mantissa.pop_back();
        }
    }
    return mantissa + "E" + scientific.substr(e + 1);
}

std::string plainFloating(double value, int significantDigits) {
    requireFinite(value);
    if (value == 0.0) {
        return "0";
    }
    const std::string scientific =
        toChars(value, std::chars_format::scientific, significantDigits - 1);
    const std::size_t e = scientific.find('e');
    const std::size_t digits = scientific[e + 1] == '+' ? e + 2 : e + 1;
    int exponent = 0;
    std::from_chars(scientific.data() + digits, scientific.data() + scientific.size(), exponent);
    if (exponent < -4 || exponent >= significantDigits) {
        return exponentForm(scientific);
    }
    std::string text = toChars(value, std::chars_format::fixed, significantDigits - 1 - exponent);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

}  // namespace

std::string formatNumber(double value, NumberPattern pattern) {
    requireFinite(value);
    switch (pattern) {
        case NumberPattern::Counter:
            return formatPattern(value, 0, false);
        case NumberPattern::Estimate:
            return formatPattern(value, 5, false);
        case NumberPattern::Summary:
            return formatPattern(value, 5, true);
    }
    return {};
}

std::string plainText(const Variant& value) {
    switch (value.type()) {
        case Variant::Type::Empty:
            return "";
        case Variant::Type::Integer:
        case Variant::Type::Long:
            return std::to_string(static_cast<long>(value.toDouble()));
        case Variant::Type::Single:
            // A single widens to a double exactly, so rounding that to seven digits is the
            // single's own seven-digit form.
            return plainFloating(value.toDouble(), 7);
        case Variant::Type::Double:
            return plainFloating(value.toDouble(), 15);
    }
    return "";
}

std::string fullPrecision(double value) {
    requireFinite(value);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

}  // namespace integral
