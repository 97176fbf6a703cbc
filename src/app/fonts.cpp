// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fonts.h"

#include <QStringList>

namespace integral {

QFont windowFont(Face face, double points, bool bold, bool italic) {
    QFont font;
    switch (face) {
        case Face::ProportionalGothic:
            font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                              QStringLiteral("Noto Sans CJK JP")});
            font.setStyleHint(QFont::SansSerif);
            break;
        case Face::ProportionalMincho:
            font.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")});
            font.setStyleHint(QFont::Serif);
            break;
        case Face::Century:
            font.setFamilies({QStringLiteral("Century"), QStringLiteral("C059")});
            font.setStyleHint(QFont::Serif);
            break;
    }
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    return font;
}

}  // namespace integral
