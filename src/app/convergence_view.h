// SPDX-License-Identifier: GPL-3.0-or-later
// A window of its own, opened on demand: the convergence plot the model computes, drawn on
// log-log axes with a legend and the floors explained beside the points where they happen.
// It only draws; every figure comes from the model. Not part of the fixed window.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "app/picture_file.h"
#include "model/convergence_plot.h"

class QPrinter;

namespace integral {

// Each method keeps one colour across its series, its errors and its floors, in every view.
QColor methodColour(Method method);

class ConvergenceView : public QWidget {
    Q_OBJECT

  public:
    explicit ConvergenceView(QWidget* parent = nullptr);

    void display(ConvergencePlot plot);
    const ConvergencePlot& plot() const { return plot_; }

    // Writes the picture; empty when it worked, else why not (see picture_file.h).
    QString savePicture(const QString& path, PictureFormat format) const;
    // The picture on the clipboard, and on a page of `printer`.
    void copyPicture() const;
    void print(QPrinter& printer) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void render(QPainter& painter, const QRectF& area) const;

    ConvergencePlot plot_;
};

}  // namespace integral
