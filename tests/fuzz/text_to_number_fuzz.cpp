// SPDX-License-Identifier: GPL-3.0-or-later
// Reading numbers out of arbitrary text: never a crash, only finite values or Overflow, and the
// rules of the reader hold: a character that cannot continue a number changes nothing after
// it, blanks are skipped anywhere, and the strict reading agrees with the lenient one.
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "fuzz_checks.h"
#include "runtime/runtime_error.h"
#include "runtime/text_to_number.h"

namespace {

using integral::fuzz::check;

std::optional<double> lenient(const std::string& text) {
    try {
        return integral::numericValue(text);
    } catch (const integral::RuntimeError& error) {
        check(error.fault() == integral::Fault::Overflow, "only Overflow is raised", text);
        return std::nullopt;
    }
}

bool same(std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    integral::fuzz::Bytes bytes(data, size);
    const std::string text(bytes.rest());

    const std::optional<double> value = lenient(text);
    check(!value || std::isfinite(*value), "a finite value", text);
    check(same(value, lenient(text + "x")), "a stop character changes nothing", text);

    std::string spaced;
    for (char c : text) {
        spaced += c;
        spaced += ' ';
    }
    check(same(value, lenient(spaced)), "blanks are skipped anywhere", text);

    if (const std::optional<double> strict = integral::parseCompleteNumber(text)) {
        check(same(value, strict), "the strict reading agrees", text);
    }

    // Every double, printed in full, reads back as itself.
    integral::fuzz::Bytes again(data, size);
    const double original = again.take<double>();
    if (std::isfinite(original)) {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, original).ptr;
        const std::string printed(buffer, end);
        check(integral::parseCompleteNumber(printed) == original, "round trip", printed);
    }
    return 0;
}
