// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
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

void copyPicture(QSize size, const PictureRenderer& render) {
    QImage image(size * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    QApplication::clipboard()->setImage(image);
}

void printPicture(QPrinter& printer, QSize size, const PictureRenderer& render) {
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.scale(scale, scale);
    render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
}

}  // namespace integral
