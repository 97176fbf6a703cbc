// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/text_to_number.h"

#include <charconv>
#include <cstddef>
#include <string>
#include <system_error>

#include "runtime/runtime_error.h"

namespace integral {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number found at the start of a text, without its blanks.
struct Scanned {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    std::string exponent;  // sign and digits, empty when there is no exponent
    std::size_t end = 0;   // index just past the last character that belongs to the number
    bool hasDigits() const { return !integerDigits.empty() || !fractionDigits.empty(); }
};

class Scanner {
  public:
    Scanner(std::string_view text, bool skipBlanks) : text_(text), skipBlanks_(skipBlanks) {}

    Scanned scan() {
        Scanned s;
        if (peek() == '+' || peek() == '-') {
            s.negative = peek() == '-';
            advance();
            s.end = pos_;
        }
        while (isDigit(peek())) {
            s.integerDigits += peek();
            advance();
            s.end = pos_;
        }
        if (peek() == '.') {
            advance();
            s.end = pos_;
            while (isDigit(peek())) {
                s.fractionDigits += peek();
                advance();
                s.end = pos_;
            }
        }
        if (s.hasDigits() && (peek() == 'e' || peek() == 'E')) {
            // An exponent counts only with a digit in it; "1e" and "1e+" read as 1.
            Scanner look = *this;
            look.advance();
            std::string exponent;
            if (look.peek() == '+' || look.peek() == '-') {
                exponent += look.peek();
                look.advance();
            }
            if (isDigit(look.peek())) {
                while (isDigit(look.peek())) {
                    exponent += look.peek();
                    look.advance();
                }
                s.exponent = exponent;
                s.end = look.pos_;
                *this = look;
            }
        }
        return s;
    }

  private:
    char peek() {
        skip();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void advance() { ++pos_; }
    void skip() {
        while (skipBlanks_ && pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
    }

    std::string_view text_;
    bool skipBlanks_;
    std::size_t pos_ = 0;
};

// Decimal exponent of the leading nonzero digit, saturated far beyond the double range;
// only its sign matters, to tell a too-large number from a too-small one.
long long leadingMagnitude(const Scanned& s) {
    long long magnitude = 0;
    const std::size_t first = s.integerDigits.find_first_not_of('0');
    if (first != std::string::npos) {
        magnitude = static_cast<long long>(s.integerDigits.size() - first - 1);
    } else {
        magnitude = -static_cast<long long>(s.fractionDigits.find_first_not_of('0')) - 1;
    }
    constexpr long long kSaturation = 1'000'000'000'000LL;
    long long exponent = 0;
    const bool negativeExponent = !s.exponent.empty() && s.exponent[0] == '-';
    for (char c : s.exponent) {
        if (isDigit(c) && exponent < kSaturation) {
            exponent = exponent * 10 + (c - '0');
        }
    }
    return magnitude + (negativeExponent ? -exponent : exponent);
}

enum class Conversion { Ok, TooLarge };

Conversion convert(const Scanned& s, double& value) {
    value = 0.0;
    if (s.integerDigits.find_first_not_of('0') == std::string::npos &&
        s.fractionDigits.find_first_not_of('0') == std::string::npos) {
        return Conversion::Ok;  // a zero of any spelling, signless
    }
    std::string normal = s.negative ? "-" : "";
    normal += s.integerDigits.empty() ? "0" : s.integerDigits;
    if (!s.fractionDigits.empty()) {
        normal += '.';
        normal += s.fractionDigits;
    }
    if (!s.exponent.empty()) {
        normal += 'e';
        normal += s.exponent[0] == '+' ? s.exponent.substr(1) : s.exponent;
    }
    double parsed = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        return leadingMagnitude(s) >= 0 ? Conversion::TooLarge : Conversion::Ok;
    }
    value = parsed;
    return Conversion::Ok;
}

}  // namespace

double numericValue(std::string_view text) {
    const Scanned s = Scanner(text, true).scan();
    if (!s.hasDigits()) {
        return 0.0;
    }
    double value = 0.0;
    if (convert(s, value) == Conversion::TooLarge) {
        throw RuntimeError(Fault::Overflow);
    }
    return value;
}

CompleteNumber readCompleteNumber(std::string_view text) {
    using Status = CompleteNumber::Status;
    const Scanned s = Scanner(text, false).scan();
    if (!s.hasDigits() || s.end != text.size()) {
        return {Status::NotANumber};
    }
    double value = 0.0;
    if (convert(s, value) == Conversion::TooLarge) {
        return {Status::BeyondRange};
    }
    return {Status::Number, value};
}

std::optional<double> parseCompleteNumber(std::string_view text) {
    const CompleteNumber number = readCompleteNumber(text);
    if (number.status != CompleteNumber::Status::Number) {
        return std::nullopt;
    }
    return number.value;
}

}  // namespace integral
