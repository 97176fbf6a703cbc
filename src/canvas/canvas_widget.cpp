// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas/canvas_widget.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

namespace integral {

namespace {

QColor toQColor(Colour c) {
    return QColor(c.red, c.green, c.blue);
}

constexpr double kFrameWidth = 20.0;  // canvas units across and down

}  // namespace

// The image has as many pixels as the screen gives the drawing area, so lines and points are
// drawn at the screen's own resolution; everything else works in device-independent pixels.
CanvasWidget::CanvasWidget(int side, QWidget* parent)
    : QWidget(parent), inner_(side - 2 * kBorder) {
    const qreal ratio = devicePixelRatioF();
    const int physical = static_cast<int>(std::ceil(inner_ * ratio));
    image_ = QImage(physical, physical, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(side, side);
    image_.fill(toQColor(kCanvasBack));
}

QSizeF CanvasWidget::drawingArea() const {
    return QSizeF(inner_, inner_);
}

QPointF CanvasWidget::toPixels(CanvasPoint p) const {
    const double scaleX = drawingArea().width() / kFrameWidth;
    const double scaleY = drawingArea().height() / kFrameWidth;
    return {(static_cast<double>(p.x) + 10.0) * scaleX, (10.0 - static_cast<double>(p.y)) * scaleY};
}

float CanvasWidget::canvasY(int widgetY) const {
    const double y = 10.0 - (widgetY - kBorder) * kFrameWidth / drawingArea().height();
    return static_cast<float>(y);
}

void CanvasWidget::clear() {
    image_.fill(toQColor(kCanvasBack));
    update();
}

// Clipped to just outside the image first (Liang-Barsky): a curve value near the single range
// lands ~10^40 pixels away, far beyond what the rasteriser's fixed-point arithmetic can hold.
void CanvasWidget::drawClippedLine(QPointF from, QPointF to, Colour colour) {
    const double low = -2.0;
    const double highX = drawingArea().width() + 2.0;
    const double highY = drawingArea().height() + 2.0;
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.x() - low, highX - from.x(), from.y() - low, highY - from.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    if (enter > leave) {
        return;
    }
    const QPointF a(from.x() + enter * dx, from.y() + enter * dy);
    const QPointF b(from.x() + leave * dx, from.y() + leave * dy);
    QPainter painter(&image_);
    painter.setPen(QPen(toQColor(colour), 0));
    painter.drawLine(a, b);
    update();
}

void CanvasWidget::segment(CanvasPoint from, CanvasPoint to, Colour colour) {
    drawClippedLine(toPixels(from), toPixels(to), colour);
}

void CanvasWidget::point(CanvasPoint at, Colour colour) {
    const QPointF p = toPixels(at) * image_.devicePixelRatio();
    const double x = std::floor(p.x());
    const double y = std::floor(p.y());
    if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height()) {
        image_.setPixel(static_cast<int>(x), static_cast<int>(y), toQColor(colour).rgb());
        update();
    }
}

void CanvasWidget::rectangle(CanvasPoint corner, CanvasPoint opposite, Colour colour) {
    const QPointF a = toPixels(corner);
    const QPointF b = toPixels(opposite);
    drawClippedLine(a, {b.x(), a.y()}, colour);
    drawClippedLine({b.x(), a.y()}, b, colour);
    drawClippedLine(b, {a.x(), b.y()}, colour);
    drawClippedLine({a.x(), b.y()}, a, colour);
}

void CanvasWidget::printTitle(std::string_view text) {
    QPainter painter(&image_);
    painter.setFont(font());
    painter.setPen(toQColor(kCanvasFore));
    painter.drawText(QRectF(QPointF(0, 0), drawingArea()), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    update();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    const qreal ratio = image_.devicePixelRatio();
    const QRectF source(QPointF(exposed.topLeft() - QPoint(kBorder, kBorder)) * ratio,
                        QSizeF(exposed.size()) * ratio);
    painter.drawImage(QRectF(exposed), image_, source);
    // A sunken two-pixel border, as a picture box has by default.
    const int w = width();
    const int h = height();
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(0, 0, w - 1, 0);
    painter.drawLine(0, 0, 0, h - 1);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawLine(1, 1, w - 2, 1);
    painter.drawLine(1, 1, 1, h - 2);
    painter.setPen(QColor(0xFF, 0xFF, 0xFF));
    painter.drawLine(0, h - 1, w - 1, h - 1);
    painter.drawLine(w - 1, 0, w - 1, h - 1);
    painter.setPen(QColor(0xD4, 0xD0, 0xC8));
    painter.drawLine(1, h - 2, w - 2, h - 2);
    painter.drawLine(w - 2, 1, w - 2, h - 2);
    if (keyboardFocus_ && hasFocus()) {
        painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
        painter.drawRect(
            QRectF(kBorder + 2, kBorder + 2, w - 2 * kBorder - 4, h - 2 * kBorder - 4));
    }
}

void CanvasWidget::focusInEvent(QFocusEvent* event) {
    keyboardFocus_ = focusFromKeyboard(event->reason());
    update();
    QWidget::focusInEvent(event);
}

void CanvasWidget::focusOutEvent(QFocusEvent* event) {
    keyboardFocus_ = false;
    update();
    QWidget::focusOutEvent(event);
}

// A press that a child (the help box, the hint) let through is not a press on the canvas.
// Only the primary button sets the box; the other opens the menu.
void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr) {
        emit mousePressed(canvasY(static_cast<int>(event->position().y())));
    }
    QWidget::mousePressEvent(event);
}

void CanvasWidget::contextMenuEvent(QContextMenuEvent* event) {
    emit menuRequested(event->globalPos());
    event->accept();
}

}  // namespace integral
