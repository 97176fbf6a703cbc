// SPDX-License-Identifier: GPL-3.0-or-later
// The program's texts are UTF-8 string views; the toolkit's are QStrings.
#pragma once

#include <QString>
#include <string_view>

namespace integral {

inline QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace integral
