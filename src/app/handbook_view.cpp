// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/handbook_view.h"

#include <QKeyEvent>
#include <QUrl>

namespace integral {

HandbookView::HandbookView(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Handbook"));
    setWindowTitle(tr("Integral handbook"));
    setAttribute(Qt::WA_DeleteOnClose);
    setOpenExternalLinks(true);
    setSource(QUrl(QStringLiteral("qrc:/handbook/handbook.html")));
    resize(720, 640);
}

void HandbookView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

}  // namespace integral
