// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/language.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>
#include <memory>
#include <string>

namespace integral {

namespace {

std::unique_ptr<QTranslator>& installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

QString& inUse() {
    static QString language;
    return language;
}

QSettings settings() {
    return QSettings(QStringLiteral("integral"), QStringLiteral("integral"));
}

}  // namespace

bool useLanguage(const QString& language) {
    if (language == inUse()) {
        return true;
    }
    std::unique_ptr<QTranslator> translator;
    if (!language.isEmpty()) {
        translator = std::make_unique<QTranslator>();
        if (!translator->load(QStringLiteral(":/i18n/integral_") + language)) {
            return false;
        }
    }
    // Installing and removing each tell every window, which then retranslates.
    inUse() = language;
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
    }
    installed() = std::move(translator);
    if (installed()) {
        QCoreApplication::installTranslator(installed().get());
    }
    return true;
}

QString languageInUse() {
    return inUse();
}

QString savedLanguage() {
    return settings().value(QStringLiteral("language")).toString();
}

void saveLanguage(const QString& language) {
    settings().setValue(QStringLiteral("language"), language);
}

QString windowText(std::string_view source) {
    return QCoreApplication::translate("Form1", std::string(source).c_str());
}

}  // namespace integral
