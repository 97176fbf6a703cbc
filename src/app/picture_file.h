// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a view's picture as PNG or SVG without ever losing a file: the picture is written
// to a temporary file beside the chosen one and put in its place only once it is complete, so
// a full disk or a failed write leaves a file that was there as it was. Every failure is told
// to the user with its reason, and so is a name the file dialog would misread (a quotation
// mark splits it into several names) or the file system would refuse (over 255 bytes).
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QRectF;
class QWidget;

namespace integral {

enum class PictureFormat { Png, Svg };

// Draws the picture into `area` (device-independent pixels).
using PictureRenderer = std::function<void(QPainter& painter, const QRectF& area)>;

// Writes the picture of `size` to `path`; an empty text when it worked, else why it did not.
// PNG is written at twice the size, for sharp prints.
QString writePicture(const QString& path, PictureFormat format, QSize size,
                     const PictureRenderer& render, const QString& title);

// What is wrong with a name typed into the save dialog; empty when nothing is.
QString pictureNameProblem(const QString& typed);

// Asks for a file name, starting in the user's pictures folder (or home), writes the picture
// there and tells the user when that failed.
void savePictureAs(QWidget* parent, PictureFormat format, const QString& suggestedName, QSize size,
                   const PictureRenderer& render, const QString& title);

}  // namespace integral
