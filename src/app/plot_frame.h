// SPDX-License-Identifier: GPL-3.0-or-later
// World coordinates to a plot's pixels, in one place for every view: the world rectangle
// xLow..xHigh by yLow..yHigh (y upwards) onto the plot's rectangle (y downwards), as one
// QTransform. A point far outside lands far beyond any screen, but within what the painter's
// arithmetic takes, so that a value the range does not show cannot send it astray.
#pragma once

#include <QMarginsF>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <optional>

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

// Where a view's plot goes: inside `area` less `margins` (room for the axes' numbers), with the
// legend right of it, `side` wide, where that leaves the plot kWidePlot wide; else the legend
// goes under the plot, `below` high, where that leaves the plot kHighPlot high, so that a narrow
// view (a small screen, a large scale) keeps a plot as wide as the view. The legend's rectangle is
// the caller's in the first case.
struct PlotPlace {
    QRectF plot;
    std::optional<QRectF> legendBelow;
};
inline PlotPlace placePlot(const QRectF& area, const QMarginsF& margins, double side,
                           double below) {
    constexpr double kWidePlot = 400;
    constexpr double kHighPlot = 150;
    const QRectF beside = area.marginsRemoved(margins).adjusted(0, 0, -side, 0);
    const QRectF plot = area.marginsRemoved(margins).adjusted(0, 0, -20, -below);
    if (beside.width() >= kWidePlot || plot.height() < kHighPlot) {
        return {beside, std::nullopt};
    }
    return {plot, QRectF(area.left() + 20, plot.bottom() + margins.bottom(), area.width() - 40,
                         below - 8)};
}

// A view's heading, centred and wrapped at the top of `area` in the painter's font; returns how
// far down it reaches, so that the plot starts below it at any width, scale and font.
inline double drawHeading(QPainter& painter, const QRectF& area, const QString& heading) {
    constexpr int kFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF box = area.adjusted(10, 8, -10, 0);
    painter.drawText(box, kFlags, heading);
    return painter.boundingRect(box, kFlags, heading).bottom();
}

}  // namespace integral
