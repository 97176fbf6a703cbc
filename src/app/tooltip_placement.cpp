// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tooltip_placement.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>

#include "model/window_geometry.h"

namespace integral {

namespace {

ScreenBox box(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

}  // namespace

TooltipPlacement::TooltipPlacement(QWidget* window, QWidget* canvas)
    : QObject(window), window_(window), canvas_(canvas) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool TooltipPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        asking_ = qobject_cast<QWidget*>(watched);
    } else if (event->type() == QEvent::Show || event->type() == QEvent::Move ||
               event->type() == QEvent::Hide) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->windowType() != Qt::ToolTip) {
            return false;
        }
        if (event->type() == QEvent::Hide) {
            asking_ = nullptr;  // a tip the program shows by itself asks no widget
        } else if (!moving_) {
            // The toolkit places a tooltip before it shows it, and again when it shows another
            // text in the same window. A move the platform reports later finds the tip placed.
            place(widget);
        }
    }
    return false;
}

void TooltipPlacement::place(QWidget* tip) {
    if (asking_ == nullptr || (asking_ != window_ && !window_->isAncestorOf(asking_)) ||
        window_->screen() == nullptr) {
        return;
    }
    const QPoint from = window_->mapToGlobal(QPoint(canvas_->geometry().right() + 1, 0));
    const QPoint to = window_->mapToGlobal(QPoint(window_->width(), window_->height()));
    const ScreenBox placed =
        placeTooltip(box(tip->geometry()), box(QRect(from, to - QPoint(1, 1))),
                     box(window_->frameGeometry()), box(window_->screen()->availableGeometry()));
    if (placed.x != tip->x() || placed.y != tip->y()) {
        moving_ = true;
        tip->move(placed.x, placed.y);
        moving_ = false;
    }
}

}  // namespace integral
