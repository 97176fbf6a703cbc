// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace integral {

void askAndPrint(QWidget* parent, const QString& documentName,
                 const std::function<void(QPrinter&)>& print) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print %1").arg(documentName));
    if (dialog.exec() == QDialog::Accepted) {
        print(printer);
    }
}

void printPicture(QPrinter& printer, QSize size, const PictureRenderer& render) {
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.scale(scale, scale);
    render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
}

}  // namespace integral
