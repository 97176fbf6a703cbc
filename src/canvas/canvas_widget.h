// SPDX-License-Identifier: GPL-3.0-or-later
// The plot canvas on screen: a retained image that every drawing goes into and that painting
// only copies, so the drawing survives covering and exists before the window is first shown.
// The canvas frame (-10..10 across, 10..-10 down) maps onto the drawing area inside the
// border in one transform.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

#include "canvas/canvas_surface.h"

namespace integral {

// Focus that came from the keyboard (Tab, Shift+Tab, a mnemonic), which the window shows
// plainly; focus from a click keeps the look the window always had.
inline bool focusFromKeyboard(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

class CanvasWidget : public QWidget, public CanvasSurface {
    Q_OBJECT

  public:
    // `side` is the whole widget, border included, in device-independent pixels.
    CanvasWidget(int side, QWidget* parent);

    static constexpr int kBorder = 2;

    void clear() override;
    void segment(CanvasPoint from, CanvasPoint to, Colour colour) override;
    void point(CanvasPoint at, Colour colour) override;
    void rectangle(CanvasPoint corner, CanvasPoint opposite, Colour colour) override;
    void printTitle(std::string_view text) override;

    // Where a canvas point lands inside the drawing area, in device-independent pixels.
    QPointF toPixels(CanvasPoint p) const;
    // The drawing area's size in device-independent pixels.
    QSizeF drawingArea() const;
    // What has been drawn, at the screen's resolution.
    const QImage& retainedImage() const { return image_; }
    // The canvas's vertical coordinate of a pixel row of the widget, as a single.
    float canvasY(int widgetY) const;

  signals:
    // The primary button pressed on the canvas; y in canvas units.
    void mousePressed(float y);
    // The context menu asked for, by the other button or from the keyboard, at this global
    // position.
    void menuRequested(const QPoint& at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void drawClippedLine(QPointF from, QPointF to, Colour colour);

    // The focus came from the keyboard: a dashed frame inside the border says where it is.
    bool keyboardFocus_ = false;

    int inner_;  // the drawing area's side in device-independent pixels
    QImage image_;
};

}  // namespace integral
