// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/window_notes.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <memory>

#include "integrands/typed_expression.h"
#include "runtime/runtime_error.h"
#include "runtime/short_number.h"
#include "runtime/text_to_number.h"

namespace integral {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string withoutBlanks(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (kBlanks.find(c) == std::string_view::npos) {
            kept += c;
        }
    }
    return kept;
}

// The number the text means where it is written another way: a decimal comma, or an
// expression without x (1/2, pi, sqrt(2)).
std::optional<double> meantNumber(std::string_view text) {
    if (text.find(',') != std::string_view::npos && text.find('.') == std::string_view::npos &&
        text.find(',') == text.rfind(',')) {
        std::string pointed(text);
        pointed[pointed.find(',')] = '.';
        if (const std::optional<double> value = parseCompleteNumber(pointed)) {
            return value;
        }
    }
    auto parsed = TypedExpression::parse(text);
    const auto* expression = std::get_if<std::shared_ptr<const TypedExpression>>(&parsed);
    if (expression == nullptr) {
        return std::nullopt;
    }
    // The same value at two points: the expression does not depend on x.
    const double at0 = (*expression)->evaluate(0.0);
    const double at1 = (*expression)->evaluate(0.7371);
    if (!std::isfinite(at0) || at0 != at1) {
        return std::nullopt;
    }
    return at0;
}

double limitValue(const Variant& limit) {
    return limit.isEmpty() ? 0.0 : limit.toDouble();
}

}  // namespace

std::optional<std::string> limitReadingNote(std::string_view text) {
    const std::string_view body = trimmed(text);
    if (body.empty() || readCompleteNumber(body).status != CompleteNumber::Status::NotANumber) {
        return std::nullopt;
    }
    double read = 0.0;
    try {
        read = numericValue(text);
    } catch (const RuntimeError&) {
        return std::nullopt;  // Enter reports it
    }
    const std::string readAs = "read as " + shortNumber(read, 15);
    if (parseCompleteNumber(withoutBlanks(body))) {
        return readAs + ": the spaces within it are left out";
    }
    std::string note = readAs + ": only the leading number counts";
    if (const std::optional<double> meant = meantNumber(body); meant && *meant != read) {
        note += "; write " + shortNumber(*meant, 15);
    }
    return note;
}

std::optional<std::string> unconfirmedLimitsNote(const TypedLimit& lower, const TypedLimit& upper,
                                                 const Variant& x1, const Variant& x2) {
    if (lower.confirmed && upper.confirmed) {
        return std::nullopt;
    }
    std::string which;
    if (!lower.confirmed && !upper.confirmed) {
        which = "the texts in both boxes are not in use until Enter is pressed in each";
    } else {
        which = std::string("the text in the ") + (lower.confirmed ? "upper" : "lower") +
                " box is not in use until Enter is pressed there";
    }
    return "The rows are for " + shortNumber(limitValue(x1), 15) + " to " +
           shortNumber(limitValue(x2), 15) + ": " + which + ".";
}

std::string limitsInUse(const Variant& x1, const Variant& x2) {
    return "in use: from " + shortNumber(limitValue(x1), 15) + " to " +
           shortNumber(limitValue(x2), 15);
}

std::string boxHeightText(const Variant& ymax) {
    if (ymax.isEmpty()) {
        return "no box yet";
    }
    return "box height " + shortNumber(ymax.toDouble(), 7);
}

std::optional<std::string> monteCarloBoxNote(const Variant& ymax) {
    const double height = limitValue(ymax);
    if (height > 0) {
        return std::nullopt;
    }
    const std::string howToSet =
        " Click the canvas above the curve, or choose Box height… from the canvas's menu.";
    if (height == 0) {
        return "No box is set, so every row is 0: the rows are the box's area times the share "
               "of points under the curve." +
               howToSet;
    }
    return "The box lies below the axis (height " + shortNumber(height, 7) +
           "): each row is its negative area times the share of points under the curve, not "
           "the integral." +
           howToSet;
}

std::optional<std::string> curveGapsNote(const CurveGaps& gaps) {
    if (gaps.points == 0) {
        return std::nullopt;
    }
    // The points stand 0.01 apart, give or take the rounding their sums gather.
    const auto onGrid = [](double x) { return shortNumber(std::round(x * 100) / 100 + 0.0, 6); };
    return "f has no value that can be drawn at " + std::to_string(gaps.points) +
           " of the curve's 2001 points, from x = " + onGrid(gaps.first) + " to " +
           onGrid(gaps.last) +
           ": the curve has gaps there (the methods still stop where f has no value).";
}

std::string chosenNotDrawnNote(std::string_view chosen, std::optional<std::string_view> curveOf,
                               std::optional<std::string_view> rowsOf) {
    std::string note = std::string(chosen) + " is chosen: Graph draws it.";
    if (curveOf && rowsOf && *curveOf == *rowsOf) {
        return note + " The curve, the rows and the summary shown are still those of " +
               std::string(*curveOf) + ".";
    }
    if (curveOf) {
        note += " The curve shown is still that of " + std::string(*curveOf) + ".";
    }
    if (rowsOf) {
        note += " The rows and the summary shown are still those of " + std::string(*rowsOf) + ".";
    }
    return note;
}

std::string suggestedFileName(std::string_view what, std::string_view integrand, double x1,
                              double x2) {
    const std::string words = std::string(what) + "_" + std::string(integrand.substr(0, 40)) + "_" +
                              shortNumber(x1, 6) + "_to_" + shortNumber(x2, 6);
    std::string name;
    for (const char c : words) {
        const bool kept = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-';
        if (c == '+') {
            continue;  // 1e+20 reads 1e20
        }
        if (kept) {
            name += c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

std::variant<float, std::string> readBoxHeight(std::string_view text) {
    const CompleteNumber number = readCompleteNumber(trimmed(text));
    if (number.status == CompleteNumber::Status::NotANumber) {
        return std::string("type the height as a number, as 4 or 2.5");
    }
    if (number.status == CompleteNumber::Status::BeyondRange || std::fabs(number.value) > FLT_MAX) {
        return "the height is too large: at most " + shortNumber(FLT_MAX, 3) + " is taken";
    }
    return static_cast<float>(number.value);
}

}  // namespace integral
