// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/method_view.h"
#include "app/utf8.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>

namespace integral {

namespace {

const QColor kCurve(0x40, 0x40, 0x40);
const QColor kPoint(0xC0, 0x20, 0x20);
const QColor kTints[2] = {QColor(0x4A, 0x7F, 0xD0, 110), QColor(0xF0, 0xA0, 0x30, 110)};
const QColor kHit(0x1B, 0x8A, 0x3C);
const QColor kMiss(0xD0, 0x30, 0x30);
const QColor kBox(0x00, 0x00, 0xFF);

// Far beyond any screen, but small enough for the painter's arithmetic: a value the range
// does not show cannot send it astray.
constexpr double kFarAway = 1e6;

// World coordinates to the plot's pixels, in one place.
class Frame {
  public:
    Frame(const RowPicture& p, const QRectF& plot) : p_(p), plot_(plot) {}
    QPointF at(double x, double y) const {
        const double u = (x - p_.xLow) / (p_.xHigh - p_.xLow);
        const double v = (p_.yHigh - y) / (p_.yHigh - p_.yLow);
        return {std::clamp(plot_.left() + u * plot_.width(), -kFarAway, kFarAway),
                std::clamp(plot_.top() + v * plot_.height(), -kFarAway, kFarAway)};
    }

  private:
    const RowPicture& p_;
    QRectF plot_;
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
                         QString::number(x, 'g', 6));
    }
    for (const double y : p.yTicks) {
        const QPointF at = frame.at(p.xLow, y);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.drawLine(QPointF(plot.left(), at.y()), QPointF(plot.right(), at.y()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 66, at.y() - 8, 60, 16),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(y, 'g', 6));
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

void drawParabolas(QPainter& painter, const RowPicture& p, const Frame& frame) {
    constexpr int kSteps = 24;
    for (std::size_t i = 0; i < p.panels.size(); ++i) {
        const ParabolaPanel& panel = p.panels[i];
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
    for (const ParabolaPanel& panel : p.panels) {
        drawMark(painter, frame.at(panel.left, panel.fLeft));
        drawMark(painter, frame.at(panel.middle, panel.fMiddle));
        drawMark(painter, frame.at(panel.right, panel.fRight));
    }
}

void drawBars(QPainter& painter, const RowPicture& p, const Frame& frame) {
    for (std::size_t i = 0; i < p.bars.size(); ++i) {
        const GaussBar& bar = p.bars[i];
        const QRectF rect =
            QRectF(frame.at(bar.left, bar.fx), frame.at(bar.left + bar.width, 0)).normalized();
        painter.setPen(QPen(kTints[i % 2].darker(180), 1));
        painter.setBrush(kTints[i % 2]);
        painter.drawRect(rect);
    }
    drawCurve(painter, p, frame);
    for (const GaussBar& bar : p.bars) {
        // From the bar's top to the node it stands for.
        painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8, Qt::DashLine));
        painter.drawLine(frame.at(bar.left + bar.width / 2, bar.fx), frame.at(bar.node, bar.fx));
        drawMark(painter, frame.at(bar.node, bar.fx));
    }
}

void drawSamples(QPainter& painter, const RowPicture& p, const Frame& frame) {
    QPolygonF hits;
    QPolygonF misses;
    hits.reserve(static_cast<qsizetype>(p.samples.size()));
    misses.reserve(static_cast<qsizetype>(p.samples.size()));
    for (const EvaluationPoint& s : p.samples) {
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
    painter.drawRect(QRectF(frame.at(p.x1, p.ymax), frame.at(p.x2, 0)).normalized());
    drawCurve(painter, p, frame);
}

void drawLegend(QPainter& painter, const RowPicture& p, const QRectF& side) {
    QFont small = painter.font();
    small.setPointSizeF(8);
    painter.setFont(small);
    double y = side.top();
    const auto entry = [&](const QString& name, auto&& mark) {
        const QPointF at(side.left() + 12, y + 8);
        mark(at);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(side.left() + 26, y, side.width() - 26, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        y += 18;
    };
    entry(QStringLiteral("the integrand f"), [&](QPointF at) {
        painter.setPen(QPen(kCurve, 1.6));
        painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
    });
    const auto tint = [&](QPointF at) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kTints[0]);
        painter.drawRect(QRectF(at - QPointF(9, 5), QSizeF(9, 10)));
        painter.setBrush(kTints[1]);
        painter.drawRect(QRectF(at - QPointF(0, 5), QSizeF(9, 10)));
    };
    if (!p.panels.empty()) {
        entry(QStringLiteral("area under each panel's parabola"), tint);
        entry(QStringLiteral("the three points of a panel"),
              [&](QPointF at) { drawMark(painter, at); });
    } else if (!p.bars.empty()) {
        entry(QStringLiteral("weight x (x2 - x1)/2 wide, f high"), tint);
        entry(QStringLiteral("a node, where f is evaluated"),
              [&](QPointF at) { drawMark(painter, at); });
    } else {
        entry(QStringLiteral("hit: below the curve (%1)").arg(p.hits), [&](QPointF at) {
            painter.setPen(QPen(kHit, 4));
            painter.drawPoint(at);
        });
        entry(QStringLiteral("miss (%1)").arg(static_cast<qint64>(p.samples.size()) - p.hits),
              [&](QPointF at) {
                  painter.setPen(QPen(kMiss, 4));
                  painter.drawPoint(at);
              });
        entry(QStringLiteral("the box, 0 to ymax"), [&](QPointF at) {
            painter.setPen(QPen(kBox, 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(at - QPointF(8, 5), QSizeF(16, 10)));
        });
    }
}

}  // namespace

MethodView::MethodView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MethodView"));
    setWindowTitle(QStringLiteral("How the row was made"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 600);
    setToolTip(QStringLiteral(
        "Up and Down step through the rows; right-click to copy or save the picture; Esc closes"));
}

void MethodView::display(std::optional<RowPicture> picture, const QString& integrand) {
    picture_ = std::move(picture);
    integrand_ = integrand;
    setWindowTitle(title());
    update();
    QWidget::show();
    raise();
}

QString MethodView::title() const {
    if (!picture_) {
        return QStringLiteral("How the row was made");
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
    menu.addAction(QStringLiteral("Copy picture"), this, [this] {
        QImage image(size() * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2.0);
        image.fill(Qt::white);
        QPainter painter(&image);
        render(painter, QRectF(QPointF(0, 0), QSizeF(size())));
        painter.end();
        QApplication::clipboard()->setImage(image);
    });
    for (const auto& [name, format] :
         {std::pair{QStringLiteral("Save as PNG…"), PictureFormat::Png},
          std::pair{QStringLiteral("Save as SVG…"), PictureFormat::Svg}}) {
        menu.addAction(name, this, [this, format, renderer] {
            savePictureAs(this, format, QStringLiteral("method"), size(), renderer, title());
        });
    }
    menu.exec(event->globalPos());
}

QString MethodView::savePicture(const QString& path, PictureFormat format) const {
    return writePicture(
        path, format, size(),
        [this](QPainter& painter, const QRectF& area) { render(painter, area); }, title());
}

void MethodView::render(QPainter& painter, const QRectF& area) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    QFont normal = painter.font();
    normal.setPointSizeF(10);
    painter.setFont(normal);
    painter.setPen(Qt::black);
    const QRectF heading(area.left() + 10, area.top() + 6, area.width() - 20, 40);
    const QRectF plot = area.adjusted(76, 56, -250, -44);
    if (!picture_) {
        painter.drawText(area, Qt::AlignCenter,
                         QStringLiteral("No row to show: run a method, then choose a row."));
        return;
    }
    painter.drawText(heading, Qt::AlignCenter | Qt::TextWordWrap,
                     title() + QStringLiteral("\n") + integrand_);
    const RowPicture& p = *picture_;
    const Frame frame(p, plot);
    drawAxes(painter, p, frame, plot);
    painter.save();
    painter.setClipRect(plot);
    switch (methodOf(p.method).shape()) {
        case RowShape::Parabolas:
            drawParabolas(painter, p, frame);
            break;
        case RowShape::Bars:
            drawBars(painter, p, frame);
            break;
        case RowShape::Samples:
            drawSamples(painter, p, frame);
            break;
    }
    painter.restore();
    drawLegend(painter, p, QRectF(plot.right() + 14, plot.top(), 232, plot.height()));
}

}  // namespace integral
