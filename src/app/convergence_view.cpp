// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/convergence_view.h"
#include "app/plot_frame.h"
#include "app/printing.h"
#include "app/utf8.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace integral {

// Each method keeps one colour across its series: its errors, its floors.
QColor methodColour(Method method) {
    return QColor::fromRgb(static_cast<QRgb>(methodInfo(method).colour));
}

namespace {

QColor colourOf(const PlotSeries& s) {
    const QColor own = s.method ? methodColour(*s.method) : QColor(Qt::black);
    switch (s.role) {
        case SeriesRole::Errors:
        case SeriesRole::ClaimedError:
            return own;
        case SeriesRole::Sigma:
            return {0xE0, 0x90, 0x30};
        case SeriesRole::ReferenceSlope:
            return {0x70, 0x70, 0x90};
        case SeriesRole::RoundingFloor:
            return {0x90, 0x90, 0x90};
        case SeriesRole::TableFloor:
        case SeriesRole::BoxFloor:
            return own.lighter(140);
    }
    return own;
}

QPen penOf(const PlotSeries& s) {
    switch (s.style) {
        case SeriesStyle::Line:
            return QPen(colourOf(s), 2.0, Qt::SolidLine);
        case SeriesStyle::Reference:
            return QPen(colourOf(s), 1.2, Qt::DashLine);
        case SeriesStyle::Floor:
            return QPen(colourOf(s), 1.5, Qt::DotLine);
        case SeriesStyle::Markers:
            break;
    }
    return QPen(colourOf(s), 1.2);
}

void drawTriangle(QPainter& painter, QPointF base) {
    const QPointF triangle[] = {base + QPointF(0, -10), base + QPointF(-5, -2),
                                base + QPointF(5, -2)};
    painter.drawPolygon(triangle, 3);
}

constexpr double kMarker = 3.5;

// A method's marker of radius r at `at`, in the pen and brush set; where no method owns the
// series, a circle.
void drawMarker(QPainter& painter, std::optional<Method> method, QPointF at, double r = kMarker) {
    const Marker marker = method ? methodInfo(*method).marker : Marker::Circle;
    const auto polygon = [&](int corners, double turn) {
        QPolygonF shape;
        for (int i = 0; i < corners; ++i) {
            const double angle = turn + 2.0 * std::numbers::pi * i / corners;
            shape << at + QPointF(r * 1.2 * std::cos(angle), -r * 1.2 * std::sin(angle));
        }
        painter.drawPolygon(shape);
    };
    const auto strokes = [&](double turn, int count) {
        for (int i = 0; i < count; ++i) {
            const double angle = turn + std::numbers::pi * i / count;
            const QPointF d(r * 1.3 * std::cos(angle), r * 1.3 * std::sin(angle));
            painter.drawLine(at - d, at + d);
        }
    };
    switch (marker) {
        case Marker::Circle:
            painter.drawEllipse(at, r, r);
            break;
        case Marker::Square:
            painter.drawRect(QRectF(at - QPointF(r, r), QSizeF(2 * r, 2 * r)));
            break;
        case Marker::Diamond:
            polygon(4, std::numbers::pi / 2);
            break;
        case Marker::TriangleUp:
            polygon(3, std::numbers::pi / 2);
            break;
        case Marker::TriangleDown:
            polygon(3, -std::numbers::pi / 2);
            break;
        case Marker::Cross:
            strokes(std::numbers::pi / 4, 2);
            break;
        case Marker::Plus:
            strokes(0, 2);
            break;
        case Marker::Star:
            strokes(std::numbers::pi / 2, 3);
            break;
        case Marker::Pentagon:
            polygon(5, std::numbers::pi / 2);
            break;
        case Marker::Hexagon:
            polygon(6, 0);
            break;
        case Marker::Bar:
            painter.drawRect(QRectF(at - QPointF(r * 1.4, r * 0.6), QSizeF(r * 2.8, r * 1.2)));
            break;
    }
}
constexpr double kSide = 270.0;  // the legend and the notes, right of the plot

}  // namespace

ConvergenceView::ConvergenceView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Convergence"));
    setWindowTitle(tr("Convergence"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 560);
    setToolTip(
        tr("Right-click to copy, save (PNG or SVG) or print the picture; Ctrl+C "
           "copies, Ctrl+P prints, Esc closes"));
}

void ConvergenceView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copyPicture();
        return;
    }
    if (event->key() == Qt::Key_P && event->modifiers() == Qt::ControlModifier) {
        askAndPrint(this, text(plot_.title), [this](QPrinter& printer) { print(printer); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void ConvergenceView::display(ConvergencePlot plot) {
    plot_ = std::move(plot);
    setWindowTitle(text(plot_.title));
    update();
    QWidget::show();
    raise();
}

void ConvergenceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render(painter, rect());
}

void ConvergenceView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const auto renderer = [this](QPainter& painter, const QRectF& area) { render(painter, area); };
    menu.addAction(tr("&Copy picture"), this, [this] { copyPicture(); });
    for (const auto& [name, format] : {std::pair{tr("Save as P&NG…"), PictureFormat::Png},
                                       std::pair{tr("Save as &SVG…"), PictureFormat::Svg}}) {
        menu.addAction(name, this, [this, format, renderer] {
            savePictureAs(this, format, text(plot_.fileName), size(), renderer, text(plot_.title));
        });
    }
    menu.addAction(tr("&Print…\tCtrl+P"), this, [this] {
        askAndPrint(this, text(plot_.title), [this](QPrinter& printer) { print(printer); });
    });
    menu.exec(event->globalPos());
}

void ConvergenceView::copyPicture() const {
    integral::copyPicture(size(),
                          [this](QPainter& painter, const QRectF& area) { render(painter, area); });
}

void ConvergenceView::print(QPrinter& printer) const {
    printPicture(printer, size(),
                 [this](QPainter& painter, const QRectF& area) { render(painter, area); });
}

QString ConvergenceView::savePicture(const QString& path, PictureFormat format) const {
    return writePicture(
        path, format, size(),
        [this](QPainter& painter, const QRectF& area) { render(painter, area); },
        text(plot_.title));
}

namespace {

// Decades onto the plot: a point is placed by the logarithms of its coordinates.
class LogFrame : public PlotFrame {
  public:
    LogFrame(const ConvergencePlot& plot, const QRectF& area)
        : PlotFrame(area, plot.x.low, plot.x.high, plot.y.low, plot.y.high) {}
    QPointF of(PlotPoint p) const { return at(std::log10(p.x), std::log10(p.y)); }
};

void drawDecades(QPainter& painter, const ConvergencePlot& plot_, const LogFrame& frame,
                 const QRectF& area, const QFont& small, const QFont& normal) {
    const QRectF& plot = frame.plot();
    painter.setFont(small);
    for (const int d : plot_.x.ticks()) {
        const double x = frame.at(d, plot_.y.low).x();
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - 30, plot.bottom() + 4, 60, 16), Qt::AlignCenter,
                         QStringLiteral("1e%1").arg(d));
    }
    for (const int d : plot_.y.ticks()) {
        const double y = frame.at(plot_.x.low, d).y();
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 76, y - 8, 70, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("1e%1").arg(d));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.setFont(normal);
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + 26, plot.width(), 20), Qt::AlignCenter,
        QCoreApplication::translate("ConvergenceView", "evaluations of f (log scale)"));
    painter.save();
    painter.translate(area.left() + 16, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -10, plot.height(), 20), Qt::AlignCenter,
                     text(plot_.yLabel));
    painter.restore();
}

// What the series drew that the legend must explain.
struct Drawn {
    bool anyZero = false;
    bool anyRounding = false;
};

Drawn drawSeries(QPainter& painter, const ConvergencePlot& plot_, const LogFrame& frame,
                 const QFont& small) {
    Drawn drawn;
    painter.save();
    painter.setClipRect(frame.plot().adjusted(-1, -1, 1, 1));
    for (const PlotSeries& s : plot_.series) {
        const QColor colour = colourOf(s);
        if (s.style != SeriesStyle::Markers) {
            painter.setPen(penOf(s));
            painter.setBrush(Qt::NoBrush);
            QPainterPath path;
            for (std::size_t i = 0; i < s.points.size(); ++i) {
                const QPointF p = frame.of(s.points[i]);
                i == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            painter.drawPath(path);
            // A method's line carries its marker at each point, so that lines of colours
            // alike stay apart; a reference or a floor has none.
            if (s.method && (s.role == SeriesRole::Errors || s.role == SeriesRole::ClaimedError)) {
                painter.setPen(QPen(colour, 1.2));
                painter.setBrush(s.role == SeriesRole::Errors ? QBrush(colour) : QBrush(Qt::white));
                for (const PlotPoint& point : s.points) {
                    drawMarker(painter, s.method, frame.of(point), kMarker - 0.5);
                }
            }
            continue;
        }
        painter.setPen(penOf(s));
        painter.setBrush(colour);
        for (const PlotPoint& point : s.points) {
            drawMarker(painter, s.method, frame.of(point));
        }
        painter.setBrush(Qt::white);
        for (const PlotPoint& point : s.roundingLevel) {
            drawMarker(painter, s.method, frame.of(point));
            drawn.anyRounding = true;
        }
        // An exact row has no place on a log scale: a triangle on the bottom edge marks it.
        painter.setBrush(Qt::NoBrush);
        for (const double x : s.zeroErrorAt) {
            drawTriangle(painter, frame.at(std::log10(x), plot_.y.low));
            drawn.anyZero = true;
        }
    }
    // Each note's number beside the point it explains.
    painter.setFont(small);
    for (std::size_t i = 0; i < plot_.notes.size(); ++i) {
        if (!plot_.notes[i].at) {
            continue;
        }
        const QPointF at = frame.of(*plot_.notes[i].at);
        const QRectF badge(at + QPointF(6, -20), QSizeF(16, 16));
        painter.setPen(Qt::black);
        painter.setBrush(QColor(0xFF, 0xF4, 0xC0));
        painter.drawEllipse(badge);
        painter.drawText(badge, Qt::AlignCenter, QString::number(i + 1));
    }
    painter.restore();
    return drawn;
}

// The legend and the notes, right of the plot, where no point can hide under them.
void drawLegend(QPainter& painter, const ConvergencePlot& plot_, const QRectF& side,
                const Drawn& drawn) {
    const double rowHeight = 16;
    // Below a narrow plot the legend takes two columns, so that it leaves the plot its room.
    const int columns = side.width() >= 440 ? 2 : 1;
    const double columnWidth = side.width() / columns;
    double y = side.top() + 4;
    int column = 0;
    const auto entry = [&](const QString& name, auto&& mark) {
        const double left = side.left() + column * columnWidth;
        const QPointF at(left + 14, y + rowHeight / 2);
        mark(at);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(left + 28, y, columnWidth - 30, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        if (++column == columns) {
            column = 0;
            y += rowHeight;
        }
    };
    const Legend legend = legendOf(plot_);
    for (const LegendEntry& line : legend.entries) {
        if (line.method) {
            // A method's pair: its colour and marker; which line is which is told below.
            const QColor colour = methodColour(*line.method);
            entry(text(line.name), [&](QPointF at) {
                painter.setPen(QPen(colour, 2.0));
                painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
                painter.setPen(QPen(colour, 1.2));
                painter.setBrush(colour);
                drawMarker(painter, line.method, at, kMarker - 0.5);
            });
            continue;
        }
        const PlotSeries& s = plot_.series[*line.series];
        entry(text(s.name), [&](QPointF at) {
            painter.setPen(penOf(s));
            if (s.style == SeriesStyle::Markers) {
                painter.setBrush(colourOf(s));
                drawMarker(painter, s.method, at);
            } else {
                painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
                if (s.method &&
                    (s.role == SeriesRole::Errors || s.role == SeriesRole::ClaimedError)) {
                    painter.setPen(QPen(colourOf(s), 1.2));
                    painter.setBrush(s.role == SeriesRole::Errors ? QBrush(colourOf(s))
                                                                  : QBrush(Qt::white));
                    drawMarker(painter, s.method, at, kMarker - 0.5);
                }
            }
        });
    }
    if (legend.pairs) {
        entry(QCoreApplication::translate("ConvergenceView", "solid, filled: the true error"),
              [&](QPointF at) {
                  painter.setPen(QPen(Qt::black, 2.0));
                  painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
                  painter.setBrush(Qt::black);
                  drawMarker(painter, std::nullopt, at, kMarker - 0.5);
              });
        entry(QCoreApplication::translate("ConvergenceView", "dashed, hollow: the error claimed"),
              [&](QPointF at) {
                  painter.setPen(QPen(Qt::black, 1.2, Qt::DashLine));
                  painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
                  painter.setPen(QPen(Qt::black, 1.2));
                  painter.setBrush(Qt::white);
                  drawMarker(painter, std::nullopt, at, kMarker - 0.5);
              });
    }
    if (drawn.anyRounding) {
        entry(QCoreApplication::translate("ConvergenceView", "hollow: error at the rounding level"),
              [&](QPointF at) {
                  painter.setPen(QPen(Qt::black, 1.2));
                  painter.setBrush(Qt::white);
                  painter.drawEllipse(at, kMarker, kMarker);
              });
    }
    if (drawn.anyZero) {
        entry(QCoreApplication::translate("ConvergenceView", "triangle: error exactly 0"),
              [&](QPointF at) {
                  painter.setPen(QPen(Qt::black, 1.2));
                  painter.setBrush(Qt::NoBrush);
                  drawTriangle(painter, at + QPointF(0, 6));
              });
    }
    if (column != 0) {
        y += rowHeight;
    }
    y += 8;
    for (std::size_t i = 0; i < plot_.notes.size(); ++i) {
        const QString number =
            plot_.notes[i].at ? QStringLiteral("%1. ").arg(i + 1) : QStringLiteral("• ");
        const QString note = number + text(plot_.notes[i].text);
        const QRectF box(side.left() + 4, y, side.width() - 8, side.bottom() - y);
        const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, note);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::TextWordWrap, note);
        y += used.height() + 6;
        if (y > side.bottom()) {
            break;
        }
    }
}

}  // namespace

void ConvergenceView::render(QPainter& painter, const QRectF& area) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    QFont small = painter.font();
    small.setPointSizeF(8);
    QFont normal = painter.font();
    normal.setPointSizeF(10);

    painter.setFont(normal);
    painter.setPen(Qt::black);
    const double below = drawHeading(painter, area, text(plot_.title)) - area.top();
    const PlotPlace place =
        placePlot(area, QMarginsF(80, std::max(50.0, below + 18), 0, 60), kSide + 24, 170);
    const QRectF& plot = place.plot;
    if (plot_.nothingToPlot) {
        painter.drawRect(plot);
        painter.drawText(plot.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         text(*plot_.nothingToPlot));
        return;
    }
    const LogFrame frame(plot_, plot);
    drawDecades(painter, plot_, frame, area, small, normal);
    const Drawn drawn = drawSeries(painter, plot_, frame, small);
    painter.setFont(small);
    drawLegend(painter, plot_,
               place.legendBelow.value_or(
                   QRectF(plot.right() + 12, plot.top(), kSide, area.bottom() - plot.top() - 10)),
               drawn);
}

}  // namespace integral
