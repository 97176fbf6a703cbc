// SPDX-License-Identifier: GPL-3.0-or-later
// What a user waits for after a click, handler and repaint together, on the offscreen
// platform: a Monte Carlo run, Enter in the upper box with limits a million apart, and a key in
// the help box after a paste of one line of 200 000 characters.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/form1.h"

namespace {

struct Window {
    integral::Form1 form;
    Window() {
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
        form.findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(1);
    }
    QLineEdit* box(const char* name) {
        return form.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void enter(const char* name, const QString& text) {
        box(name)->setText(text);
        QTest::keyClick(box(name), Qt::Key_Return);
    }
};

void BM_MonteCarloClickAndRepaint(benchmark::State& state) {
    Window window;
    window.enter("Text1", QStringLiteral("0"));
    window.enter("Text2", QStringLiteral("1"));
    auto* button = window.form.findChild<QPushButton*>(QStringLiteral("Command6"));
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
        window.form.repaint();
    }
}
BENCHMARK(BM_MonteCarloClickAndRepaint)->Unit(benchmark::kMillisecond);

void BM_UpperLimitEnterAndRepaint(benchmark::State& state) {
    Window window;
    window.enter("Text1", QString::number(state.range(0)));
    for (auto _ : state) {
        window.enter("Text2", QString::number(state.range(1)));
        window.form.repaint();
    }
}
BENCHMARK(BM_UpperLimitEnterAndRepaint)
    ->Args({0, 1})
    ->Args({0, 100000})
    ->Args({-1000000, 0})
    ->Args({0, 1000000})
    ->Unit(benchmark::kMillisecond);

void BM_HelpBoxKeyAfterLongPaste(benchmark::State& state) {
    Window window;
    QTest::mouseClick(window.form.findChild<QPushButton*>(QStringLiteral("Command3")),
                      Qt::LeftButton);
    auto* help = window.form.findChild<QPlainTextEdit*>(QStringLiteral("Text4"));
    help->setFocus();
    help->clear();
    QApplication::clipboard()->setText(QString(static_cast<int>(state.range(0)), QLatin1Char('7')));
    QTest::keyClick(help, Qt::Key_V, Qt::ControlModifier);
    help->moveCursor(QTextCursor::Start);
    for (auto _ : state) {
        QTest::keyClick(help, Qt::Key_Delete);
        window.form.repaint();
    }
}
BENCHMARK(BM_HelpBoxKeyAfterLongPaste)->Arg(60000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
