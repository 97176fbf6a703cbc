// SPDX-License-Identifier: GPL-3.0-or-later
// World coordinates to a plot's pixels, in one place for every view: the world rectangle
// xLow..xHigh by yLow..yHigh (y upwards) onto the plot's rectangle (y downwards), as one
// QTransform. A point far outside lands far beyond any screen, but within what the painter's
// arithmetic takes, so that a value the range does not show cannot send it astray.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <algorithm>

namespace integral {

class PlotFrame {
  public:
    PlotFrame(const QRectF& plot, double xLow, double xHigh, double yLow, double yHigh)
        : plot_(plot) {
        const double sx = plot.width() / (xHigh - xLow);
        const double sy = -plot.height() / (yHigh - yLow);
        toPixels_ = QTransform(sx, 0, 0, sy, plot.left() - sx * xLow, plot.bottom() - sy * yLow);
    }

    QPointF at(double x, double y) const {
        constexpr double kFarAway = 1e6;
        const QPointF p = toPixels_.map(QPointF(x, y));
        return {std::clamp(p.x(), -kFarAway, kFarAway), std::clamp(p.y(), -kFarAway, kFarAway)};
    }
    const QRectF& plot() const { return plot_; }

  private:
    QRectF plot_;
    QTransform toPixels_;
};

// A view's heading, centred and wrapped at the top of `area` in the painter's font; returns how
// far down it reaches, so that the plot starts below it at any width, scale and font.
inline double drawHeading(QPainter& painter, const QRectF& area, const QString& heading) {
    constexpr int kFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF box = area.adjusted(10, 8, -10, 0);
    painter.drawText(box, kFlags, heading);
    return painter.boundingRect(box, kFlags, heading).bottom();
}

}  // namespace integral
