// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded random walk over the window: list clicks, Graph, any text typed into the limit
// boxes (extreme numbers among it), Enter, canvas clicks with any button, the method buttons,
// mouse moves over "MonteCarlo", Help, pastes, middle clicks and drops of anything (huge texts
// among it), the convergence view opened and closed between runs. After every step the window
// must be alive and show only what its inputs imply, and every step must end: a watchdog
// aborts the walk when one does not. INTEGRAL_MONKEY_EVENTS and INTEGRAL_MONKEY_SEED change the
// walk; a failure prints the seed and the step.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/convergence_view.h"
#include "app/form1.h"
#include "canvas/canvas_widget.h"
#include "support/clipboard_contents.h"

namespace integral {
namespace {

std::uint64_t environmentNumber(const char* name, std::uint64_t fallback) {
    const QByteArray value = qgetenv(name);
    bool ok = false;
    const qulonglong number = value.toULongLong(&ok);
    return ok ? number : fallback;
}

class Monkey {
  public:
    explicit Monkey(std::uint64_t seed) : random_(seed) {
        form_ = std::make_unique<Form1>();
        form_->setErrorReporter([this](const FaultReport&) { ++faults_; });
        form_->show();
        (void)QTest::qWaitForWindowExposed(form_.get());
        List1_ = find<QListWidget>("List1");
        List2_ = find<QListWidget>("List2");
        Text1_ = find<QLineEdit>("Text1");
        Text2_ = find<QLineEdit>("Text2");
        Text3_ = find<QLineEdit>("Text3");
        canvas_ = find<CanvasWidget>("Picture1");
    }

    void step() {
        const int faultsBefore = faults_;
        std::optional<Method> method;
        switch (pick(15)) {
            case 0:
                clickIntegrand(pick(5));
                break;
            case 1:
                click("Command1");
                shown_.reset();
                break;
            case 2:
                type(Text1_);
                break;
            case 3:
                type(Text2_);
                break;
            case 4:
                enterLower();
                break;
            case 5:
                enterUpper();
                break;
            case 6:
                clickCanvas();
                break;
            case 7:
                method = Method::Zelbrin;
                click("Command4");
                break;
            case 8:
                method = Method::Gauss;
                click("Command5");
                break;
            case 9:
                method = Method::MonteCarlo;
                click("Command6");
                break;
            case 10: {
                // Two distinct points: a move to where the cursor already is is no move.
                const QPoint at(1 + pick(90), 1 + pick(22));
                QTest::mouseMove(find<QPushButton>("Command6"), at);
                QTest::mouseMove(find<QPushButton>("Command6"), at + QPoint(1, 1));
                ASSERT_TRUE(find<QLabel>("Label5")->isVisible());
                break;
            }
            case 11:
                paste();
                break;
            case 12:
                drop();
                break;
            case 13:
                toggleConvergence();
                break;
            default:
                click("Command3");
                ASSERT_EQ(find<QPlainTextEdit>("Text4")->toPlainText().size(), 73);
                break;
        }
        if (method) {
            shown_ = *method;
            const int full = methodInfo(*method).rows;
            if (faults_ == faultsBefore) {
                ASSERT_EQ(List2_->count(), full);
                // The user may have typed or pasted anything into the summary box before.
                static const QRegularExpression summary(
                    QStringLiteral(R"(^S = -?(0|[1-9][0-9]*)\.([0-9]{0,4}[1-9])?$)"));
                ASSERT_TRUE(summary.match(Text3_->text()).hasMatch())
                    << Text3_->text().toStdString();
            } else {
                ASSERT_LT(List2_->count(), full);
            }
        }
        checkInvariants();
    }

    int faults() const { return faults_; }

  private:
    template <typename T>
    T* find(const char* name) {
        return form_->findChild<T*>(QString::fromLatin1(name));
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void click(const char* name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }

    void clickIntegrand(int row) {
        List1_->scrollToItem(List1_->item(row));
        QTest::mouseClick(List1_->viewport(), Qt::LeftButton, {},
                          List1_->visualItemRect(List1_->item(row)).center());
        expected_.chooseIntegrand(row);
    }

    QString junk() {
        static const char* const pieces[] = {
            "0",           "1",    "2",       "7",        "-",      "+",       ".",
            "e",           "E",    " ",       "x",        "1e308",  "1e400",   "-1e-400",
            "99999999999", "3.25", "-0.5",    "e-3",      "abc",    "1e15",    "-700",
            "1000",        "..",   "1e6",     "0.001",    "2e-5",   "--",      "1 2",
            "-1e300",      ",5",   "1.7e308", "-1.7e308", "1e-320", "4.9e-324"};
        QString text;
        const int count = pick(5);
        for (int i = 0; i < count; ++i) {
            text += QString::fromLatin1(pieces[pick(static_cast<int>(std::size(pieces)))]);
        }
        return text;
    }

    void type(QLineEdit* box) {
        box->setFocus();
        box->selectAll();
        const QString text = junk();
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(box, text);
        }
    }

    void enterLower() {
        (void)expected_.enterLower(Text1_->text().toStdString());
        QTest::keyClick(Text1_, Qt::Key_Return);
    }

    void enterUpper() {
        (void)expected_.enterUpper(Text2_->text().toStdString());
        QTest::keyClick(Text2_, Qt::Key_Return);
    }

    void clickCanvas() {
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton,
                                                  Qt::MiddleButton};
        const QPoint at(pick(canvas_->width()), pick(canvas_->height()));
        const Qt::MouseButton button = buttons[pick(3)];
        QTest::mouseClick(canvas_, button, {}, at);
        // Only the primary button sets the height. The help box and the hint lie over the
        // canvas: a press on them is none on the canvas.
        if (button == Qt::LeftButton && canvas_->childAt(at) == nullptr) {
            expected_.setHeight(canvas_->canvasY(at.y()));
        }
    }

    QWidget* anyControl() {
        static const char* const names[] = {"Text1", "Text2",  "Text3",    "Text4",   "List1",
                                            "List2", "Label5", "Command4", "Picture1"};
        QWidget* control = find<QWidget>(names[pick(static_cast<int>(std::size(names)))]);
        auto* area = qobject_cast<QAbstractScrollArea*>(control);
        return area ? area->viewport() : control;
    }

    // Ctrl+V, Shift+Insert or a middle click, with anything on the clipboard or the selection.
    void paste() {
        QClipboard* clipboard = QApplication::clipboard();
        const int kind = pick(test::kClipboardKinds);
        clipboard->setMimeData(test::clipboardContents(kind));
        if (clipboard->supportsSelection()) {
            clipboard->setMimeData(test::clipboardContents(kind), QClipboard::Selection);
        }
        QWidget* target = anyControl();
        switch (pick(3)) {
            case 0:
                QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
                break;
            case 1:
                QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
                break;
            default:
                // A press on the canvas sets the box height; a hidden control takes no press.
                if (target != canvas_ && target->isVisible()) {
                    QTest::mouseClick(target, Qt::MiddleButton, {}, QPoint(3, 3));
                    if (target == List1_->viewport()) {  // any button chooses an integrand
                        if (const QListWidgetItem* item = List1_->itemAt(QPoint(3, 3))) {
                            expected_.chooseIntegrand(List1_->row(item));
                        }
                    }
                }
                break;
        }
    }

    // Ctrl+K opens the convergence view over the window; Esc in it closes it.
    void toggleConvergence() {
        auto* view = form_->findChild<ConvergenceView*>(QStringLiteral("Convergence"));
        if (view != nullptr && view->isVisible()) {
            QTest::keyClick(view, Qt::Key_Escape);
        } else {
            QApplication::setActiveWindow(form_.get());
            QTest::keyClick(form_.get(), Qt::Key_K, Qt::ControlModifier);
        }
    }

    void drop() {
        const std::unique_ptr<QMimeData> data(test::clipboardContents(pick(test::kClipboardKinds)));
        QWidget* target = anyControl();
        const QPoint at(2, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &dropped);
    }

    void checkInvariants() {
        ASSERT_TRUE(form_->isVisible());
        const Model& actual = form_->model();
        ASSERT_TRUE(actual.fnum().identical(expected_.fnum()));
        ASSERT_TRUE(actual.x1().identical(expected_.x1()));
        ASSERT_TRUE(actual.x2().identical(expected_.x2()));
        ASSERT_TRUE(actual.ymax().identical(expected_.ymax()));

        static const QRegularExpression patternRow(
            QStringLiteral(R"(^[1-9][0-9]*   -?([1-9][0-9]*)?\.([0-9]{0,4}[1-9])?$)"));
        static const QRegularExpression plainRow(
            QStringLiteral(R"(^[2-6]   -?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?(E[+-][0-9]{2,3})?$)"));
        if (!shown_) {
            ASSERT_EQ(List2_->count(), 0);
        }
        for (int i = 0; i < List2_->count(); ++i) {
            const QString row = List2_->item(i)->text();
            const auto& shape = shown_ == Method::Gauss ? plainRow : patternRow;
            ASSERT_TRUE(shape.match(row).hasMatch()) << row.toStdString();
        }
    }

    std::mt19937_64 random_;
    std::unique_ptr<Form1> form_;
    QListWidget* List1_ = nullptr;
    QListWidget* List2_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QLineEdit* Text3_ = nullptr;
    CanvasWidget* canvas_ = nullptr;
    Model expected_;               // the same inputs given to a model of its own
    std::optional<Method> shown_;  // the method whose rows the list holds
    int faults_ = 0;
};

// Aborts the program when the walk makes no step for a minute: a window that stops answering
// must fail the walk, not hang it.
class Watchdog {
  public:
    Watchdog(std::uint64_t seed, const std::atomic<std::uint64_t>& step)
        : thread_([this, seed, &step] {
              std::uint64_t seen = step.load();
              int quiet = 0;
              while (!done_.load()) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
                  const std::uint64_t now = step.load();
                  quiet = now == seen ? quiet + 1 : 0;
                  seen = now;
                  if (quiet >= 600) {
                      std::fprintf(stderr, "monkey: no answer for 60 s at step %llu, seed %llu\n",
                                   static_cast<unsigned long long>(now),
                                   static_cast<unsigned long long>(seed));
                      std::abort();
                  }
              }
          }) {}
    ~Watchdog() {
        done_.store(true);
        thread_.join();
    }

  private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

TEST(MonkeyTest, RandomWalkKeepsTheWindowConsistent) {
    const std::uint64_t seed = environmentNumber("INTEGRAL_MONKEY_SEED", 20261208);
    const std::uint64_t events = environmentNumber("INTEGRAL_MONKEY_EVENTS", 5000);
    Monkey monkey(seed);
    std::atomic<std::uint64_t> step{0};
    const Watchdog watchdog(seed, step);
    for (std::uint64_t i = 0; i < events; ++i) {
        monkey.step();
        step.store(i + 1);
        if (::testing::Test::HasFatalFailure()) {
            FAIL() << "seed " << seed << ", step " << i;
        }
    }
    std::printf("monkey: %llu events, seed %llu, %d faults reported\n",
                static_cast<unsigned long long>(events), static_cast<unsigned long long>(seed),
                monkey.faults());
}

}  // namespace
}  // namespace integral
