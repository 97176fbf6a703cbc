// SPDX-License-Identifier: GPL-3.0-or-later
// A window of its own that shows how one row of the results list was made: the integrand over
// the interval and, drawn on it, the parabolas of the parabolic rule, the weighted bars of
// Gauss or the samples of Monte Carlo, as the model computes them. It only draws; the window
// tells it which row to show, and it asks the window to step to the row before or after.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "app/picture_file.h"
#include "model/row_picture.h"

class QPrinter;

namespace integral {

class MethodView : public QWidget {
    Q_OBJECT

  public:
    explicit MethodView(QWidget* parent = nullptr);

    // Shows a row's picture, or says that there is no row to show.
    void display(std::optional<RowPicture> picture, const QString& integrand);
    const std::optional<RowPicture>& picture() const { return picture_; }

    // Writes the picture; empty when it worked, else why not (see picture_file.h).
    QString savePicture(const QString& path, PictureFormat format) const;
    // Draws the picture into `area`.
    void render(QPainter& painter, const QRectF& area) const;
    // The picture on a page of `printer`.
    void print(QPrinter& printer) const;

  signals:
    // The arrow keys in the view: the row before (-1) or after (+1).
    void stepRequested(int delta);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString title() const;
    QString suggestedName() const;

    std::optional<RowPicture> picture_;
    QString integrand_;
};

}  // namespace integral
