// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the window after a typical use (integrand 2, Graph, limits 0 and 1, a
// click on the canvas at height 4, Zelbrin), or with --start as it opens, to the PNG file
// named on the command line: the whole window as it shows, whatever stands over the canvas
// included. Run it with QT_QPA_PLATFORM=offscreen to make the picture without a display.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "app/form1.h"
#include "canvas/canvas_widget.h"

namespace {

void typicalUse(integral::Form1& window) {
    auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
    list->setCurrentRow(1);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    auto* lower = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* upper = window.findChild<QLineEdit*>(QStringLiteral("Text2"));
    QTest::keyClicks(lower, QStringLiteral("0"));
    QTest::keyClick(lower, Qt::Key_Return);
    QTest::keyClicks(upper, QStringLiteral("1"));
    QTest::keyClick(upper, Qt::Key_Return);
    auto* canvas = window.findChild<integral::CanvasWidget*>(QStringLiteral("Picture1"));
    const QPointF top = canvas->toPixels({0.0f, 4.0f});
    QTest::mouseClick(canvas, Qt::LeftButton, {},
                      QPoint(static_cast<int>(top.x()) + integral::CanvasWidget::kBorder,
                             static_cast<int>(top.y()) + integral::CanvasWidget::kBorder));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command4")), Qt::LeftButton);
}

}  // namespace

int main(int argc, char** argv) {
    const bool atStart = argc == 3 && std::strcmp(argv[1], "--start") == 0;
    if (argc != 2 && !atStart) {
        std::fprintf(stderr, "usage: integral-screenshot [--start] OUTPUT.png\n");
        return 2;
    }
    const char* output = argv[argc - 1];
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    integral::Form1 window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "integral-screenshot: the window did not show\n");
        return 1;
    }
    if (!atStart) {
        typicalUse(window);
    }
    if (!window.grab().save(QString::fromLocal8Bit(output))) {
        std::fprintf(stderr, "integral-screenshot: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
