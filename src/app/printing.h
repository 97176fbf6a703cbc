// SPDX-License-Identifier: GPL-3.0-or-later
// Getting the window's results and pictures onto paper and into a worksheet: the print dialog,
// then pages drawn as the views draw themselves, scaled to the page; and a picture on the
// clipboard.
#pragma once

#include <QSize>
#include <QString>
#include <functional>

#include "app/picture_file.h"

class QPrinter;
class QWidget;

namespace integral {

// Asks with the print dialog (which also offers a PDF file) and prints when it is accepted.
void askAndPrint(QWidget* parent, const QString& documentName,
                 const std::function<void(QPrinter&)>& print);

// The picture of `size` on one page, as large as the page allows, in proportion.
void printPicture(QPrinter& printer, QSize size, const PictureRenderer& render);

// The picture of `size` on the clipboard, at twice the size for sharp pastes.
void copyPicture(QSize size, const PictureRenderer& render);

}  // namespace integral
