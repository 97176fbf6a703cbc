// SPDX-License-Identifier: GPL-3.0-or-later
// The program's texts are UTF-8 string views; the toolkit's are QStrings.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>
#include <string_view>

namespace integral {

inline QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// One of the method table's texts, marked there for translation, in the language in use.
inline QString methodText(std::string_view source) {
    return QCoreApplication::translate("Method", std::string(source).c_str());
}

}  // namespace integral
