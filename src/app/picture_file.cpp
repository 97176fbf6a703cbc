// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgGenerator>

namespace integral {

namespace {

// The longest name (not path) most file systems take, in bytes.
constexpr int kLongestName = 255;

QString failure(const QString& path, const QString& reason) {
    return QCoreApplication::translate("PictureFile",
                                       "The picture could not be saved as \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Qt's own dialog, so that a name is checked before the dialog reads it; the platform's
// dialogs cut a name with a quotation mark into several, or ignore one that is too long,
// without a word.
class PictureFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString problem = edit == nullptr ? QString() : pictureNameProblem(edit->text());
        if (!problem.isEmpty()) {
            QMessageBox::warning(this, windowTitle(), problem);
            return;
        }
        QFileDialog::accept();
    }
};

QString startFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

}  // namespace

QString pictureNameProblem(const QString& typed) {
    if (typed.contains(QLatin1Char('"'))) {
        return QStringLiteral(
            "A file name with a quotation mark (\") cannot be chosen here: the dialog would read "
            "it as several names. Choose a name without one.");
    }
    const int bytes = static_cast<int>(QFileInfo(typed).fileName().toUtf8().size());
    if (bytes > kLongestName) {
        return QStringLiteral(
                   "The name is %1 bytes long, and file systems take at most %2. Choose a "
                   "shorter name.")
            .arg(bytes)
            .arg(kLongestName);
    }
    return {};
}

QString writePicture(const QString& path, PictureFormat format, QSize size,
                     const PictureRenderer& render, const QString& title) {
    const QString problem = pictureNameProblem(path);
    if (!problem.isEmpty()) {
        return problem;
    }
    // A file is what its name says: SVG under a name ending in .png would open in no viewer.
    const QString wanted =
        format == PictureFormat::Png ? QStringLiteral("png") : QStringLiteral("svg");
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!suffix.isEmpty() && suffix != wanted) {
        return QStringLiteral(
                   "The name ends in .%1, but the picture is %2. Choose a name "
                   "ending in .%3.")
            .arg(suffix, wanted.toUpper(), wanted);
    }
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir()) {
        return failure(path,
                       QCoreApplication::translate("PictureFile", "the folder %1 does not exist")
                           .arg(QDir::toNativeSeparators(folder.filePath())));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(path, file.errorString());
    }
    bool drawn = false;
    if (format == PictureFormat::Png) {
        QImage image(size * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2.0);
        image.fill(Qt::white);
        QPainter painter(&image);
        render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        drawn = image.save(&file, "PNG");
    } else {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        // The title goes into the SVG's XML as it is given: a < or & of an integrand's text
        // must arrive as text.
        generator.setTitle(title.toHtmlEscaped());
        QPainter painter;
        drawn = painter.begin(&generator);
        if (drawn) {
            render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
            drawn = painter.end();
        }
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        const QString reason =
            file.error() != QFileDevice::NoError
                ? file.errorString()
                : QCoreApplication::translate("PictureFile", "the picture could not be written");
        file.cancelWriting();
        return failure(path, reason);
    }
    // Only here does the new file replace one that was there.
    if (!file.commit()) {
        return failure(path, file.errorString());
    }
    return {};
}

void savePictureAs(QWidget* parent, PictureFormat format, const QString& suggestedName, QSize size,
                   const PictureRenderer& render, const QString& title) {
    const QString kind =
        format == PictureFormat::Png ? QStringLiteral("PNG") : QStringLiteral("SVG");
    const QString suffix = kind.toLower();
    PictureFileDialog dialog(parent,
                             QCoreApplication::translate("PictureFile", "Save as %1").arg(kind),
                             startFolder(), QStringLiteral("%1 (*.%2)").arg(kind, suffix));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(suggestedName + QLatin1Char('.') + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString problem =
        writePicture(dialog.selectedFiles().constFirst(), format, size, render, title);
    if (!problem.isEmpty()) {
        QMessageBox::warning(
            parent, QCoreApplication::translate("PictureFile", "Save as %1").arg(kind), problem);
    }
}

}  // namespace integral
