// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the main window's tooltips off its controls: a row's tooltip would otherwise lie over
// the method buttons below the list, and a click meant for a button would land on the tooltip.
// Watches the whole application, since the toolkit makes its tooltip windows itself.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace integral {

class TooltipPlacement : public QObject {
  public:
    // Everything of `window` right of `canvas` is kept clear. Goes with `window`.
    TooltipPlacement(QWidget* window, QWidget* canvas);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place(QWidget* tip);

    QWidget* window_;
    QWidget* canvas_;
    QPointer<QWidget> asking_;  // the widget whose tooltip is shown
    bool moving_ = false;
};

}  // namespace integral
