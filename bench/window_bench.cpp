// SPDX-License-Identifier: GPL-3.0-or-later
// What a user waits for after a click, handler and repaint together, on the offscreen
// platform: a Monte Carlo run, and Enter in the upper box with limits a million apart.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
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
