// SPDX-License-Identifier: GPL-3.0-or-later
// What a user waits for after a click, handler and repaint together, on the offscreen
// platform: a Monte Carlo run (with the convergence view open and without), Enter in the upper box
// with limits a million apart, a key in the help box after a paste of one line of 200 000
// characters, and the method view drawing a Monte Carlo row of 50 000 samples, alone and with the
// step to another row before it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include "app/compare_jobs.h"
#include "app/compare_window.h"
#include "app/form1.h"
#include "app/method_view.h"
#include "integrands/typed_expression.h"
#include "model/row_picture.h"

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
    if (state.range(0) != 0) {
        QTest::keyClick(&window.form, Qt::Key_K, Qt::ControlModifier);
        if (window.form.findChild<QWidget*>(QStringLiteral("Convergence")) == nullptr) {
            state.SkipWithError("the convergence view did not open");
            return;
        }
    }
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
        window.form.repaint();
    }
}
BENCHMARK(BM_MonteCarloClickAndRepaint)
    ->ArgName("convergence_open")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

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

// A key in the lower box, handled and drawn, while a race of every method at a budget of a
// million evaluations of x*sin(x) runs off the GUI thread; the race starts again
// whenever it ends, so that every key meets one running.
void BM_KeyWhileARaceRuns(benchmark::State& state) {
    Window window;
    window.form.findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(3);
    window.enter("Text1", QStringLiteral("0"));
    window.enter("Text2", QStringLiteral("3"));
    QTest::keyClick(&window.form, Qt::Key_E, Qt::ControlModifier);
    auto* compare = window.form.findChild<integral::CompareWindow*>(QStringLiteral("Compare"));
    if (compare == nullptr) {
        state.SkipWithError("the Compare window did not open");
        return;
    }
    compare->findChild<QSlider*>(QStringLiteral("RaceBudget"))->setValue(15);
    auto* race = compare->findChild<QPushButton*>(QStringLiteral("RaceRun"));
    QLineEdit* lower = window.box("Text1");
    std::int64_t races = 0;
    std::int64_t keys = 0;
    double slowest = 0.0;
    for (auto _ : state) {
        if (!compare->running()) {
            state.PauseTiming();
            QTest::mouseClick(race, Qt::LeftButton);
            ++races;
            state.ResumeTiming();
        }
        keys += compare->running() ? 1 : 0;
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(lower, keys % 2 == 0 ? Qt::Key_1 : Qt::Key_Backspace);
        window.form.repaint();
        // What the event loop does between keys: the race's progress and its end arrive.
        QCoreApplication::processEvents();
        slowest = std::max(slowest, std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
    }
    state.counters["slowest_ms"] = slowest;
    state.counters["races"] = static_cast<double>(races);
    state.counters["keys_during_a_race"] = static_cast<double>(keys);
    QTest::keyClick(compare, Qt::Key_Escape);
    QTest::qWait(200);
}
BENCHMARK(BM_KeyWhileARaceRuns)->Unit(benchmark::kMillisecond)->MinTime(3.0);

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

// A Monte Carlo run of 4/(x*x+1) on 0..1 in a box of height 3, and its analysis.
struct MonteCarloRun {
    integral::MethodRun run;
    integral::RunAnalysis analysis;
    MonteCarloRun() {
        integral::Model model;
        model.chooseIntegrand(1);
        model.setUpper(integral::Variant::real(1.0));
        model.setHeight(3.0f);
        run = model.run(integral::Method::MonteCarlo);
        analysis = integral::analyse(run);
    }
};

void BM_MethodViewDrawsTheLastMonteCarloRow(benchmark::State& state) {
    const MonteCarloRun made;
    integral::MethodView view;
    view.resize(900, 600);
    view.display(integral::pictureOfRow(made.run, 24, made.analysis), QStringLiteral("f"));
    QImage image(view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        view.render(painter, QRectF(image.rect()));
    }
}
BENCHMARK(BM_MethodViewDrawsTheLastMonteCarloRow)->Unit(benchmark::kMillisecond);

// A step to another row: its samples replayed, its picture made and drawn.
void BM_MethodViewSwitchesRows(benchmark::State& state) {
    const MonteCarloRun made;
    integral::MethodView view;
    view.resize(900, 600);
    QImage image(view.size(), QImage::Format_RGB32);
    std::size_t row = 23;
    for (auto _ : state) {
        row = row == 23 ? 24 : 23;
        view.display(integral::pictureOfRow(made.run, row, made.analysis), QStringLiteral("f"));
        QPainter painter(&image);
        view.render(painter, QRectF(image.rect()));
    }
}
BENCHMARK(BM_MethodViewSwitchesRows)->Unit(benchmark::kMillisecond);

}  // namespace

// The race as the Compare window runs it (its work class, off the GUI thread, reporting back
// by signal) against race() called directly, on a typed sum of 40 sines on 0..3 at 10^5
// evaluations: the target is a ratio of at most 1.5.
void BM_RaceInTheWindowAgainstTheModel(benchmark::State& state) {
    std::string text = "sin(x)";
    for (int k = 2; k <= 40; ++k) {
        text += "+sin(" + std::to_string(k) + "*x)";
    }
    auto parsed = integral::TypedExpression::parse(text);
    integral::Model model;
    model.chooseExpression(std::get<std::shared_ptr<const integral::TypedExpression>>(parsed));
    model.setLower(integral::Variant::real(0));
    model.setUpper(integral::Variant::real(3));
    const std::vector<integral::Method> methods = integral::allMethods();
    integral::CompareJobs jobs;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(integral::race(model, 100000, methods));
            continue;
        }
        QSignalSpy raced(&jobs, &integral::CompareJobs::raced);
        jobs.runRace(model, 100000, methods, 1);
        if (!raced.wait(600000)) {
            state.SkipWithError("the race did not end");
            return;
        }
    }
}
BENCHMARK(BM_RaceInTheWindowAgainstTheModel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
