// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dimensions_views.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <map>

#include "app/plot_frame.h"
#include "app/utf8.h"
#include "runtime/short_number.h"

namespace integral {

QColor cubatureMethodColour(CubatureMethod method) {
    return QColor::fromRgb(cubatureMethodInfo(method).colour);
}

namespace {

constexpr double kMarker = 3.5;

void drawWords(QPainter& painter, const QRect& area, const QString& words) {
    painter.setPen(Qt::black);
    painter.drawText(area.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, words);
}

// White paper under any theme, as the Compare window's plots are, and black ink on it: a text
// drawn in the painter's first pen must not follow the theme's, which a dark one makes white.
QPalette paper(QPalette palette) {
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

QString decadeText(int exponent) {
    return QStringLiteral("1e%1").arg(exponent);
}

}  // namespace

DimensionsPlotView::DimensionsPlotView(const QString& waiting, QWidget* parent)
    : QWidget(parent), words_(waiting) {
    setMinimumSize(360, 260);
    setAutoFillBackground(true);
    setPalette(paper(palette()));
}

void DimensionsPlotView::display(const DimensionsPlot& plot) {
    plot_ = plot;
    words_.clear();
    update();
}

void DimensionsPlotView::say(const QString& words) {
    plot_.reset();
    words_ = words;
    update();
}

void DimensionsPlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!plot_ || plot_->nothingToPlot) {
        drawWords(painter, rect(), plot_ ? text(*plot_->nothingToPlot) : words_);
        return;
    }
    const DimensionsPlot& plot = *plot_;
    const QFontMetrics metrics = painter.fontMetrics();
    const double top = drawHeading(painter, rect(), text(plot.title)) + 10;
    // Room under the plot for the axis' numbers, its label and the notes, each wrapped whole.
    const auto noteHeight = [&](const std::string& note) {
        return metrics.boundingRect(QRect(0, 0, width() - 20, 10000), Qt::TextWordWrap, text(note))
            .height();
    };
    int noteLines = 0;
    for (const std::string& note : plot.notes) {
        noteLines += (noteHeight(note) + metrics.lineSpacing() - 1) / metrics.lineSpacing();
    }
    const double legendWidth = 150;
    const QRectF area(70, top, width() - 70 - legendWidth - 20,
                      height() - top - (3 + noteLines) * metrics.lineSpacing() - 10);
    if (area.width() < 40 || area.height() < 40) {
        return;
    }
    const double xLow = plot.xLogarithmic ? plot.x.low : plot.xLow - 0.5;
    const double xHigh = plot.xLogarithmic ? plot.x.high : plot.xHigh + 0.5;
    const PlotFrame frame(area, xLow, xHigh, plot.y.low, plot.y.high);
    const auto at = [&](double x, double y) {
        return frame.at(plot.xLogarithmic ? std::log10(x) : x, std::log10(y));
    };

    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(area);
    for (const int tick : plot.y.ticks()) {
        const QPointF p = frame.at(xLow, tick);
        painter.setPen(QPen(QColor(0xDD, 0xDD, 0xDD), 1));
        painter.drawLine(p, frame.at(xHigh, tick));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, p.y() - 10, area.left() - 6, 20),
                         Qt::AlignRight | Qt::AlignVCenter, decadeText(tick));
    }
    const auto xTick = [&](double world, const QString& label) {
        const QPointF p = frame.at(world, plot.y.low);
        painter.setPen(QPen(QColor(0xDD, 0xDD, 0xDD), 1));
        painter.drawLine(p, frame.at(world, plot.y.high));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(p.x() - 30, p.y() + 3, 60, metrics.lineSpacing()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    };
    if (plot.xLogarithmic) {
        for (const int tick : plot.x.ticks()) {
            xTick(tick, decadeText(tick));
        }
    } else {
        for (int d = plot.xLow; d <= plot.xHigh; ++d) {
            xTick(d, QString::number(d));
        }
    }
    painter.drawText(QRectF(area.left(), area.bottom() + metrics.lineSpacing() + 4, area.width(),
                            metrics.lineSpacing()),
                     Qt::AlignHCenter, text(plot.xLabel));
    painter.save();
    painter.translate(14, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -10, area.height(), 20), Qt::AlignCenter,
                     text(plot.yLabel));
    painter.restore();

    painter.setClipRect(area.adjusted(-kMarker - 1, -kMarker - 1, kMarker + 1, kMarker + 1));
    // Goals not reached at the same d stack down from the top edge, one method under another,
    // so that each shows.
    std::map<double, int> stacked;
    for (const DimensionsSeries& s : plot.series) {
        const QColor colour = cubatureMethodColour(s.method);
        for (const auto& [points, style] :
             {std::pair{&s.points, Qt::SolidLine}, std::pair{&s.claimed, Qt::DashLine}}) {
            QPainterPath path;
            for (std::size_t i = 0; i < points->size(); ++i) {
                const QPointF p = at((*points)[i].x, (*points)[i].y);
                if (i == 0) {
                    path.moveTo(p);
                } else {
                    path.lineTo(p);
                }
            }
            painter.setPen(QPen(colour, style == Qt::SolidLine ? 1.8 : 1.2, style));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            painter.setBrush(style == Qt::SolidLine ? QBrush(colour) : QBrush(Qt::white));
            painter.setPen(QPen(colour, 1.2));
            for (const PlotPoint& point : *points) {
                painter.drawEllipse(at(point.x, point.y), kMarker, kMarker);
            }
        }
        // A goal not reached sits at the top edge, hollow.
        painter.setBrush(Qt::white);
        painter.setPen(QPen(colour, 1.5));
        for (const double x : s.notReachedAt) {
            const QPointF p =
                frame.at(x, plot.y.high) + QPointF(0, (2 * kMarker + 2) * stacked[x]++);
            painter.drawRect(QRectF(p.x() - kMarker, p.y() - kMarker, 2 * kMarker, 2 * kMarker));
        }
    }
    painter.setClipping(false);

    double y = area.top();
    for (const DimensionsSeries& s : plot.series) {
        const QColor colour = cubatureMethodColour(s.method);
        painter.setPen(QPen(colour, 1.8));
        painter.setBrush(colour);
        painter.drawLine(QPointF(area.right() + 12, y + 8), QPointF(area.right() + 34, y + 8));
        painter.drawEllipse(QPointF(area.right() + 23, y + 8), kMarker, kMarker);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(area.right() + 40, y + 8 + metrics.ascent() / 2.0 - 1),
                         text(cubatureMethodInfo(s.method).name));
        y += metrics.lineSpacing() + 4;
    }
    double noteTop = area.bottom() + 2 * metrics.lineSpacing() + 8;
    painter.setPen(QColor(0x40, 0x40, 0x40));
    for (const std::string& note : plot.notes) {
        const int height = noteHeight(note);
        painter.drawText(QRectF(10, noteTop, width() - 20, height),
                         Qt::AlignLeft | Qt::TextWordWrap, text(note));
        noteTop += height;
    }
}

PointsView::PointsView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(300, 300);
    setAutoFillBackground(true);
    setPalette(paper(palette()));
}

void PointsView::display(const std::optional<ProjectedPoints>& points, const QString& absent) {
    points_ = points;
    words_ = absent;
    update();
}

void PointsView::say(const QString& words) {
    points_.reset();
    words_ = words;
    update();
}

void PointsView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!points_) {
        drawWords(painter, rect(), words_);
        return;
    }
    const ProjectedPoints& p = *points_;
    const QFontMetrics metrics = painter.fontMetrics();
    const double top = drawHeading(painter, rect(), text(p.caption)) + 10;
    // A square, as the cube's face is one.
    const double side = std::min(width() - 90.0, height() - top - 2.5 * metrics.lineSpacing() - 10);
    if (side < 40) {
        return;
    }
    const QRectF area((width() - side) / 2 + 20, top, side, side);
    const PlotFrame frame(area, p.lower, p.upper, p.lower, p.upper);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    for (const double v : {p.lower, (p.lower + p.upper) / 2, p.upper}) {
        const QString label = text(shortNumber(v, 4));
        const QPointF below = frame.at(v, p.lower);
        painter.drawText(QRectF(below.x() - 30, below.y() + 3, 60, metrics.lineSpacing()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
        const QPointF left = frame.at(p.lower, v);
        painter.drawText(QRectF(0, left.y() - 10, area.left() - 6, 20),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.drawText(QRectF(area.left(), area.bottom() + metrics.lineSpacing() + 2, area.width(),
                            metrics.lineSpacing()),
                     Qt::AlignHCenter, QStringLiteral("x%1").arg(p.axisX + 1));
    painter.drawText(QRectF(area.left() - 70, area.center().y() + 12, 30, 20), Qt::AlignRight,
                     QStringLiteral("x%1").arg(p.axisY + 1));
    const QColor colour = cubatureMethodColour(p.method);
    painter.setPen(QPen(colour, 0.8));
    for (const ProjectedRegion& r : p.regions) {
        painter.drawRect(QRectF(frame.at(r.xLow, r.yHigh), frame.at(r.xHigh, r.yLow)));
    }
    for (const double x : p.edgesX) {
        painter.drawLine(frame.at(x, p.lower), frame.at(x, p.upper));
    }
    for (const double y : p.edgesY) {
        painter.drawLine(frame.at(p.lower, y), frame.at(p.upper, y));
    }
    // Few points are drawn large, so that a grid's few places show; many small, so that they
    // do not merge into a blot. Over lines they are paler, so that the lines still read.
    const double radius = p.points.size() <= 400 ? 3.5 : p.points.size() <= 3000 ? 1.8 : 1.1;
    QColor fill = colour;
    if (!p.regions.empty() || !p.edgesX.empty()) {
        fill.setAlphaF(0.35f);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    for (const PlotPoint& point : p.points) {
        painter.drawEllipse(frame.at(point.x, point.y), radius, radius);
    }
}

}  // namespace integral
