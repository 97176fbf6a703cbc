// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "app/form1_layout.h"
#include "app/language.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <memory>
#include <variant>
#include <vector>

#include "app/compare_jobs.h"
#include "app/compare_window.h"
#include "app/convergence_view.h"
#include "app/dimensions_jobs.h"
#include "app/dimensions_views.h"
#include "app/expression_dialog.h"
#include "app/fault_message.h"
#include "app/many_dimensions_window.h"
#include "app/method_view.h"
#include "app/utf8.h"
#include "canvas/canvas_widget.h"
#include "runtime/short_number.h"
#include "support/clipboard_contents.h"
#include "support/typed.h"

namespace integral {
namespace {

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<Form1>();
        form->setErrorReporter([this](const FaultReport& report) {
            faults.push_back(report.fault);
            reports.push_back(report);
        });
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        QApplication::setActiveWindow(form.get());
    }
    void TearDown() override { form.reset(); }

    template <typename T>
    T* child(const char* name) {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* list(const char* name) { return child<QListWidget>(name); }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    CanvasWidget* canvas() { return child<CanvasWidget>("Picture1"); }

    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    void chooseIntegrand(int row) {
        QListWidget* integrands = list("List1");
        integrands->scrollToItem(integrands->item(row));
        const QRect item = integrands->visualItemRect(integrands->item(row));
        QTest::mouseClick(integrands->viewport(), Qt::LeftButton, {}, item.center());
    }
    // As the user types it: the whole text replaced.
    void type(const char* name, const QString& text) {
        QLineEdit* edit = box(name);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        QTest::keyClicks(edit, text);
    }
    void enter(const char* name, const QString& text) {
        QLineEdit* edit = box(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QPoint canvasPixel(float x, float y) {
        const QPointF p = canvas()->toPixels({x, y});
        return {static_cast<int>(p.x()) + CanvasWidget::kBorder,
                static_cast<int>(p.y()) + CanvasWidget::kBorder};
    }
    void clickCanvas(float y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(canvas(), button, {}, canvasPixel(1.0f, y));
    }
    std::vector<QString> rows() {
        std::vector<QString> result;
        for (int i = 0; i < list("List2")->count(); ++i) {
            result.push_back(list("List2")->item(i)->text());
        }
        return result;
    }
    // Whether `colour` is within `radius` pixels of `at` in the widget's picture.
    static bool colourNear(const QImage& image, QPoint at, QColor colour, int radius = 1) {
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p = at + QPoint(dx, dy);
                if (image.valid(p) && image.pixelColor(p).rgb() == colour.rgb()) {
                    return true;
                }
            }
        }
        return false;
    }

    std::unique_ptr<Form1> form;
    std::vector<Fault> faults;
    std::vector<FaultReport> reports;
};

TEST_F(Form1Test, StartsWithTheGivenCaptionTextsAndState) {
    const QString caption = form->windowTitle();
    EXPECT_EQ(caption.size(), 27);
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Ｉｎｔｅｇｒａｌ")));
    EXPECT_EQ(caption.count(QChar(0x3000)), 19);
    EXPECT_EQ(box("Text1")->text(), "x1");
    EXPECT_EQ(box("Text2")->text(), "x2");
    EXPECT_EQ(box("Text3")->text(), "");
    EXPECT_EQ(child<QLabel>("Label3")->text(), " n      S");
    EXPECT_EQ(child<QLabel>("Label4")->text(), "Numerical  Integration");
    EXPECT_FALSE(child<QPlainTextEdit>("Text4")->isVisible());
    EXPECT_FALSE(child<QLabel>("Label5")->isVisible());
    ASSERT_EQ(list("List1")->count(), 5);
    EXPECT_EQ(list("List1")->item(1)->text(), "y = 4 / (x*x + 1)");
    EXPECT_EQ(list("List2")->count(), 0);
    EXPECT_EQ(QApplication::focusWidget(), canvas());
    const Model& model = form->model();
    for (const Variant* member :
         {&model.fnum(), &model.x1(), &model.x2(), &model.ymax(), &model.hits()}) {
        EXPECT_TRUE(member->isEmpty());
    }
}

TEST_F(Form1Test, ControlsStandWhereTheLayoutPutsThemAndStayOnResize) {
    const std::vector<std::pair<const char*, QRect>> places = {
        {"Command6", {592, 416, 97, 25}}, {"Command1", {592, 144, 89, 33}},
        {"List1", {552, 88, 169, 52}},    {"Text2", {648, 216, 49, 22}},
        {"Picture1", {8, 40, 545, 545}},  {"Label2", {576, 216, 73, 25}},
        {"Label3", {568, 256, 137, 25}},
    };
    form->resize(900, 700);
    for (const auto& [name, rect] : places) {
        SCOPED_TRACE(name);
        EXPECT_EQ(child<QWidget>(name)->geometry(), rect);
    }
    // Auto-sized labels take their caption's extent, from the stored corner.
    EXPECT_EQ(child<QLabel>("Label1")->pos(), QPoint(576, 184));
    EXPECT_NE(child<QLabel>("Label1")->size(), QSize(71, 28));
    EXPECT_EQ(child<QPlainTextEdit>("Text4")->geometry(), QRect(2, 410, 153, 105));
}

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Under a dark desktop theme, every text on a back colour the window fixes stays readable.
TEST(Form1ThemeTest, TextsOnFixedBackColoursReadInADarkTheme) {
    const QPalette light = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    QApplication::setPalette(dark);
    {
        Form1 form;
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
            const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
            ASSERT_NE(label, nullptr);
            const QPalette palette = label->palette();
            EXPECT_GE(
                contrast(palette.color(QPalette::WindowText), palette.color(QPalette::Window)), 4.5)
                << name;
        }
        // The summary's red on its box, and the expression dialog's error on the dialog.
        const QPalette summary = form.findChild<QLineEdit*>(QStringLiteral("Text3"))->palette();
        EXPECT_GE(contrast(summary.color(QPalette::Text), summary.color(QPalette::Base)), 4.5);
        ExpressionDialog dialog({}, &form);
        dialog.setText("x*y");
        const auto* problem = dialog.findChild<QLabel*>(QStringLiteral("Problem"));
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("color:(#[0-9a-f]{6})")).match(problem->text());
        ASSERT_TRUE(match.hasMatch()) << problem->text().toStdString();
        EXPECT_GE(contrast(QColor(match.captured(1)), dialog.palette().color(QPalette::Window)),
                  4.5);

        // Many dimensions: the warning, the pictures' ink, the table's method colours.
        ManyDimensionsWindow dims;
        for (const char* name : {"DimensionsMessage", "DimensionsErrorCost", "DimensionsPoints"}) {
            const QPalette palette = dims.findChild<QWidget*>(QString::fromLatin1(name))->palette();
            EXPECT_GE(
                contrast(palette.color(QPalette::WindowText), palette.color(QPalette::Window)), 4.5)
                << name;
        }
        dims.findChild<QSpinBox*>(QStringLiteral("DimensionsD"))->setValue(2);
        dims.findChild<QSlider*>(QStringLiteral("DimensionsBudget"))->setValue(2);
        dims.startRace();
        const auto* table = dims.findChild<QTableWidget*>();
        ASSERT_TRUE(QTest::qWaitFor([table] { return table->rowCount() > 0; }, 30000));
        for (const QTableWidgetItem* item : table->findItems(QString(), Qt::MatchContains)) {
            const QVariant ink = item->data(Qt::ForegroundRole);
            EXPECT_GE(
                contrast(ink.isValid() ? ink.value<QBrush>().color() : dark.color(QPalette::Text),
                         dark.color(QPalette::Base)),
                4.5)
                << item->text().toStdString();
        }
    }
    QApplication::setPalette(light);
    // Under the light theme the summary keeps the window's own red.
    Form1 form;
    EXPECT_EQ(form.findChild<QLineEdit*>(QStringLiteral("Text3"))->palette().color(QPalette::Text),
              QColor(0xFF, 0, 0));
}

TEST_F(Form1Test, ControlsHaveTheirFonts) {
    struct FontCase {
        const char* name;
        double points;
        bool bold;
        bool italic;
    };
    for (const FontCase& c : std::vector<FontCase>{{"List2", 11.25, false, false},
                                                   {"List1", 12, true, false},
                                                   {"Text1", 12, true, false},
                                                   {"Text2", 11.25, true, false},
                                                   {"Text3", 11.25, true, false},
                                                   {"Label3", 11.25, true, true},
                                                   {"Label4", 18, true, true},
                                                   {"Picture1", 18, true, true}}) {
        SCOPED_TRACE(c.name);
        const QFont font = child<QWidget>(c.name)->font();
        EXPECT_EQ(font.pointSizeF(), c.points);
        EXPECT_EQ(font.bold(), c.bold);
        EXPECT_EQ(font.italic(), c.italic);
    }
}

TEST_F(Form1Test, EveryControlHasAnAccessibleNameAndDescription) {
    const QList<QWidget*> controls = form->findChildren<QWidget*>(
        QRegularExpression(QStringLiteral("^(Command|Text|Label|List)[0-9]$|^Picture1$")));
    EXPECT_EQ(controls.size(), 18);
    QSet<QString> names;
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_FALSE(control->accessibleName().isEmpty());
        EXPECT_FALSE(control->accessibleDescription().isEmpty());
        names.insert(control->accessibleName());
    }
    EXPECT_EQ(names.size(), 18);
    EXPECT_EQ(box("Text1")->accessibleName(), "Lower limit");
    EXPECT_EQ(child<QPushButton>("Command4")->text(), "Zelbrin");
}

TEST_F(Form1Test, TypicalUseFillsTheResultsPanel) {
    chooseIntegrand(1);
    EXPECT_TRUE(form->model().fnum().identical(Variant::integer(2)));
    click("Command1");
    EXPECT_EQ(QApplication::focusWidget(), box("Text1"));
    enter("Text1", "0");
    EXPECT_EQ(QApplication::focusWidget(), box("Text2"));
    enter("Text2", "1");
    EXPECT_TRUE(form->model().x1().identical(Variant::real(0)));
    EXPECT_TRUE(form->model().x2().identical(Variant::real(1)));

    click("Command4");
    const std::vector<QString> zelbrin = rows();
    ASSERT_EQ(zelbrin.size(), 10u);
    EXPECT_EQ(zelbrin.front(), "2   3.14157");
    EXPECT_EQ(zelbrin.back(), "20   3.14159");
    EXPECT_EQ(box("Text3")->text(), "S = 3.14159");

    click("Command5");
    ASSERT_EQ(rows().size(), 5u);
    EXPECT_EQ(rows().front(), "2   3.14754098343455");

    clickCanvas(4.0f);
    EXPECT_EQ(form->model().ymax().type(), Variant::Type::Single);
    EXPECT_NEAR(form->model().ymax().toDouble(), 4.0, 0.05);
    click("Command6");
    EXPECT_EQ(rows().size(), 25u);
    EXPECT_EQ(rows().back().left(8), "50000   ");
    EXPECT_TRUE(box("Text3")->text().startsWith("S = 3.1"));
    EXPECT_TRUE(faults.empty());
}

TEST_F(Form1Test, LimitsAreOrderedWithoutRewritingTheBoxes) {
    enter("Text1", "3");
    enter("Text2", "1");
    EXPECT_EQ(form->model().x1().toDouble(), 1.0);
    EXPECT_EQ(form->model().x2().toDouble(), 3.0);
    EXPECT_EQ(box("Text1")->text(), "3");
    EXPECT_EQ(box("Text2")->text(), "1");
}

TEST_F(Form1Test, GraphEmptiesTheBoxesButKeepsTheMembers) {
    chooseIntegrand(2);
    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    clickCanvas(-3.0f);
    EXPECT_LT(form->model().ymax().toDouble(), 0.0);
    click("Command1");
    EXPECT_EQ(list("List2")->count(), 0);
    for (const char* name : {"Text1", "Text2", "Text3"}) {
        EXPECT_EQ(box(name)->text(), "") << name;
    }
    EXPECT_EQ(form->model().x2().toDouble(), 1.0);
    EXPECT_TRUE(form->model().fnum().identical(Variant::integer(3)));
    EXPECT_LT(form->model().ymax().toDouble(), 0.0);
}

// A limit box's text that is not wholly a number, limits not confirmed with Enter and a box
// that cannot hold the area are told over the canvas's foot; nothing is told when all is well.
TEST_F(Form1Test, InputsThatWouldMisleadAreTold) {
    QLabel* note = child<QLabel>("InputNote");
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "3");
    EXPECT_FALSE(note->isVisible());
    EXPECT_TRUE(box("Text2")->toolTip().endsWith("in use: from 0 to 3"));
    struct Case {
        const char* typed;
        const char* told;
    };
    for (const Case& c : std::vector<Case>{{"0,5",
                                            "Lower limit read as 0: only the leading "
                                            "number counts; write 0.5"},
                                           {"1/2", "write 0.5"},
                                           {"pi",
                                            "read as 0: only the leading number counts; "
                                            "write 3.14159265358979"}}) {
        type("Text1", c.typed);
        EXPECT_TRUE(note->isVisible()) << c.typed;
        EXPECT_TRUE(note->text().contains(c.told)) << note->text().toStdString();
    }
    type("Text1", "0");
    EXPECT_FALSE(note->isVisible());

    // Typed, not confirmed: the rows are for the limits in use, and the note says so.
    type("Text2", "1");
    click("Command4");
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith("The rows are for 0 to 3: the text in the upper box"));
    QTest::keyClick(box("Text2"), Qt::Key_Return);
    EXPECT_FALSE(note->isVisible());
    click("Command4");
    EXPECT_FALSE(note->isVisible());

    // No box yet: Monte Carlo says what its rows will be.
    click("Command6");
    EXPECT_TRUE(note->text().contains("No box is set, so every row is 0"));
    clickCanvas(2.0f);
    const double height = form->model().ymax().toDouble();
    EXPECT_TRUE(canvas()->toolTip().endsWith(
        QString::fromStdString("box height " + shortNumber(height, 7))));
    click("Command6");
    EXPECT_FALSE(note->isVisible());

    // The other button leaves the box where it was and opens the canvas's menu.
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (QAction* action : popup->actions()) {
                offered << action->text();
            }
            popup->close();
        }
    });
    const QPoint at = canvasPixel(1.0f, -3.0f);
    QTest::mouseClick(canvas(), Qt::RightButton, {}, at);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, canvas()->mapToGlobal(at));
    QApplication::sendEvent(canvas(), &menu);
    EXPECT_EQ(form->model().ymax().toDouble(), height);
    EXPECT_TRUE(offered.contains("Box &height…")) << offered.join(", ").toStdString();
}

// Focus reached from the keyboard shows plainly; Shift+F10 opens the menu of what has the
// focus, and each of a menu's entries has a letter of its own.
TEST_F(Form1Test, TheKeyboardReachesTheMenusAndShowsWhereItIs) {
    auto* zelbrin = child<QPushButton>("Command4");
    zelbrin->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(zelbrin->property("keyboardFocus").toBool());
    auto* gauss = child<QPushButton>("Command5");
    QTest::mouseClick(gauss, Qt::LeftButton);
    EXPECT_FALSE(zelbrin->property("keyboardFocus").toBool());
    EXPECT_FALSE(gauss->property("keyboardFocus").toBool());

    for (const char* name : {"List1", "List2"}) {
        SCOPED_TRACE(name);
        QStringList offered;
        QTimer::singleShot(0, [&offered] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                for (QAction* action : popup->actions()) {
                    offered << action->text();
                }
                popup->close();
            }
        });
        QApplication::setActiveWindow(form.get());  // as the desktop does when a menu closes
        list(name)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list(name), Qt::Key_F10, Qt::ShiftModifier);
        ASSERT_FALSE(offered.isEmpty());
        QSet<QChar> letters;
        for (const QString& entry : offered) {
            const qsizetype at = entry.indexOf(QLatin1Char('&'));
            ASSERT_GE(at, 0) << entry.toStdString();
            EXPECT_FALSE(letters.contains(entry.at(at + 1).toLower())) << entry.toStdString();
            letters.insert(entry.at(at + 1).toLower());
        }
    }
}

// The window's own texts stay as they are until English is chosen; then no original text is
// left, and the original ones come back when chosen again. What was typed stays.
TEST_F(Form1Test, EnglishReplacesTheOriginalTextsOnlyWhenChosen) {
    click("Command3");
    QTest::mouseMove(child<QPushButton>("Command6"), QPoint(5, 5));
    QTest::mouseMove(child<QPushButton>("Command6"), QPoint(6, 6));
    type("Text1", "0,5");
    const auto shown = [this] {
        QStringList texts{form->windowTitle(), child<QPlainTextEdit>("Text4")->toPlainText()};
        for (const QLabel* label : form->findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (const QPushButton* button : form->findChildren<QPushButton*>()) {
            texts << button->text();
        }
        return texts;
    };
    const auto originals = [](const QStringList& texts) {
        QStringList found;
        for (const QString& t : texts) {
            if (std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() > 0x7F; })) {
                found << t;
            }
        }
        return found;
    };
    const QStringList before = shown();
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8(layout::kCaption));
    EXPECT_EQ(child<QLabel>("Label5")->text(), QString::fromUtf8(layout::kMonteCarloHint));
    EXPECT_EQ(originals(before).size(), 3) << originals(before).join(" | ").toStdString();

    ASSERT_TRUE(useLanguage(QString::fromLatin1(kEnglish)));
    QCoreApplication::processEvents();  // the change reaches each window as an event
    EXPECT_TRUE(originals(shown()).isEmpty()) << originals(shown()).join(" | ").toStdString();
    EXPECT_EQ(form->windowTitle(), "Integral");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "For MonteCarlo, set Max y");
    EXPECT_TRUE(child<QPlainTextEdit>("Text4")->toPlainText().startsWith("Choose a function"));
    EXPECT_EQ(box("Text1")->text(), "0,5");

    ASSERT_TRUE(useLanguage(QString()));
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(useLanguage(QStringLiteral("xx")));
}

TEST_F(Form1Test, TabCyclesThroughTheFocusableControls) {
    const std::vector<const char*> cycle = {"Text1",    "Text2",    "Text3",    "List1",
                                            "Command1", "List2",    "Command2", "Command3",
                                            "Command4", "Command5", "Command6", "Picture1"};
    canvas()->setFocus();
    for (const char* name : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
    // Passing through the integrand list chooses nothing.
    EXPECT_TRUE(form->model().fnum().isEmpty());
    click("Command3");
    child<QPushButton>("Command3")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text4");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Command4");
}

TEST_F(Form1Test, HelpAndHintShowTheirTexts) {
    click("Command3");
    auto* help = child<QPlainTextEdit>("Text4");
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->toPlainText().size(), 73);
    EXPECT_EQ(help->toPlainText(),
              QStringLiteral("関数を選ぶ      Graph をクリック      Initial に入力Enter   "
                             "Finalに入力Enter   黄色ボタンをクリック"));

    auto* hint = child<QLabel>("Label5");
    QTest::mouseMove(child<QPushButton>("Command6"));
    QTest::mouseMove(child<QPushButton>("Command6"), QPoint(5, 5));
    ASSERT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral("MonteCarlo では Max y を指定せよ"));
    EXPECT_EQ(hint->pos(), QPoint(26, 26));
    EXPECT_GE(hint->width(), hint->sizeHint().width());
    enter("Text1", "0");
    enter("Text2", "1");
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(Form1Test, RunTimeErrorIsReportedAndTheWindowGoesOn) {
    chooseIntegrand(0);
    enter("Text1", "-1000");
    enter("Text2", "0");
    ASSERT_EQ(faults, std::vector<Fault>{Fault::Overflow});
    EXPECT_EQ(form->model().x1().toDouble(), -1000.0);
    // The message names the fault first, then the shading, the x and the integrand.
    const QString message = faultMessage(reports[0]);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Overflow\n"))) << message.toStdString();
    for (const char* part : {"shading the area", "At x = -1000.", "Integrand: y = x*Exp(-x)."}) {
        EXPECT_TRUE(message.contains(QString::fromLatin1(part))) << part;
    }

    box("Text3")->setText("S = 7.");
    click("Command4");
    EXPECT_EQ(faults.size(), 2u);
    EXPECT_TRUE(faultMessage(reports[1])
                    .contains(QStringLiteral(
                        "running \"Zelbrin\" (composite parabolic rule, 2 to 20 panels), on the "
                        "row for 2 panels.\nAt x = -1000.")));
    EXPECT_EQ(list("List2")->count(), 0);
    EXPECT_EQ(box("Text3")->text(), "S = 7.");

    // However long the range, a fault at its first line is reported.
    enter("Text1", "-200000");
    enter("Text2", "1");
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_EQ(faults.back(), Fault::Overflow);

    enter("Text1", "1e999");
    EXPECT_EQ(faults.back(), Fault::Overflow);
    EXPECT_EQ(form->model().x1().toDouble(), -200000.0);

    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    EXPECT_EQ(faults.size(), 4u);
    EXPECT_EQ(rows().size(), 10u);
    EXPECT_EQ(box("Text3")->text(), "S = 0.26424");
}

TEST_F(Form1Test, CanvasShowsItsColours) {
    const QColor back(0x80, 0xFF, 0xFF);
    const QColor fore(0x40, 0x40, 0x40);
    const QColor magenta(0x80, 0x00, 0x80);
    QImage window = form->grab().toImage();
    EXPECT_EQ(window.pixelColor(700, 560).rgb(), QColor(0xFF, 0xC0, 0xC0).rgb());
    const QPoint canvasAt = canvas()->pos();
    QImage picture = canvas()->grab().toImage();
    EXPECT_EQ(picture.pixelColor(canvasPixel(-5.5f, -5.5f)).rgb(), back.rgb());
    EXPECT_TRUE(colourNear(picture, canvasPixel(5.5f, 0), magenta));
    EXPECT_EQ(window.pixelColor(canvasAt + canvasPixel(-5.5f, -5.5f)).rgb(), back.rgb());

    chooseIntegrand(1);
    click("Command1");
    enter("Text1", "0");
    enter("Text2", "1");
    clickCanvas(6.0f);
    picture = canvas()->grab().toImage();
    EXPECT_TRUE(colourNear(picture, canvasPixel(5.5f, 0), fore));
    EXPECT_FALSE(colourNear(picture, canvasPixel(5.5f, 0), magenta));
    EXPECT_TRUE(colourNear(picture, canvasPixel(-3, 0.4f), QColor(0xFF, 0, 0)));
    EXPECT_TRUE(colourNear(picture, canvasPixel(0.5f, 6.0f), QColor(0, 0, 0xFF)));
    EXPECT_TRUE(colourNear(picture, canvasPixel(0.5f, 1.0f), fore));  // a shading line
}

// At start and after Graph the window is the fixed picture: nothing stands over the canvas's
// foot, whose pixels are the canvas's own back colour and its y-axis.
TEST_F(Form1Test, NothingStandsOverTheCanvasAtStartOrAfterGraph) {
    const QColor back(0x80, 0xFF, 0xFF);
    const QColor fore(0x40, 0x40, 0x40);
    const auto footIsCanvas = [&] {
        const QImage window = form->grab().toImage();
        const QRect shown = canvas()->geometry().intersected(form->rect());
        int others = 0;
        for (int y = shown.bottom() - 60; y < shown.bottom() - 2; y += 7) {
            for (int x = shown.left() + 3; x < shown.right() - 3; ++x) {
                const QRgb rgb = window.pixelColor(x, y).rgb();
                others += rgb != back.rgb() && rgb != fore.rgb() ? 1 : 0;
            }
        }
        return others;
    };
    EXPECT_EQ(footIsCanvas(), 0) << "at start";
    chooseIntegrand(3);
    click("Command1");
    EXPECT_EQ(box("Text1")->text(), "");
    // Only the curve's points may fall there after Graph; x*sin(x) stays above y = -9 near the
    // foot.
    EXPECT_EQ(footIsCanvas(), 0) << "after Graph";
    type("Text1", "x1");
    EXPECT_GT(footIsCanvas(), 0) << "typed text that is no number is told";
}

TEST_F(Form1Test, LongTextsShowTheirStartAndAreCutNotEllipsized) {
    chooseIntegrand(2);
    enter("Text1", "0");
    enter("Text2", "100");
    click("Command4");
    EXPECT_EQ(box("Text3")->text(), "S = 333133.33333");
    EXPECT_EQ(box("Text3")->cursorPosition(), 0);  // the box scrolls to show its caret
    for (const char* name : {"List1", "List2"}) {
        EXPECT_EQ(list(name)->textElideMode(), Qt::ElideNone) << name;
    }
}

// A method button keeps its face while it has the focus, as after every click: the focus
// shows in its border alone.
TEST_F(Form1Test, ButtonsShowTheirOwnOrTheDefaultColours) {
    for (const char* name : {"Command4", "Command5", "Command6"}) {
        auto* button = child<QPushButton>(name);
        for (const bool focused : {false, true}) {
            if (focused) {
                // As when the user reached it with Tab: the style then marks the focus.
                form->setAttribute(Qt::WA_KeyboardFocusChange);
                button->setFocus(Qt::TabFocusReason);
                ASSERT_TRUE(button->hasFocus());
            }
            const QImage face = button->grab().toImage();
            EXPECT_EQ(face.pixelColor(4, face.height() / 2).rgb(), QColor(0xFF, 0xFF, 0x80).rgb())
                << name << (focused ? ", focused" : "");
        }
    }
    const QColor buttonDefault = QApplication::palette().color(QPalette::Button);
    for (const char* name : {"Command1", "Command2", "Command3"}) {
        EXPECT_EQ(child<QPushButton>(name)->palette().color(QPalette::Button), buttonDefault)
            << name;
    }
    EXPECT_EQ(list("List1")->verticalScrollBar()->palette().color(QPalette::Button), buttonDefault);
}

TEST_F(Form1Test, APressOnTheHintIsNoPressOnTheCanvas) {
    QTest::mouseMove(child<QPushButton>("Command6"), QPoint(5, 5));
    QTest::mouseMove(child<QPushButton>("Command6"), QPoint(6, 6));
    auto* hint = child<QLabel>("Label5");
    ASSERT_TRUE(hint->isVisible());
    QTest::mouseClick(hint, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(form->model().ymax().isEmpty());
    QTest::mouseClick(canvas(), Qt::LeftButton, {}, canvasPixel(5, 2));
    EXPECT_FALSE(form->model().ymax().isEmpty());
}

TEST_F(Form1Test, KeyboardPressesButtonsAndReplacesLimits) {
    chooseIntegrand(1);
    auto* zelbrin = child<QPushButton>("Command4");
    zelbrin->setFocus();
    QTest::keyClick(zelbrin, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([this] { return list("List2")->count() == 10; }, 2000));

    // Enter moves on to the upper box with its text selected, so typing replaces "x2".
    QLineEdit* lower = box("Text1");
    lower->setFocus();
    lower->selectAll();
    QTest::keyClicks(lower, "0");
    QTest::keyClick(lower, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("Text2"));
    QTest::keyClicks(box("Text2"), "2");
    EXPECT_EQ(box("Text2")->text(), "2");
    QTest::keyClick(box("Text2"), Qt::Key_Return);
    EXPECT_TRUE(form->model().x2().identical(Variant::real(2)));
}

// Run also on a 1366 x 768 screen at QT_SCALE_FACTOR 1.5 and 2: every extra window lies on
// the screen, as large as it allows, and none covers the main window's buttons and results.
TEST_F(Form1Test, ExtraWindowsFitTheScreenBesideTheButtons) {
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_F1);
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
    const QRect screen = form->screen()->availableGeometry();
    const QRect buttons(form->mapToGlobal(QPoint(canvas()->geometry().right() + 1, 0)),
                        form->frameGeometry().bottomRight());
    int extras = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == form.get() || !window->isVisible() || window->parentWidget() != form.get()) {
            continue;
        }
        SCOPED_TRACE(window->objectName().toStdString());
        ++extras;
        EXPECT_TRUE(screen.contains(window->geometry()))
            << screen.width() << "x" << screen.height();
        if (screen.right() - form->frameGeometry().right() < window->width() &&
            form->frameGeometry().left() - screen.left() < window->width()) {
            EXPECT_FALSE(window->frameGeometry().intersects(buttons));
        }
    }
    EXPECT_EQ(extras, 5);
}

// Run also at QT_SCALE_FACTOR 1.5 and 2: the retained image has the screen's resolution, and
// canvas units land on the same device-independent pixels at every scale.
TEST_F(Form1Test, CanvasDrawsAtTheScreensResolution) {
    CanvasWidget* picture = canvas();
    const qreal ratio = picture->devicePixelRatioF();
    const QImage& image = picture->retainedImage();
    EXPECT_EQ(image.devicePixelRatio(), ratio);
    EXPECT_EQ(image.width(), static_cast<int>(std::ceil(541 * ratio)));
    EXPECT_EQ(picture->toPixels({-10, 10}), QPointF(0, 0));
    EXPECT_EQ(picture->toPixels({10, -10}), QPointF(541, 541));
    EXPECT_EQ(picture->toPixels({0, 4}), QPointF(270.5, 162.3));
    EXPECT_EQ(picture->canvasY(CanvasWidget::kBorder), 10.0f);

    chooseIntegrand(1);
    click("Command1");
    // The top of the curve, at (0, 4), is one device pixel of light red at full resolution.
    const QPointF top = picture->toPixels({0, 4}) * ratio;
    EXPECT_TRUE(colourNear(image, QPoint(static_cast<int>(top.x()), static_cast<int>(top.y())),
                           QColor(0xFF, 0, 0)));
}

// Everything new lives in tooltips, the clipboard and a window of its own.
TEST_F(Form1Test, LearningAidsTooltipsCopyAndConvergence) {
    for (QWidget* control : form->findChildren<QWidget*>(
             QRegularExpression(QStringLiteral("^(Command|Text|Label|List)[0-9]$|^Picture1$")))) {
        EXPECT_FALSE(control->toolTip().isEmpty()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(child<QPlainTextEdit>("Text4")->toolTip().contains("click a yellow button"));

    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    clickCanvas(4.0f);
    for (const char* method : {"Command4", "Command5", "Command6"}) {
        click(method);
    }
    EXPECT_TRUE(list("List2")->item(24)->toolTip().contains(
        "Exact integral: 3.141592653589793\nError (estimate - exact): "));
    EXPECT_TRUE(box("Text3")->toolTip().contains(box("Text3")->text() + "\n"));

    list("List2")->setFocus();
    QTest::keyClick(list("List2"), Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 27);
    EXPECT_TRUE(
        copied[0].startsWith("# MonteCarlo (hit-or-miss Monte Carlo, 2000 to 50000 "
                             "samples) of y = 4 / (x*x + 1) from 0 to 1, box height "))
        << copied[0].toStdString();
    EXPECT_TRUE(copied[1].startsWith("n\testimate\texact\treference\treference_error\terror\t"));
    EXPECT_EQ(copied[26].count('\t'), copied[1].count('\t'));

    QTest::keyClick(form.get(), Qt::Key_K, Qt::ControlModifier);
    QPointer<ConvergenceView> view =
        form->findChild<ConvergenceView*>(QStringLiteral("Convergence"));
    ASSERT_NE(view, nullptr);
    std::vector<std::string> names;
    for (const PlotSeries& series : view->plot().series) {
        names.push_back(series.name);
    }
    for (const char* name :
         {"Parabolic rule", "Gauss-Legendre", "Monte Carlo (last run)", "Monte Carlo one sigma",
          "slope N^-4 (reference)", "slope N^-1/2 (reference)"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    QTemporaryDir directory;
    ASSERT_EQ(view->savePicture(directory.filePath("convergence.png"), PictureFormat::Png), "");
    ASSERT_EQ(view->savePicture(directory.filePath("convergence.svg"), PictureFormat::Svg), "");
    EXPECT_FALSE(QImage(directory.filePath("convergence.png")).isNull());
    QFile svg(directory.filePath("convergence.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    EXPECT_EQ(view->plot().fileName.rfind("convergence_y_4_x_x_1_0_to_1", 0), 0u)
        << view->plot().fileName;

    // Onto paper: the results with the canvas, and the view, each as a PDF of its pages.
    const auto pagesPrinted = [&directory](const QString& name, auto print) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(directory.filePath(name));
        print(printer);
        QFile pdf(directory.filePath(name));
        if (!pdf.open(QIODevice::ReadOnly)) {
            return qsizetype{-1};
        }
        const QByteArray bytes = pdf.readAll();
        return bytes.startsWith("%PDF") ? bytes.count("/Contents") : qsizetype{-1};
    };
    EXPECT_EQ(pagesPrinted("results.pdf", [this](QPrinter& p) { form->printResults(p); }), 1);
    EXPECT_EQ(pagesPrinted("view.pdf", [&view](QPrinter& p) { view->print(p); }), 1);
    view->copyPicture();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    // An open view follows the runs, and Esc closes it.
    enter("Text1", "0.5");
    enter("Text2", "2");
    click("Command5");
    EXPECT_NE(view->plot().title.find("[0.5, 2]"), std::string::npos) << view->plot().title;
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&view] { return view.isNull(); }, 2000));
}

// A row's picture in a window of its own: opened from the row, following the results list's
// current row and every new run, stepping with the arrow keys, closed with Esc.
TEST_F(Form1Test, MethodViewShowsTheRowAndFollows) {
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    QListWidget* results = list("List2");
    const QPoint third = results->visualItemRect(results->item(2)).center();
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(form->findChild<MethodView*>(QStringLiteral("MethodView")), nullptr);
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, third);
    QPointer<MethodView> view = form->findChild<MethodView*>(QStringLiteral("MethodView"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->picture().has_value());
    EXPECT_EQ(view->picture()->counter, 6);
    EXPECT_EQ(std::get<ParabolaShapes>(view->picture()->shapes).panels.size(), 6u);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(results->currentRow(), 3);
    EXPECT_EQ(view->picture()->counter, 8);

    click("Command5");
    ASSERT_TRUE(view->picture().has_value());
    EXPECT_EQ(std::get<BarShapes>(view->picture()->shapes).bars.size(),
              static_cast<std::size_t>(view->picture()->counter));
    clickCanvas(4.0f);
    click("Command6");
    results->setCurrentRow(0);
    EXPECT_EQ(std::get<SampleShapes>(view->picture()->shapes).samples.size(), 2000u);
    EXPECT_FALSE(view->grab().isNull());

    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&view] { return view.isNull(); }, 2000));
    results->setFocus();
    results->setCurrentRow(1);
    QTest::keyClick(results, Qt::Key_Return);
    view = form->findChild<MethodView*>(QStringLiteral("MethodView"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->picture()->counter, 4000);
    view->close();
}

// A heading that wraps, in a narrow view or at a large scale, pushes the plot down instead of
// being cut at the view's top or drawn into the plot: the rows of pixels from the top are
// white, then the heading's, then white again before the plot's frame.
TEST_F(Form1Test, ViewHeadingsAreNeverCut) {
    form->useOwnIntegrand(test::parsed("x*sin(x) + 0.0001*x^2 - 0.00002*x^3 + 0.000003*x^4"));
    enter("Text1", "0");
    enter("Text2", "3");
    click("Command4");
    list("List2")->setCurrentRow(2);
    QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);
    QPointer<MethodView> view = form->findChild<MethodView*>(QStringLiteral("MethodView"));
    ASSERT_NE(view, nullptr);
    for (const int width : {900, 420}) {
        SCOPED_TRACE(width);
        QImage image(width, 500, QImage::Format_RGB32);
        QPainter painter(&image);
        view->render(painter, QRectF(0, 0, width, 500));
        painter.end();
        // Between the y-axis's numbers and the legend only the heading stands above the plot.
        const auto inked = [&image](int y, int least) {
            int dark = 0;
            for (int x = 80; x < image.width() - 250; ++x) {
                dark += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
            }
            return dark >= least;
        };
        int frame = 0;
        while (frame < image.height() && !inked(frame, (width - 330) * 9 / 10)) {
            ++frame;
        }
        ASSERT_LT(frame, image.height());
        EXPECT_FALSE(inked(0, 1)) << "the heading is cut at the top";
        // Every line of the heading above the plot, each a band of rows between white ones.
        QFont font = QApplication::font();
        font.setPointSizeF(10);
        const QFontMetricsF metrics(font, &image);
        const QString heading = view->windowTitle().replace(QStringLiteral(" — "), "\n");
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, width - 20, 1e4),
                                                   Qt::AlignHCenter | Qt::TextWordWrap, heading);
        int bands = 0;
        for (int y = 1; y < frame - 1; ++y) {
            bands += inked(y, 1) && !inked(y - 1, 1) ? 1 : 0;
        }
        EXPECT_EQ(bands, std::lround(needed.height() / metrics.lineSpacing()));
        EXPECT_FALSE(inked(frame - 2, 1)) << "the heading runs into the plot";
        // A narrow view keeps a plot as wide as the view: its legend goes below.
        int frameRow = 0;
        for (int x = 80; x < width - 30; ++x) {
            frameRow += qGray(image.pixel(x, frame)) < 200 ? 1 : 0;
        }
        if (width < 600) {
            EXPECT_GE(frameRow, (width - 110) * 9 / 10);
        }
    }
    view->close();
}

// The Compare window runs any method on the window's integrand and limits, without touching
// the window's own results; its rows carry the tooltips, a double click shows how a row was
// made, and the convergence view plots the run beside the three.
TEST_F(Form1Test, CompareWindowRunsAnyMethod) {
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    const std::vector<QString> before = rows();
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QPointer<CompareWindow> window = form->findChild<CompareWindow*>(QStringLiteral("Compare"));
    ASSERT_NE(window, nullptr);
    auto* methods = window->findChild<QComboBox*>(QStringLiteral("CompareMethod"));
    ASSERT_NE(methods, nullptr);
    EXPECT_EQ(methods->count(), static_cast<int>(kMethods.size()));
    methods->setCurrentIndex(static_cast<int>(Method::Trapezoid));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("CompareRun")),
                      Qt::LeftButton);
    // The method runs off the GUI thread; its rows come when it ends.
    auto* compared = window->findChild<QListWidget*>(QStringLiteral("CompareRows"));
    ASSERT_TRUE(QTest::qWaitFor([compared] { return compared->count() == 10; }, 20000));
    EXPECT_EQ(compared->item(0)->text(), QStringLiteral("2   3.1"));
    EXPECT_TRUE(compared->item(3)->toolTip().contains(QStringLiteral("Exact integral")));
    EXPECT_EQ(rows(), before);

    compared->setFocus();
    compared->setCurrentRow(2);
    QTest::keyClick(compared, Qt::Key_Return);
    QPointer<MethodView> view = form->findChild<MethodView*>(QStringLiteral("MethodView"));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->picture().has_value());
    EXPECT_EQ(std::get<TrapezoidShapes>(view->picture()->shapes).trapezoids.size(), 8u);

    // Back in the main window, its key opens the convergence view.
    form->activateWindow();
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return QApplication::activeWindow() == form.get(); }, 2000));
    QTest::keyClick(form.get(), Qt::Key_K, Qt::ControlModifier);
    auto* convergence = form->findChild<ConvergenceView*>(QStringLiteral("Convergence"));
    ASSERT_NE(convergence, nullptr);
    bool plotted = false;
    for (const PlotSeries& series : convergence->plot().series) {
        plotted = plotted || (series.method == Method::Trapezoid && !series.points.empty());
    }
    EXPECT_TRUE(plotted);
    view->close();
    convergence->close();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }, 2000));
}

// The race: every ticked method at the budget the slider sets, each claim beside the truth
// and marked where it did not hold; the plot sets the claimed errors beside the true ones.
TEST_F(Form1Test, RaceAtEqualCostInTheCompareWindow) {
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    auto* window = form->findChild<CompareWindow*>(QStringLiteral("Compare"));
    ASSERT_NE(window, nullptr);
    auto* slider = window->findChild<QSlider*>(QStringLiteral("RaceBudget"));
    slider->setValue(9);
    EXPECT_EQ(window->budget(), 10000);
    window->setBudget(4000);
    EXPECT_EQ(window->budget(), 2000);
    // The first example: sqrt(x) on 0..1 at 100 evaluations, as a student would set it up.
    auto* examples = window->findChild<QComboBox*>(QStringLiteral("RacePresets"));
    emit examples->activated(1);
    EXPECT_EQ(window->budget(), 100);
    EXPECT_EQ(form->model().integrand().label(), "sqrt(x)");
    EXPECT_EQ(form->model().x2().toDouble(), 1.0);
    EXPECT_TRUE(window->racing());
    // The race runs off the GUI thread; the table fills when it ends.
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("RaceTable"));
    ASSERT_TRUE(QTest::qWaitFor(
        [table] { return table->rowCount() == static_cast<int>(kMethods.size()); }, 20000));
    // The parabolic rule's Richardson estimate claims an eighth of its error on sqrt(x): marked,
    // and why.
    EXPECT_TRUE(table->item(0, 6)->text().startsWith(QStringLiteral("missed")));
    EXPECT_TRUE(table->item(0, 6)->toolTip().contains(QStringLiteral("missed by a factor 8.")));
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("RaceSummary"))
                    ->text()
                    .contains(QStringLiteral("claims held in")));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("RacePlotButton")),
                      Qt::LeftButton);
    // The plot too is made off the GUI thread.
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return form->findChild<ConvergenceView*>(QStringLiteral("RacePlot")); }, 60000));
    auto* plot = form->findChild<ConvergenceView*>(QStringLiteral("RacePlot"));
    // The sweep's curves: a true and a claimed series per method, hit-or-miss's in the box the
    // example set.
    std::size_t claimed = 0;
    for (const PlotSeries& series : plot->plot().series) {
        claimed += series.role == SeriesRole::ClaimedError ? 1 : 0;
    }
    EXPECT_EQ(claimed, kMethods.size());
    EXPECT_EQ(form->model().ymax().toDouble(), 1.0);
    EXPECT_FALSE(plot->plot().nothingToPlot.has_value());
    plot->close();

    // Esc stops a race under way: the table shows the methods run by then, and says so.
    window->setBudget(1000000);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("RaceRun")), Qt::LeftButton);
    ASSERT_TRUE(window->racing());
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->racing(); }, 20000));
    EXPECT_LT(table->rowCount(), static_cast<int>(kMethods.size()));
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("RaceSummary"))
                    ->text()
                    .startsWith(QStringLiteral("Stopped after %1 of %2 methods at 1000000")
                                    .arg(table->rowCount())
                                    .arg(kMethods.size())));
    EXPECT_TRUE(window->isVisible());
    window->close();
}

// Many dimensions from the menu's key, and Enter in a box: input that names no integrand is said
// and runs nothing; a race fills the table and draws its sweep off the GUI thread; Esc stops a long
// one at once, and closing the window stops its work.
TEST_F(Form1Test, ManyDimensionsRacesOffTheGuiThreadAndStops) {
    QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
    QPointer<ManyDimensionsWindow> window =
        form->findChild<ManyDimensionsWindow*>(QStringLiteral("ManyDimensions"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(),
              "Many dimensions: the Gaussian family in 10 dimensions, difficulty 7.03, seed 1");
    // Tab goes down the window as it reads, past the boxes that are off.
    QApplication::setActiveWindow(window);
    QStringList order = {"D", "Family", "Difficulty", "Seed", "Budget"};
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        order << QStringLiteral("Method_") + text(info.name);
    }
    order += {"Race", "CurseButton", "Presets", "Table", "PictureTabs", "D"};
    window->findChild<QWidget*>(QStringLiteral("DimensionsD"))->setFocus(Qt::OtherFocusReason);
    QStringList visited = {order[0]};
    while (visited.size() < order.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName().remove(QStringLiteral("Dimensions"));
    }
    EXPECT_EQ(visited.join(' ').toStdString(), order.join(' ').toStdString());
    auto* jobs = window->findChild<DimensionsJobs*>();
    auto* message = window->findChild<QLabel*>(QStringLiteral("DimensionsMessage"));
    auto* difficulty = window->findChild<QLineEdit*>(QStringLiteral("DimensionsDifficulty"));
    auto* race = window->findChild<QPushButton*>(QStringLiteral("DimensionsRace"));
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("DimensionsTable"));
    auto* budget = window->findChild<QSlider*>(QStringLiteral("DimensionsBudget"));
    QTest::keyClicks(difficulty, "-3");
    QTest::keyClick(difficulty, Qt::Key_Return);
    EXPECT_FALSE(message->isHidden());
    EXPECT_EQ(message->text(),
              "The difficulty is a number above 0 and at most 1000; \"-3\" is not one.");
    EXPECT_FALSE(jobs->busy());
    difficulty->clear();

    window->findChild<QSpinBox*>(QStringLiteral("DimensionsD"))->setValue(3);
    budget->setValue(6);  // 1000 evaluations
    EXPECT_EQ(window->budget(), 1000);
    QTest::mouseClick(race, Qt::LeftButton);
    EXPECT_TRUE(message->isHidden());
    ASSERT_TRUE(QTest::qWaitFor([jobs] { return !jobs->busy(); }, 30000));
    // Every method but hit-or-miss, which counts hits and is ticked for the ball alone.
    EXPECT_EQ(table->rowCount(), static_cast<int>(kCubatureMethods.size()) - 1);
    EXPECT_EQ(table->item(0, 1)->text(), "8 per axis");
    const auto* plot =
        window->findChild<DimensionsPlotView*>(QStringLiteral("DimensionsErrorCost"));
    ASSERT_TRUE(plot->plot().has_value());
    EXPECT_FALSE(plot->plot()->nothingToPlot);
    const auto* points = window->findChild<PointsView*>(QStringLiteral("DimensionsPoints"));
    ASSERT_TRUE(points->points().has_value());
    EXPECT_EQ(points->points()->valuesX, 8u);

    // A million evaluations in twenty dimensions: Esc stops it within moments.
    window->findChild<QSpinBox*>(QStringLiteral("DimensionsD"))->setValue(20);
    budget->setValue(budget->maximum());
    QTest::mouseClick(race, Qt::LeftButton);
    ASSERT_TRUE(jobs->busy());
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([jobs] { return !jobs->busy(); }, 2000));
    EXPECT_TRUE(window->isVisible());
    // Stopped in the race, or in the sweep after it: what was not finished is not shown whole.
    EXPECT_TRUE(table->rowCount() < static_cast<int>(kCubatureMethods.size()) - 1 ||
                !plot->plot().has_value());

    // Closing the window while it works stops the work and does not wait for its end.
    QTest::mouseClick(race, Qt::LeftButton);
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }, 2000));
}

// A slow integrand: what the Compare window runs can be stopped and asked for again at once,
// and closing the window stops it.
TEST_F(Form1Test, CompareWorkStopsAndStartsAgainAtOnce) {
    form->useOwnIntegrand(test::parsed("sin(x)+sin(2*x)+sin(3*x)+sin(4*x)+sin(5*x)"));
    enter("Text1", "0");
    enter("Text2", "3");
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QPointer<CompareWindow> window = form->findChild<CompareWindow*>(QStringLiteral("Compare"));
    ASSERT_NE(window, nullptr);
    auto* jobs = form->findChild<CompareJobs*>();
    ASSERT_NE(jobs, nullptr);
    QSignalSpy raced(jobs, &CompareJobs::raced);
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("RaceTable"));
    auto* race = window->findChild<QPushButton*>(QStringLiteral("RaceRun"));
    window->setBudget(1000000);
    QTest::mouseClick(race, Qt::LeftButton);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    // Race again at once: the stopped race is shown, then the new one runs whole.
    window->setBudget(100);
    QTest::mouseClick(race, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&raced] { return raced.size() == 2; }, 60000));
    EXPECT_LT(raced.at(0).at(0).value<Race>().entries.size(), kMethods.size());
    EXPECT_EQ(raced.at(1).at(0).value<Race>().budget, 100);
    ASSERT_TRUE(QTest::qWaitFor([jobs] { return !jobs->busy(); }, 20000));
    EXPECT_EQ(table->rowCount(), static_cast<int>(kMethods.size()));
    EXPECT_FALSE(window->running());

    // A single run asked for again while one runs: the later one is shown.
    QSignalSpy ran(jobs, &CompareJobs::methodRan);
    auto* run = window->findChild<QPushButton*>(QStringLiteral("CompareRun"));
    auto* methods = window->findChild<QComboBox*>(QStringLiteral("CompareMethod"));
    methods->setCurrentIndex(static_cast<int>(Method::MeanValue));
    QTest::mouseClick(run, Qt::LeftButton);
    methods->setCurrentIndex(static_cast<int>(Method::Trapezoid));
    QTest::mouseClick(run, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([jobs] { return !jobs->busy(); }, 60000));
    ASSERT_EQ(ran.size(), 1);
    EXPECT_EQ(ran.at(0).at(0).value<AnalysedRun>().run.method, Method::Trapezoid);

    // Closing the window stops its race after the method under way.
    window->setBudget(1000000);
    QTest::mouseClick(race, Qt::LeftButton);
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([jobs] { return !jobs->busy(); }, 20000));
    ASSERT_EQ(raced.size(), 3);
    EXPECT_LT(raced.at(2).at(0).value<Race>().entries.size(), kMethods.size());
}

// The seed is shown and typed in the window: a text that is no seed is said and runs nothing,
// the same seed gives the same race, and new numbers give another.
TEST_F(Form1Test, TheRacesSeedIsShownAndTyped) {
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    auto* window = form->findChild<CompareWindow*>(QStringLiteral("Compare"));
    ASSERT_NE(window, nullptr);
    auto* jobs = form->findChild<CompareJobs*>();
    QSignalSpy raced(jobs, &CompareJobs::raced);
    auto* seed = window->findChild<QLineEdit*>(QStringLiteral("RaceSeed"));
    auto* message = window->findChild<QLabel*>(QStringLiteral("RaceSeedMessage"));
    ASSERT_NE(seed, nullptr);
    EXPECT_EQ(seed->text(), QString::number(kDefaultSeed));
    window->setBudget(1000);
    const auto raceWith = [&](const QString& typed) {
        seed->setFocus();
        seed->selectAll();
        QTest::keyClicks(seed, typed);
        window->startRace();
    };
    raceWith(QStringLiteral("12x"));
    EXPECT_FALSE(window->racing());
    EXPECT_FALSE(message->isHidden());
    EXPECT_EQ(message->text(), QStringLiteral("The seed is a whole number from 0 to "
                                              "18446744073709551615; \"12x\" is not one."));
    EXPECT_EQ(seed->text(), QStringLiteral("12x"));  // kept, to be mended
    for (const char* typed : {"18446744073709551615", "18446744073709551615", "5"}) {
        raceWith(QString::fromLatin1(typed));
        EXPECT_TRUE(message->isHidden());
        ASSERT_TRUE(QTest::qWaitFor([jobs] { return !jobs->busy(); }, 20000));
    }
    ASSERT_EQ(raced.size(), 3);
    const auto estimates = [&raced](int i) {
        const Race race = raced.at(i).at(0).value<Race>();
        std::vector<std::optional<double>> result;
        for (const RaceEntry& entry : race.entries) {
            result.push_back(entry.estimate);
        }
        return std::pair(race.seed, result);
    };
    EXPECT_EQ(estimates(0).first, 18446744073709551615u);
    EXPECT_EQ(estimates(0), estimates(1));
    EXPECT_EQ(estimates(2).first, 5u);
    EXPECT_NE(estimates(2).second, estimates(1).second);

    // New numbers: a seed drawn afresh, and the race run with it.
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&raced] { return raced.size() == 4; }, 20000));
    EXPECT_EQ(QString::number(estimates(3).first), seed->text());
    EXPECT_NE(estimates(3).first, 5u);
    window->close();
}

// The Compare window names what it compares, follows the main window, and marks a race shown
// for inputs that have changed since, until it is run again.
TEST_F(Form1Test, TheCompareWindowNamesWhatItCompares) {
    chooseIntegrand(3);
    enter("Text1", "0");
    enter("Text2", "3");
    clickCanvas(2.0f);
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    auto* window = form->findChild<CompareWindow*>(QStringLiteral("Compare"));
    ASSERT_NE(window, nullptr);
    auto* heading = window->findChild<QLabel*>(QStringLiteral("RaceHeading"));
    ASSERT_NE(heading, nullptr);
    // The height a click sets, as the window says it.
    const auto box = [this] {
        return QString::fromStdString(shortNumber(form->model().ymax().toDouble(), 7));
    };
    const QString inputs = QStringLiteral("x*sin(x) on 0..3, box height %1, seed 1").arg(box());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Compare the methods: ") + inputs);
    window->setBudget(100);
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->running(); }, 20000));
    EXPECT_EQ(heading->text(), QStringLiteral("For ") + inputs + QLatin1Char('.'));

    const QString stale = QStringLiteral("For ") + inputs +
                          QStringLiteral(" \u2014 the inputs have changed since: Race again.");
    enter("Text2", "2");
    EXPECT_EQ(
        window->windowTitle(),
        QStringLiteral("Compare the methods: x*sin(x) on 0..2, box height %1, seed 1").arg(box()));
    EXPECT_EQ(heading->text(), stale);
    enter("Text2", "3");
    EXPECT_EQ(heading->text(), QStringLiteral("For ") + inputs + QLatin1Char('.'));
    chooseIntegrand(0);
    EXPECT_EQ(heading->text(), stale);
    chooseIntegrand(3);
    clickCanvas(3.0f);
    EXPECT_EQ(heading->text(), stale);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("box height ") + box()));
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->running(); }, 20000));
    EXPECT_EQ(heading->text(),
              QStringLiteral("For x*sin(x) on 0..3, box height %1, seed 1.").arg(box()));
    window->close();
}

// At its own size the race's table shows every method's row and its columns whole; Tab goes
// through every control of a page in reading order and out of the table; Esc stops a race,
// and closes the window only when nothing runs.
TEST_F(Form1Test, TheRaceIsReadAndDrivenByKeyboard) {
    chooseIntegrand(3);
    enter("Text1", "0");
    enter("Text2", "3");
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QPointer<CompareWindow> window = form->findChild<CompareWindow*>(QStringLiteral("Compare"));
    ASSERT_NE(window, nullptr);
    // At its own size, as on a screen with room for it.
    const QSize own = CompareWindow().size();
    window->resize(own);
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("RacePresets"));
    window->setBudget(1000);
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("RaceTable"));
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->running(); }, 20000));
    ASSERT_EQ(table->rowCount(), static_cast<int>(kMethods.size()));
    EXPECT_EQ(table->verticalScrollBar()->maximum(), 0);
    EXPECT_LE(
        table->rowViewportPosition(table->rowCount() - 1) + table->rowHeight(table->rowCount() - 1),
        table->viewport()->height());
    for (int column = 0; column < table->columnCount(); ++column) {
        SCOPED_TRACE(table->horizontalHeaderItem(column)->text().toStdString());
        EXPECT_GE(table->columnWidth(column),
                  static_cast<QAbstractItemView*>(table)->sizeHintForColumn(column));
        EXPECT_LE(table->columnViewportPosition(column) + table->columnWidth(column),
                  table->viewport()->width());
    }

    const QStringList order = {
        QStringLiteral("RacePresets"),     QStringLiteral("RaceBudget"),
        QStringLiteral("RaceSeed"),        QStringLiteral("RaceNewNumbers"),
        QStringLiteral("RaceMethods"),     QStringLiteral("RaceRun"),
        QStringLiteral("RacePlotButton"),  QStringLiteral("RaceTable"),
        QStringLiteral("ComparePageTabs"), QStringLiteral("RacePresets"),
    };
    table->setFocus(Qt::OtherFocusReason);
    table->setCurrentCell(3, 2);
    QStringList visited;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
    for (int i = 0; i < order.size() - 1; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited,
              QStringList{QStringLiteral("ComparePageTabs")} + order.mid(0, order.size() - 1));

    // Esc stops a race under way and leaves the window open; then it closes it.
    window->setBudget(1000000);
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(window->running());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->running(); }, 20000));
    EXPECT_FALSE(window.isNull());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }, 2000));
}

// Every method has its own colour in the views, its option's spelling, and its paragraph in
// the handbook the program shows on F1, which also names every function a student may type.
TEST(MethodTableTest, EveryMethodHasAColourASpellingAndAHandbookEntry) {
    QFile file(QStringLiteral(":/handbook/handbook.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString handbook =
        QTextDocumentFragment::fromHtml(QString::fromUtf8(file.readAll())).toPlainText();
    handbook.replace(QChar(0x2013), QLatin1Char('-'));
    QSet<QRgb> colours;
    for (const MethodInfo& info : kMethods) {
        const QString caption =
            QString::fromUtf8(info.caption.data(), static_cast<qsizetype>(info.caption.size()));
        SCOPED_TRACE(caption.toStdString());
        colours.insert(methodColour(info.method).rgb());
        EXPECT_EQ(methodNamed(info.name), info.method);
        EXPECT_EQ(methodNamed(info.caption), info.method);
        EXPECT_TRUE(handbook.contains(caption)) << "no handbook entry";
    }
    EXPECT_EQ(colours.size(), static_cast<qsizetype>(kMethods.size()));
    // And every function a typed integrand may call.
    for (const std::string_view name : kTypedFunctions) {
        EXPECT_TRUE(
            handbook.contains(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))))
            << name;
    }
}

// The dialog names what is wrong as a person sees it: a column in characters, a mark that
// turns text right to left shown as a dot in the copy and by its code point in the message,
// which stays left to right.
TEST_F(Form1Test, ExpressionDialogNamesCharactersAsTheyAreSeen) {
    ExpressionDialog dialog({}, form.get());
    const auto* shown = dialog.findChild<QLabel*>(QStringLiteral("Problem"));
    dialog.setText(QString::fromUtf8("x+\u200f1"));
    EXPECT_TRUE(dialog.problem().contains("Column 3: an invisible character (U+200F)"))
        << dialog.problem().toStdString();
    EXPECT_FALSE(shown->text().contains(QChar(0x200F)));
    EXPECT_EQ(shown->text().count(QStringLiteral("dir=\"ltr\"")), 2);
    dialog.setText(QString(600, QChar(0xE9)));
    EXPECT_TRUE(dialog.problem().contains(QString::fromUtf8("Column 1: \"\u00e9\" is not known")))
        << dialog.problem().toStdString();
    dialog.setText(QStringLiteral("1e309"));
    EXPECT_TRUE(dialog.problem().contains("the number 1e309 is too large"));
}

// An integrand of one's own: typed in a dialog that checks it as it is typed, then graphed,
// shaded and integrated as the five are, its faults reported the same way.
TEST_F(Form1Test, OwnIntegrandWorksAsTheFiveDo) {
    ExpressionDialog dialog({}, form.get());
    dialog.setText("x*y");
    EXPECT_EQ(dialog.expression(), nullptr);
    EXPECT_TRUE(dialog.problem().contains("Column 3: \"y\" is not known"))
        << dialog.problem().toStdString();
    dialog.setText("x^2");
    ASSERT_NE(dialog.expression(), nullptr);
    EXPECT_TRUE(dialog.problem().isEmpty());

    chooseIntegrand(1);
    form->useOwnIntegrand(dialog.expression());
    // On show: its own selected entry after the five, and the window's title.
    ASSERT_EQ(list("List1")->selectedItems().size(), 1);
    EXPECT_EQ(list("List1")->selectedItems().front()->text(), "f(x) = x^2");
    EXPECT_EQ(list("List1")->row(list("List1")->selectedItems().front()), 5);
    EXPECT_TRUE(form->windowTitle().endsWith(" — f(x) = x^2")) << form->windowTitle().toStdString();
    EXPECT_TRUE(form->model().fnum().isEmpty());
    EXPECT_TRUE(list("List1")->toolTip().contains("f(x) = x^2"));
    click("Command1");
    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    EXPECT_EQ(rows().front(), "2   .33333");  // the parabolic rule is exact for x^2
    EXPECT_EQ(box("Text3")->text(), "S = 0.33333");
    EXPECT_TRUE(list("List2")->item(0)->toolTip().contains("Reference (adaptive quadrature): "));
    QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);
    QPointer<MethodView> view = form->findChild<MethodView*>(QStringLiteral("MethodView"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->windowTitle().endsWith(" — f(x) = x^2")) << view->windowTitle().toStdString();
    view->close();

    // Until Graph draws it, the window says that what it shows is of the integrand before.
    form->useOwnIntegrand(test::parsed("1/sqrt(x)"));
    EXPECT_TRUE(child<QLabel>("InputNote")->isVisible());
    EXPECT_EQ(child<QLabel>("InputNote")->text(),
              "f(x) = 1/sqrt(x) is chosen: Graph draws it. The curve, the rows and the summary "
              "shown are still those of f(x) = x^2.");
    // Graph draws where f has values and says where it has none; the rows before go.
    const std::size_t faultsBefore = faults.size();
    click("Command1");
    EXPECT_EQ(faults.size(), faultsBefore);
    EXPECT_EQ(list("List2")->count(), 0);
    EXPECT_EQ(box("Text3")->text(), "");
    EXPECT_TRUE(child<QLabel>("InputNote")
                    ->text()
                    .startsWith("f has no value that can be drawn at 1001 of the curve's 2001 "
                                "points, from x = -10 to "
                                "0:"))
        << child<QLabel>("InputNote")->text().toStdString();

    // The same function again, drawn already: nothing to tell. A row of the list instead of a
    // typed function not yet drawn: the note on it goes.
    form->useOwnIntegrand(test::parsed("1/sqrt(x)"));
    EXPECT_FALSE(child<QLabel>("InputNote")->isVisible());
    form->useOwnIntegrand(test::parsed("x^3"));
    EXPECT_TRUE(child<QLabel>("InputNote")->isVisible());
    chooseIntegrand(0);
    EXPECT_FALSE(child<QLabel>("InputNote")->isVisible());

    auto reciprocal = TypedExpression::parse("1/x");
    form->useOwnIntegrand(std::get<std::shared_ptr<const TypedExpression>>(reciprocal));
    enter("Text1", "-1");
    enter("Text2", "1");
    click("Command5");
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().fault, Fault::Overflow);
    EXPECT_EQ(reports.back().x, 0.0);  // the middle node of three
    EXPECT_TRUE(faultMessage(reports.back()).contains("Integrand: f(x) = 1/x."));

    chooseIntegrand(2);
    EXPECT_TRUE(form->model().fnum().identical(Variant::integer(3)));
    EXPECT_EQ(form->model().integrand().expression(), nullptr);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8(layout::kCaption));
    // Its entry stays, one click from being in use again.
    ASSERT_EQ(list("List1")->count(), 6);
    EXPECT_EQ(list("List1")->item(5)->text(), "f(x) = 1/x");
    list("List1")->setCurrentRow(5);
    ASSERT_NE(form->model().integrand().expression(), nullptr);
    EXPECT_EQ(form->model().integrand().expression()->text(), "1/x");
}

// F1 opens the handbook, built into the program; Esc closes every extra window; Ctrl+Q ends
// the program as End does.
TEST_F(Form1Test, KeysPeopleTry) {
    form->move(300, 200);
    QTest::keyClick(form.get(), Qt::Key_F1);
    QPointer<QTextBrowser> handbook = form->findChild<QTextBrowser*>(QStringLiteral("Handbook"));
    ASSERT_NE(handbook, nullptr);
    EXPECT_TRUE(handbook->toPlainText().contains("Keys and mouse"));
    QTest::keyClick(form.get(), Qt::Key_K, Qt::ControlModifier);
    QPointer<QWidget> convergence =
        form->findChild<ConvergenceView*>(QStringLiteral("Convergence"));
    ASSERT_NE(convergence, nullptr);
    for (QPointer<QWidget> extra : {QPointer<QWidget>(handbook), convergence}) {
        QTest::keyClick(extra, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&extra] { return extra.isNull(); }, 2000));
    }
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
}

// Every shortcut of the window works wherever the caret or the focus is: a text box keeps none
// of them for itself (a line edit on X11 takes Ctrl+E, Ctrl+K and others for its own editing),
// and Alt with a letter types nothing into a limit box.
TEST_F(Form1Test, EveryShortcutWorksWhereverTheFocusIs) {
    click("Command3");  // the help box takes the focus too, once shown
    const auto closeWhatOpened = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->objectName() != "Form1" && window->isWindow() &&
                !window->inherits("QTipLabel")) {
                window->close();
            }
        }
    };
    for (QAction* action : form->actions()) {
        const QKeySequence keys = action->shortcut();
        if (keys.isEmpty() || keys == QKeySequence(Qt::CTRL | Qt::Key_Q)) {
            continue;
        }
        for (const char* name :
             {"Text1", "Text2", "Text3", "Text4", "List1", "List2", "Picture1", "Command4"}) {
            SCOPED_TRACE(keys.toString().toStdString() + " in " + name);
            QApplication::setActiveWindow(form.get());
            auto* focused = child<QWidget>(name);
            focused->setFocus();
            ASSERT_TRUE(focused->hasFocus());
            QSignalSpy triggered(action, &QAction::triggered);
            // A dialog the shortcut opens is closed as soon as it shows.
            QTimer::singleShot(0, [] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    modal->close();
                }
            });
            QTest::keySequence(focused, keys);
            EXPECT_EQ(triggered.count(), 1);
            closeWhatOpened();
        }
    }
    for (const char* name : {"Text1", "Text2"}) {
        type(name, "2");
        for (const Qt::Key letter : {Qt::Key_O, Qt::Key_E, Qt::Key_H}) {
            QTest::keyClick(box(name), letter, Qt::AltModifier);
        }
        EXPECT_EQ(box(name)->text(), "2") << name;
        // What a box does with keys of its own stays: select all, then type over it.
        QTest::keyClick(box(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box(name), "3");
        EXPECT_EQ(box(name)->text(), "3") << name;
    }
    // Enter confirms with Alt held too.
    type("Text2", "5");
    QTest::keyClick(box("Text2"), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(form->model().x2().toDouble(), 5.0);
    QApplication::setActiveWindow(form.get());
    box("Text1")->setFocus();
    QTest::keyClick(box("Text1"), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
}

// Errors of infinite size (limits up to 1.7e308, a box just above the axis) give a view that
// answers at once: it says what it cannot plot, and its axes stay bounded.
TEST_F(Form1Test, ConvergenceViewOfExtremeFiguresAnswers) {
    chooseIntegrand(3);
    click("Command1");
    enter("Text1", "0");
    enter("Text2", "1.7e308");
    clickCanvas(0.5f);
    click("Command6");
    QTest::keyClick(form.get(), Qt::Key_K, Qt::ControlModifier);
    auto* view = form->findChild<ConvergenceView*>(QStringLiteral("Convergence"));
    ASSERT_NE(view, nullptr);
    EXPECT_LE(view->plot().y.ticks().size(), static_cast<std::size_t>(kMaxTicks));
    EXPECT_FALSE(view->grab().isNull());  // it draws, and drawing ends
    EXPECT_FALSE(faults.empty());         // the shading overflowed on the way, as it should
}

// The longest tooltip, of a Monte Carlo row whose box does not hold the curve, fits a small
// screen: it wraps instead of running as wide as its longest line.
TEST_F(Form1Test, TooltipsWrapAtAbout600Pixels) {
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    clickCanvas(2.0f);
    click("Command6");
    const QString tip = list("List2")->item(0)->toolTip();
    ASSERT_TRUE(tip.contains("does not hold the curve")) << tip.toStdString();
    QToolTip::showText(form->mapToGlobal(QPoint(10, 10)), tip, form.get());
    QWidget* label = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible()) {
            label = widget;
        }
    }
    ASSERT_NE(label, nullptr);
    // Rich text, which a tooltip wraps on any screen (plain text only on one narrower than the
    // text): narrower than its longest line, and never wider than about 600 pixels.
    EXPECT_TRUE(Qt::mightBeRichText(tip));
    int longest = 0;
    const QString plain =
        Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip;
    for (const QString& line : plain.split('\n')) {
        longest = std::max(longest, label->fontMetrics().horizontalAdvance(line));
    }
    EXPECT_LT(label->width(), longest);
    EXPECT_LE(label->width(), 640);
    QToolTip::hideText();
}

// A row's tooltip, and the canvas's, never lie over a button, a list or a box: a click meant
// for Gauss right after reading a row must press Gauss.
TEST_F(Form1Test, TooltipsLieOverNoControl) {
    form->move(200, 100);
    chooseIntegrand(1);
    enter("Text1", "0");
    enter("Text2", "1");
    click("Command4");
    QListWidget* results = list("List2");
    const auto tipOver = [this](QWidget* asking, QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, asking->mapToGlobal(at));
        QApplication::sendEvent(asking, &help);
        QWidget* tip = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QTipLabel") && widget->isVisible()) {
                tip = widget;
            }
        }
        EXPECT_NE(tip, nullptr);
        return tip == nullptr ? QRect() : tip->geometry();
    };
    for (const auto& [asking, at] :
         {std::pair{results->viewport(), results->visualItemRect(results->item(3)).center()},
          std::pair{static_cast<QWidget*>(canvas()), canvasPixel(9.0f, -2.0f)}}) {
        const QRect tip = tipOver(asking, at);
        SCOPED_TRACE(asking->objectName().toStdString());
        for (const char* name : {"Command4", "Command5", "Command6", "List2", "Text2", "Text3"}) {
            const auto* control = child<QWidget>(name);
            const QRect where(control->mapToGlobal(QPoint(0, 0)), control->size());
            EXPECT_FALSE(tip.intersects(where)) << name;
        }
        QToolTip::hideText();
    }
}

// A paste longer than a box holds is cut where the box ends, and the user is told; a word
// longer than a line of the help box is wrapped anywhere, where breaking it at its boundaries
// would cost seconds per key.
TEST_F(Form1Test, LongPastesAreCutAndSaidSo) {
    click("Command3");
    struct PasteCase {
        const char* name;
        int pasted;
        int kept;
    };
    for (const PasteCase& c : std::vector<PasteCase>{
             {"Text4", 200000, 65535}, {"Text1", 40000, 32767}, {"Text2", 32767, 32767}}) {
        SCOPED_TRACE(c.name);
        QToolTip::hideText();
        auto* control = child<QWidget>(c.name);
        control->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->clear();
        } else {
            qobject_cast<QPlainTextEdit*>(control)->clear();
        }
        QApplication::clipboard()->setText(QString(c.pasted, QLatin1Char('7')));
        QTest::keyClick(control, Qt::Key_V, Qt::ControlModifier);
        const auto* edit = qobject_cast<QLineEdit*>(control);
        const auto* help = qobject_cast<QPlainTextEdit*>(control);
        EXPECT_EQ(edit ? edit->text().size() : help->toPlainText().size(), c.kept);
        EXPECT_EQ(QToolTip::isVisible(), c.pasted > c.kept);
        if (c.pasted > c.kept) {
            EXPECT_TRUE(QToolTip::text().contains("holds at most"))
                << QToolTip::text().toStdString();
        }
        if (help != nullptr) {
            EXPECT_EQ(help->wordWrapMode(), QTextOption::WrapAnywhere);
        }
    }
    QToolTip::hideText();
}

// Whatever the clipboard or the selection holds, pasting it into a control, middle-clicking
// or dropping it there never ends the program.
TEST_F(Form1Test, PasteAndDropOfAnyClipboardLeaveTheWindowRunning) {
    click("Command3");
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "List1", "List2"}) {
        for (int kind = 0; kind < test::kClipboardKinds; ++kind) {
            SCOPED_TRACE(std::string(name) + ", clipboard kind " + std::to_string(kind));
            auto* control = child<QWidget>(name);
            QApplication::clipboard()->setMimeData(test::clipboardContents(kind));
            if (QApplication::clipboard()->supportsSelection()) {
                QApplication::clipboard()->setMimeData(test::clipboardContents(kind),
                                                       QClipboard::Selection);
            }
            control->setFocus();
            QTest::keyClick(control, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(control, Qt::Key_Insert, Qt::ShiftModifier);
            auto* area = qobject_cast<QAbstractScrollArea*>(control);
            QWidget* target = area ? area->viewport() : control;
            QTest::mouseClick(target, Qt::MiddleButton, {}, QPoint(5, 5));
            std::unique_ptr<QMimeData> dropped(test::clipboardContents(kind));
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, dropped.get(), Qt::LeftButton, {});
            QApplication::sendEvent(target, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, dropped.get(), Qt::LeftButton, {});
            QApplication::sendEvent(target, &drop);
            ASSERT_TRUE(form->isVisible());
        }
    }
    EXPECT_TRUE(faults.empty());
}

}  // namespace
}  // namespace integral
