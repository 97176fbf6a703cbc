// SPDX-License-Identifier: GPL-3.0-or-later
// Text from outside as a message may show it: printable ASCII as it is, every other byte as
// \xNN, and the characters in `backslashed` behind a backslash, so that nothing typed can
// drive a terminal or break the message's quoting.
//   escapedBytes("x\x01")          -> "x\\x01"
//   escapedBytes("it's", "'\\")    -> "it\\'s"
#pragma once

#include <string>
#include <string_view>

namespace integral {

inline std::string escapedBytes(std::string_view text, std::string_view backslashed = {}) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            result += "\\x";
            result += kHex[byte >> 4];
            result += kHex[byte & 0xF];
            continue;
        }
        if (backslashed.find(c) != std::string_view::npos) {
            result += '\\';
        }
        result += c;
    }
    return result;
}

// An argument as a message shows it: quoted, escaped as above, and cut when it is long.
//   quotedArgument("x'1") -> "'x\\'1'"
inline std::string quotedArgument(std::string_view text) {
    constexpr std::size_t kShown = 40;
    // Appended rather than summed: GCC 12 warns falsely (-Wrestrict) on the sum once inlined.
    std::string result = "'";
    result += escapedBytes(text.substr(0, kShown), "\\'");
    result += '\'';
    if (text.size() > kShown) {
        result += "... (" + std::to_string(text.size()) + " bytes)";
    }
    return result;
}

}  // namespace integral
