// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace integral {

namespace {

// The faces of the list that are installed, in the list's order: the named face first where
// it is there. Asking the toolkit for a face that is missing costs it a search for a
// replacement every time a font is made, a good part of the window's start.
QStringList installed(const QStringList& faces) {
    QStringList found;
    for (const QString& face : faces) {
        if (QFontDatabase::hasFamily(face)) {
            found << face;
        }
    }
    return found.isEmpty() ? faces : found;
}

QStringList facesOf(Face face) {
    switch (face) {
        case Face::ProportionalGothic: {
            static const QStringList faces =
                installed({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                           QStringLiteral("Noto Sans CJK JP")});
            return faces;
        }
        case Face::ProportionalMincho: {
            static const QStringList faces =
                installed({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")});
            return faces;
        }
        case Face::Century:
            break;
    }
    static const QStringList faces = installed({QStringLiteral("Century"), QStringLiteral("C059")});
    return faces;
}

}  // namespace

QFont windowFont(Face face, double points, bool bold, bool italic) {
    QFont font;
    font.setFamilies(facesOf(face));
    font.setStyleHint(face == Face::ProportionalGothic ? QFont::SansSerif : QFont::Serif);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    return font;
}

}  // namespace integral
