// SPDX-License-Identifier: GPL-3.0-or-later
// What a user may have on the clipboard, or drag, when pasting into the window: nothing at
// all, a number, an image only, a list of URLs, a very long text, one line longer than any box
// holds.
#pragma once

#include <QImage>
#include <QMimeData>
#include <QString>
#include <QUrl>

namespace integral::test {

inline constexpr int kClipboardKinds = 6;

// A new object, owned by the caller (or by the clipboard once set there).
inline QMimeData* clipboardContents(int kind) {
    auto* data = new QMimeData;
    if (kind == 1) {
        data->setText(QStringLiteral("2.5"));
    } else if (kind == 2) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        data->setImageData(image);
    } else if (kind == 3) {
        data->setUrls({QUrl(QStringLiteral("file:///tmp/x"))});
    } else if (kind == 4) {
        // 30 000 characters in lines of 100, as a pasted document would come.
        QString text;
        for (int line = 0; line < 300; ++line) {
            text += QString(99, QLatin1Char('7')) + QLatin1Char('\n');
        }
        data->setText(text);
    } else if (kind == 5) {
        data->setText(QString(200000, QLatin1Char('7')));
    }
    return data;
}

}  // namespace integral::test
