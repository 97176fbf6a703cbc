// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the window's own texts: the original ones by default, or English from the
// translation built into the program (chosen from the Language menu, remembered between
// starts, or given as integral --language en). The learning aids, the views and the messages
// are written in English and stay so.
#pragma once

#include <QString>
#include <string_view>

namespace integral {

// "" for the original texts, "en" for English.
inline constexpr const char* kEnglish = "en";

// Puts the texts of `language` in place (the window retranslates on the change it is sent);
// false, and nothing changed, for a language the program does not have.
bool useLanguage(const QString& language);
QString languageInUse();

// The choice remembered between starts, and remembering one.
QString savedLanguage();
void saveLanguage(const QString& language);

// One of the window's own texts in the language in use.
QString windowText(std::string_view source);

}  // namespace integral
