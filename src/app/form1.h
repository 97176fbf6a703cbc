// The one window: a fixed layout of controls over a plot canvas, the program's whole state as
// members, and one handler per control event. Handlers never end the program on a run-time
// error: they stop where it arose, keep what was done so far and report the fault.
#pragma once

#include <QWidget>
#include <functional>

#include "canvas/canvas_surface.h"
#include "runtime/random_generator.h"
#include "runtime/runtime_error.h"
#include "runtime/variant.h"
#include "runtime/variant_array.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace integral {

class CanvasWidget;
class ResultsPanel;

class Form1 : public QWidget {
    Q_OBJECT

  public:
    // Shows a fault to the user; tests replace it to capture faults instead of a modal box.
    using ErrorReporter = std::function<void(Fault)>;

    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    void setErrorReporter(ErrorReporter reporter);

    // The selected integrand at x; Empty while none is chosen.
    Variant f(const Variant& x) const;

    // The program's state, Empty until the user sets it.
    Variant fnum;  // 1 to 5, the chosen integrand
    Variant x1;    // lower limit
    Variant x2;    // upper limit
    Variant ymax;  // height of the Monte Carlo box, in canvas units
    Variant hits;  // Monte Carlo hit count of the last row
    VariantArray node;
    VariantArray weight;

    // Handlers, named after control and event.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command6_MouseMove();
    void List1_Click();
    void Picture1_MouseDown(float y);
    void Text1_KeyPress(int keyAscii);
    void Text2_KeyPress(int keyAscii);

    // Canvas operations.
    void ShadeArea();
    void DrawBox();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setupWindow();
    void setupControls();
    void setupStacking();
    void setupTabOrder();
    void setupAccessibility();
    void setupConnections();

    // Runs a handler body; a run-time error stops it and is reported.
    void guarded(const std::function<void()>& body);
    // Runs a method table and shows its rows, and its summary when it completed.
    void showMethodRun(const std::function<void(ResultsPanel&)>& table);

    // f as the tables and the canvas take it.
    struct FormIntegrand {
        const Form1* form;
        Variant operator()(const Variant& x) const { return form->f(x); }
    };

    FormIntegrand integrand_{this};
    ErrorReporter reportError_;
    RandomGenerator random_;  // one sequence for the window's whole life

    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QPlainTextEdit* Text4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    CanvasWidget* Picture1 = nullptr;
};

}  // namespace integral
