// SPDX-License-Identifier: GPL-3.0-or-later
// The window's three faces, each asked for by its own name first and then by the substitutes
// Debian ships, so the window looks the same wherever the named face is missing.
#pragma once

#include <QFont>

namespace integral {

enum class Face {
    ProportionalGothic,  // "ＭＳ Ｐゴシック" -> IPAPGothic -> Noto Sans CJK JP
    ProportionalMincho,  // "ＭＳ Ｐ明朝" -> IPAPMincho
    Century,             // "Century" -> C059 -> any serif
};

QFont windowFont(Face face, double points, bool bold, bool italic);

}  // namespace integral
