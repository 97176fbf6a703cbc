// SPDX-License-Identifier: GPL-3.0-or-later
// The handbook on F1: a short guide in English to every control, the rows, the learning aids,
// typed integrands, the keys and the faults, in a window of its own. Built into the program;
// the packages install the same page as /usr/share/doc/integral/handbook.html.
#pragma once

#include <QTextBrowser>

namespace integral {

class HandbookView : public QTextBrowser {
    Q_OBJECT

  public:
    explicit HandbookView(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace integral
