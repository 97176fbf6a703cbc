// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/method_view.h"
#include "app/plot_frame.h"
#include "app/printing.h"
#include "app/utf8.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <utility>

#include "runtime/short_number.h"

namespace integral {

namespace {

const QColor kCurve(0x40, 0x40, 0x40);
const QColor kPoint(0xC0, 0x20, 0x20);
const QColor kTints[2] = {QColor(0x4A, 0x7F, 0xD0, 110), QColor(0xF0, 0xA0, 0x30, 110)};
const QColor kHit(0x1B, 0x8A, 0x3C);
const QColor kMiss(0xD0, 0x30, 0x30);
const QColor kBox(0x00, 0x00, 0xFF);

// The picture's world onto the plot.
class Frame : public PlotFrame {
  public:
    Frame(const RowPicture& p, const QRectF& plot)
        : PlotFrame(plot, p.xLow, p.xHigh, p.yLow, p.yHigh) {}
};

void drawAxes(QPainter& painter, const RowPicture& p, const Frame& frame, const QRectF& plot) {
    QFont small = painter.font();
    small.setPointSizeF(8);
    painter.setFont(small);
    for (const double x : p.xTicks) {
        const QPointF at = frame.at(x, p.yLow);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at.x() - 40, plot.bottom() + 4, 80, 16), Qt::AlignCenter,
                         text(shortNumber(x, 6)));
    }
    for (const double y : p.yTicks) {
        const QPointF at = frame.at(p.xLow, y);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.drawLine(QPointF(plot.left(), at.y()), QPointF(plot.right(), at.y()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 66, at.y() - 8, 60, 16),
                         Qt::AlignRight | Qt::AlignVCenter, text(shortNumber(y, 6)));
    }
    painter.setPen(QPen(Qt::black, 1));
    if (p.yLow < 0 && p.yHigh > 0) {
        painter.drawLine(frame.at(p.xLow, 0), frame.at(p.xHigh, 0));
    }
    if (p.xLow < 0 && p.xHigh > 0) {
        painter.drawLine(frame.at(0, p.yLow), frame.at(0, p.yHigh));
    }
    painter.drawRect(plot);
}

void drawCurve(QPainter& painter, const RowPicture& p, const Frame& frame) {
    QPainterPath path;
    bool open = false;
    for (const PlotPoint& c : p.curve) {
        if (!std::isfinite(c.y)) {
            open = false;
            continue;
        }
        open ? path.lineTo(frame.at(c.x, c.y)) : path.moveTo(frame.at(c.x, c.y));
        open = true;
    }
    painter.setPen(QPen(kCurve, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void drawMark(QPainter& painter, QPointF at) {
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(kPoint);
    painter.drawEllipse(at, 3.5, 3.5);
}

void drawParabolas(QPainter& painter, const RowPicture& p, const std::vector<ParabolaPanel>& panels,
                   const Frame& frame) {
    constexpr int kSteps = 24;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const ParabolaPanel& panel = panels[i];
        QPainterPath area(frame.at(panel.left, 0));
        QPainterPath arc;
        for (int k = 0; k <= kSteps; ++k) {
            const double x = panel.left + (panel.right - panel.left) * k / kSteps;
            const QPointF at = frame.at(x, panel.at(x));
            area.lineTo(at);
            k == 0 ? arc.moveTo(at) : arc.lineTo(at);
        }
        area.lineTo(frame.at(panel.right, 0));
        area.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(kTints[i % 2]);
        painter.drawPath(area);
        painter.setPen(QPen(kTints[i % 2].darker(180), 1.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arc);
    }
    drawCurve(painter, p, frame);
    for (const ParabolaPanel& panel : panels) {
        drawMark(painter, frame.at(panel.left, panel.fLeft));
        drawMark(painter, frame.at(panel.middle, panel.fMiddle));
        drawMark(painter, frame.at(panel.right, panel.fRight));
    }
}

void draw(QPainter& painter, const ParabolaShapes& shapes, const RowPicture& p,
          const Frame& frame) {
    drawParabolas(painter, p, shapes.panels, frame);
}

void draw(QPainter& painter, const BarShapes& shapes, const RowPicture& p, const Frame& frame) {
    for (std::size_t i = 0; i < shapes.bars.size(); ++i) {
        const GaussBar& bar = shapes.bars[i];
        const QRectF rect =
            QRectF(frame.at(bar.left, bar.fx), frame.at(bar.left + bar.width, 0)).normalized();
        painter.setPen(QPen(kTints[i % 2].darker(180), 1));
        painter.setBrush(kTints[i % 2]);
        painter.drawRect(rect);
    }
    drawCurve(painter, p, frame);
    for (const GaussBar& bar : shapes.bars) {
        // From the bar's top to the node it stands for.
        painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8, Qt::DashLine));
        painter.drawLine(frame.at(bar.left + bar.width / 2, bar.fx), frame.at(bar.node, bar.fx));
        drawMark(painter, frame.at(bar.node, bar.fx));
    }
}

// Where the chord lies above the curve the rule counts too much, below it too little: the
// gap between them is tinted by its sign, over the trapezoid's own area.
const QColor kOver(0xD0, 0x30, 0x30, 90);
const QColor kUnder(0x1F, 0x4E, 0xB4, 90);

void draw(QPainter& painter, const TrapezoidShapes& shapes, const RowPicture& p,
          const Frame& frame) {
    const std::vector<Trapezoid>& trapezoids = shapes.trapezoids;
    for (std::size_t i = 0; i < trapezoids.size(); ++i) {
        const Trapezoid& t = trapezoids[i];
        QPolygonF shape;
        shape << frame.at(t.left, 0) << frame.at(t.left, t.fLeft) << frame.at(t.right, t.fRight)
              << frame.at(t.right, 0);
        painter.setPen(QPen(kTints[i % 2].darker(180), 1));
        painter.setBrush(kTints[i % 2]);
        painter.drawPolygon(shape);
        // The gap between chord and curve, one sliver per curve point inside the trapezoid.
        const double width = t.right - t.left;
        for (std::size_t c = 0; c + 1 < p.curve.size(); ++c) {
            const PlotPoint& a = p.curve[c];
            const PlotPoint& b = p.curve[c + 1];
            if (a.x < t.left || b.x > t.right || !std::isfinite(a.y) || !std::isfinite(b.y) ||
                !(width > 0.0)) {
                continue;
            }
            const auto chord = [&](double x) {
                return t.fLeft + (t.fRight - t.fLeft) * (x - t.left) / width;
            };
            QPolygonF gap;
            gap << frame.at(a.x, a.y) << frame.at(a.x, chord(a.x)) << frame.at(b.x, chord(b.x))
                << frame.at(b.x, b.y);
            painter.setPen(Qt::NoPen);
            painter.setBrush(chord((a.x + b.x) / 2) > (a.y + b.y) / 2 ? kOver : kUnder);
            painter.drawPolygon(gap);
        }
    }
    drawCurve(painter, p, frame);
    for (const Trapezoid& t : trapezoids) {
        drawMark(painter, frame.at(t.left, t.fLeft));
    }
    if (!trapezoids.empty()) {
        drawMark(painter, frame.at(trapezoids.back().right, trapezoids.back().fRight));
    }
}

void draw(QPainter& painter, const RectangleShapes& shapes, const RowPicture& p,
          const Frame& frame) {
    for (std::size_t i = 0; i < shapes.rectangles.size(); ++i) {
        const MidpointRectangle& r = shapes.rectangles[i];
        painter.setPen(QPen(kTints[i % 2].darker(180), 1));
        painter.setBrush(kTints[i % 2]);
        painter.drawRect(QRectF(frame.at(r.left, r.height), frame.at(r.right, 0)).normalized());
    }
    drawCurve(painter, p, frame);
    for (const MidpointRectangle& r : shapes.rectangles) {
        drawMark(painter, frame.at(r.node, r.height));
    }
}

// Each accepted panel's two parabolas, tinted darker the deeper it was halved, and below the
// curve a staircase of the depths: where it is high, the rule spent its points.
void draw(QPainter& painter, const AdaptiveShapes& shapes, const RowPicture& p,
          const Frame& frame) {
    int deepest = 1;
    for (const AdaptivePanel& panel : shapes.panels) {
        deepest = std::max(deepest, panel.depth);
    }
    std::vector<ParabolaPanel> parabolas;
    for (const AdaptivePanel& panel : shapes.panels) {
        parabolas.push_back(panel.left);
        parabolas.push_back(panel.right);
    }
    drawParabolas(painter, p, parabolas, frame);
    const double span = p.yHigh - p.yLow;
    for (const AdaptivePanel& panel : shapes.panels) {
        const double height = p.yLow + span * 0.12 * panel.depth / deepest;
        painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.2));
        painter.drawLine(frame.at(panel.left.left, height), frame.at(panel.right.right, height));
        painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 0.8));
        painter.drawLine(frame.at(panel.left.left, p.yLow), frame.at(panel.left.left, height));
    }
}

// Romberg: the trapezoid values against h^2, Richardson's line through the last two to h = 0,
// and the row's R(k, k) there.
void draw(QPainter& painter, const ExtrapolationShapes& shapes, const RowPicture& p,
          const Frame& frame) {
    const std::vector<PlotPoint>& values = shapes.trapezoidValues;
    if (values.size() >= 2) {
        const PlotPoint& coarse = values[values.size() - 2];
        const PlotPoint& fine = values.back();
        const double slope = (coarse.y - fine.y) / (coarse.x - fine.x);
        painter.setPen(QPen(kTints[0].darker(180), 1.2, Qt::DashLine));
        painter.drawLine(frame.at(0, fine.y - slope * fine.x),
                         frame.at(p.xHigh, fine.y + slope * (p.xHigh - fine.x)));
    }
    painter.setPen(Qt::black);
    const QPointF corner = frame.at(p.xHigh, p.yLow);
    painter.drawText(QRectF(corner.x() - 120, corner.y() - 20, 114, 16),
                     Qt::AlignRight | Qt::AlignVCenter,
                     QCoreApplication::translate("MethodView", "h², the step squared"));
    for (const PlotPoint& t : values) {
        drawMark(painter, frame.at(t.x, t.y));
    }
    if (!shapes.tableau.empty()) {
        painter.setPen(QPen(kHit, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(frame.at(0, shapes.tableau.back().back()), 6, 6);
    }
}

// A stem from the axis to f at each sample, and the mean of f the estimate stands for as a
// line across the interval: the estimate is the area under that line.
void draw(QPainter& painter, const StemShapes& shapes, const RowPicture& p, const Frame& frame) {
    painter.setPen(QPen(kTints[0].darker(150), 0.8));
    for (const EvaluationPoint& s : shapes.stems) {
        painter.drawLine(frame.at(s.x, 0), frame.at(s.x, s.fx));
    }
    drawCurve(painter, p, frame);
    if (shapes.meanValue) {
        painter.setPen(QPen(kHit, 2));
        painter.drawLine(frame.at(p.x1, *shapes.meanValue), frame.at(p.x2, *shapes.meanValue));
    }
}

// The i-th of n points in the order they were drawn: blue first, red last.
QColor orderColour(std::size_t i, std::size_t n) {
    const double share = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
    return QColor::fromHsvF(static_cast<float>(0.66 * (1.0 - share)), 0.9f, 0.8f);
}

// Sobol's points and as many pseudo-random ones as two rugs under the plot, a tick per point
// coloured by its order: the Sobol ticks fill the interval evenly at every stage of the
// sequence, the pseudo-random ones clump and leave gaps.
void drawRugs(QPainter& painter, const StemShapes& p, const Frame& frame, const QRectF& strips) {
    QFont small = painter.font();
    small.setPointSizeF(8);
    painter.setFont(small);
    const double height = strips.height() / 2 - 2;
    const auto rug = [&](const std::vector<double>& xs, double top, const QString& name) {
        painter.setPen(Qt::black);
        painter.drawText(QRectF(strips.left() - 76, top, 70, height),
                         Qt::AlignRight | Qt::AlignVCenter, name);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.drawRect(QRectF(strips.left(), top, strips.width(), height));
        for (std::size_t i = 0; i < xs.size(); ++i) {
            painter.setPen(QPen(orderColour(i, xs.size()), 2));
            const double x = frame.at(xs[i], 0).x();
            painter.drawLine(QPointF(x, top + 1), QPointF(x, top + height - 1));
        }
    };
    painter.setRenderHint(QPainter::Antialiasing, false);
    rug(p.rugSobol, strips.top(), QCoreApplication::translate("MethodView", "Sobol"));
    rug(p.rugRandom, strips.top() + height + 4,
        QCoreApplication::translate("MethodView", "random"));
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void draw(QPainter& painter, const SampleShapes& shapes, const RowPicture& p, const Frame& frame) {
    QPolygonF hits;
    QPolygonF misses;
    hits.reserve(static_cast<qsizetype>(shapes.samples.size()));
    misses.reserve(static_cast<qsizetype>(shapes.samples.size()));
    for (const EvaluationPoint& s : shapes.samples) {
        (s.hit ? hits : misses) << frame.at(s.x, s.y);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kHit, 2));
    painter.drawPoints(hits);
    painter.setPen(QPen(kMiss, 2));
    painter.drawPoints(misses);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kBox, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(frame.at(p.x1, shapes.ymax), frame.at(p.x2, 0)).normalized());
    drawCurve(painter, p, frame);
}

// The legend of a picture, entry under entry down the side of the plot.
class Legend {
  public:
    Legend(QPainter& painter, const QRectF& side) : painter(painter), side(side), y(side.top()) {
        QFont small = painter.font();
        small.setPointSizeF(8);
        painter.setFont(small);
    }

    template <class Mark>
    void entry(const QString& name, Mark&& mark) {
        const QPointF at(side.left() + 12, y + 8);
        mark(at);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(side.left() + 26, y, side.width() - 26, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        y += 18;
    }
    // Two tints side by side: the shapes whose areas make the estimate.
    void tint(const QString& name) {
        entry(name, [this](QPointF at) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(kTints[0]);
            painter.drawRect(QRectF(at - QPointF(9, 5), QSizeF(9, 10)));
            painter.setBrush(kTints[1]);
            painter.drawRect(QRectF(at - QPointF(0, 5), QSizeF(9, 10)));
        });
    }
    void mark(const QString& name) {
        entry(name, [this](QPointF at) { drawMark(painter, at); });
    }

    QPainter& painter;
    const QRectF& side;
    double y;
};

void legend(Legend& l, const ParabolaShapes&) {
    l.tint(QCoreApplication::translate("MethodView", "area under each panel's parabola"));
    l.mark(QCoreApplication::translate("MethodView", "the three points of a panel"));
}

void legend(Legend& l, const TrapezoidShapes&) {
    QPainter& painter = l.painter;
    l.tint(QCoreApplication::translate("MethodView", "trapezoid under the chord"));
    l.entry(QCoreApplication::translate("MethodView", "chord above f: counted too much"),
            [&](QPointF at) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(kOver);
                painter.drawRect(QRectF(at - QPointF(8, 5), QSizeF(16, 10)));
            });
    l.entry(QCoreApplication::translate("MethodView", "chord below f: counted too little"),
            [&](QPointF at) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(kUnder);
                painter.drawRect(QRectF(at - QPointF(8, 5), QSizeF(16, 10)));
            });
    l.mark(QCoreApplication::translate("MethodView", "a node, where f is evaluated"));
}

void legend(Legend& l, const RectangleShapes&) {
    l.tint(QCoreApplication::translate("MethodView", "rectangle as high as f at its midpoint"));
    l.mark(QCoreApplication::translate("MethodView", "a midpoint, where f is evaluated"));
}

void legend(Legend& l, const AdaptiveShapes& shapes) {
    QPainter& painter = l.painter;
    l.tint(QCoreApplication::translate("MethodView", "the parabolas of the accepted panels"));
    l.entry(QCoreApplication::translate("MethodView", "depth of halving"), [&](QPointF at) {
        painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.2));
        painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
    });
    l.entry(QCoreApplication::translate("MethodView", "%1 panels").arg(shapes.panels.size()),
            [](QPointF) {});
}

void legend(Legend& l, const ExtrapolationShapes& shapes) {
    QPainter& painter = l.painter;
    const QRectF& side = l.side;
    if (shapes.tableau.empty()) {
        return;
    }
    l.mark(QCoreApplication::translate("MethodView", "trapezoid value T against h²"));
    l.entry(QCoreApplication::translate("MethodView", "Richardson's line to h = 0"),
            [&](QPointF at) {
                painter.setPen(QPen(kTints[0].darker(180), 1.2, Qt::DashLine));
                painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
            });
    l.entry(QCoreApplication::translate("MethodView", "R(k,k), the row's estimate"),
            [&](QPointF at) {
                painter.setPen(QPen(kHit, 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(at, 5, 5);
            });
    l.y += 6;
    l.entry(QCoreApplication::translate("MethodView", "Romberg's table, R(j, 0..j):"),
            [](QPointF) {});
    for (const std::vector<double>& line : shapes.tableau) {
        QStringList cells;
        for (const double value : line) {
            cells << text(shortNumber(value, 10));
        }
        const QString text = cells.join(QStringLiteral("  "));
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(side.left(), l.y, side.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(text, Qt::ElideRight, static_cast<int>(side.width())));
        l.y += 14;
        if (l.y > side.bottom()) {
            break;
        }
    }
}

void legend(Legend& l, const StemShapes& shapes) {
    QPainter& painter = l.painter;
    l.entry(QCoreApplication::translate("MethodView", "f at a sample (%1 shown)")
                .arg(shapes.stems.size()),
            [&](QPointF at) {
                painter.setPen(QPen(kTints[0].darker(150), 1));
                painter.drawLine(at + QPointF(0, 6), at - QPointF(0, 6));
            });
    l.entry(QCoreApplication::translate("MethodView", "the mean of f: estimate / (x2 - x1)"),
            [&](QPointF at) {
                painter.setPen(QPen(kHit, 2));
                painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
            });
    if (!shapes.rugRandom.empty()) {
        l.entry(QCoreApplication::translate("MethodView", "rugs: a point's order, first to last"),
                [&](QPointF at) {
                    for (int i = 0; i < 6; ++i) {
                        painter.setPen(QPen(orderColour(static_cast<std::size_t>(i), 6), 2));
                        painter.drawLine(at + QPointF(3 * i - 8, -5), at + QPointF(3 * i - 8, 5));
                    }
                });
    }
}

void legend(Legend& l, const BarShapes&) {
    l.tint(QCoreApplication::translate("MethodView", "weight x (x2 - x1)/2 wide, f high"));
    l.mark(QCoreApplication::translate("MethodView", "a node, where f is evaluated"));
}

void legend(Legend& l, const SampleShapes& shapes) {
    QPainter& painter = l.painter;
    l.entry(QCoreApplication::translate("MethodView", "hit: below the curve (%1)").arg(shapes.hits),
            [&](QPointF at) {
                painter.setPen(QPen(kHit, 4));
                painter.drawPoint(at);
            });
    l.entry(QCoreApplication::translate("MethodView", "miss (%1)")
                .arg(static_cast<qint64>(shapes.samples.size()) - shapes.hits),
            [&](QPointF at) {
                painter.setPen(QPen(kMiss, 4));
                painter.drawPoint(at);
            });
    l.entry(QCoreApplication::translate("MethodView", "the box, 0 to ymax"), [&](QPointF at) {
        painter.setPen(QPen(kBox, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(at - QPointF(8, 5), QSizeF(16, 10)));
    });
}

void drawLegend(QPainter& painter, const RowPicture& p, const QRectF& side) {
    Legend l(painter, side);
    if (!showsExtrapolation(p)) {
        l.entry(QCoreApplication::translate("MethodView", "the integrand f"), [&](QPointF at) {
            painter.setPen(QPen(kCurve, 1.6));
            painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
        });
    }
    std::visit([&l](const auto& shapes) { legend(l, shapes); }, p.shapes);
}

}  // namespace

MethodView::MethodView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MethodView"));
    setWindowTitle(tr("How the row was made"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 600);
    setToolTip(QStringLiteral(
        "Up and Down step through the rows; right-click to copy or save the picture; Esc closes"));
}

void MethodView::display(std::optional<RowPicture> picture, const QString& integrand) {
    picture_ = std::move(picture);
    integrand_ = integrand;
    // The window's title names the integrand too, as the heading does.
    setWindowTitle(integrand_.isEmpty() ? title() : title() + QStringLiteral(" — ") + integrand_);
    update();
    QWidget::show();
    raise();
}

QString MethodView::title() const {
    if (!picture_) {
        return tr("How the row was made");
    }
    return text(picture_->title);
}

void MethodView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render(painter, rect());
}

void MethodView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            close();
            return;
        case Qt::Key_P:
            if (event->modifiers() == Qt::ControlModifier) {
                askAndPrint(this, title(), [this](QPrinter& printer) { print(printer); });
                return;
            }
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            emit stepRequested(-1);
            return;
        case Qt::Key_Down:
        case Qt::Key_Right:
            emit stepRequested(1);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void MethodView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const auto renderer = [this](QPainter& painter, const QRectF& area) { render(painter, area); };
    menu.addAction(tr("&Copy picture"), this, [this, renderer] { copyPicture(size(), renderer); });
    for (const auto& [name, format] : {std::pair{tr("Save as P&NG…"), PictureFormat::Png},
                                       std::pair{tr("Save as &SVG…"), PictureFormat::Svg}}) {
        menu.addAction(name, this, [this, format, renderer] {
            savePictureAs(this, format, suggestedName(), size(), renderer, title());
        });
    }
    menu.addAction(tr("&Print…\tCtrl+P"), this, [this] {
        askAndPrint(this, title(), [this](QPrinter& printer) { print(printer); });
    });
    menu.exec(event->globalPos());
}

QString MethodView::savePicture(const QString& path, PictureFormat format) const {
    return writePicture(
        path, format, size(),
        [this](QPainter& painter, const QRectF& area) { render(painter, area); }, title());
}

QString MethodView::suggestedName() const {
    return picture_ ? text(picture_->fileName) : QStringLiteral("method");
}

void MethodView::print(QPrinter& printer) const {
    printPicture(printer, size(),
                 [this](QPainter& painter, const QRectF& area) { render(painter, area); });
}

void MethodView::render(QPainter& painter, const QRectF& area) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    QFont normal = painter.font();
    normal.setPointSizeF(10);
    painter.setFont(normal);
    painter.setPen(Qt::black);
    if (!picture_) {
        painter.drawText(area, Qt::AlignCenter,
                         tr("No row to show: run a method, then choose a row."));
        return;
    }
    const double below =
        drawHeading(painter, area, title() + QStringLiteral("\n") + integrand_) - area.top();
    // Rugs take two strips under the axis's numbers.
    const StemShapes* stems = picture_->as<StemShapes>();
    const bool rugs = stems != nullptr && !stems->rugRandom.empty();
    const PlotPlace place =
        placePlot(area, QMarginsF(76, std::max(56.0, below + 14), 0, rugs ? 88 : 44), 250, 140);
    const QRectF& plot = place.plot;
    const RowPicture& p = *picture_;
    const Frame frame(p, plot);
    drawAxes(painter, p, frame, plot);
    painter.save();
    painter.setClipRect(plot);
    std::visit([&](const auto& shapes) { draw(painter, shapes, p, frame); }, p.shapes);
    painter.restore();
    if (rugs) {
        drawRugs(painter, *stems, frame, QRectF(plot.left(), plot.bottom() + 26, plot.width(), 52));
    }
    drawLegend(
        painter, p,
        place.legendBelow.value_or(QRectF(plot.right() + 14, plot.top(), 232, plot.height())));
}

}  // namespace integral
