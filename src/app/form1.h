// SPDX-License-Identifier: GPL-3.0-or-later
// The one window: a fixed layout of controls over a plot canvas, and one handler per control
// event. The handlers read the controls, act on the model and show what it returns; a
// run-time error never ends the program: the handler stops where it arose, keeps what was done
// so far and reports the fault.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "model/model.h"
#include "model/run_analysis.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace integral {

class CanvasWidget;
class MethodView;

class Form1 : public QWidget {
    Q_OBJECT

  public:
    // Shows a fault to the user; tests replace it to capture faults instead of a modal box.
    using ErrorReporter = std::function<void(const FaultReport&)>;

    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    void setErrorReporter(ErrorReporter reporter);

    // Takes an integrand the student typed in place of the list's five: the list's selection
    // clears, and everything works on it until a row of the list is chosen again.
    void useOwnIntegrand(std::shared_ptr<const TypedExpression> expression);

    // The selected integrand at x; Empty while none is chosen.
    Variant f(const Variant& x) const { return model_.f(x); }

    // The program's state, for reading.
    const Model& model() const { return model_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void setupWindow();
    void setupControls();
    void setupTabOrder();
    void setupAccessibility();
    void setupConnections();
    void setupLearningAids();
    void showAbout();
    void copyTable();
    void copyPicture();
    void showConvergence();
    void askForOwnIntegrand();
    void showMethodView();
    MethodView* methodView() const;
    QString integrandName() const;

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
    Outcome ShadeArea();
    Outcome DrawBox();

    // Reports a fault, if there is one; true when there was.
    bool reported(const Outcome& outcome);
    // Shows a method's rows, and its summary when it completed.
    void showRun(const MethodRun& run);

    Model model_;
    ErrorReporter reportError_;
    // The run the results list shows, what it teaches, and the last Monte Carlo run.
    std::optional<MethodRun> shownRun_;
    RunAnalysis shownAnalysis_;
    std::optional<MethodRun> lastMonteCarlo_;

    // The learning aids' actions, each made once and put in the menus that offer it.
    QAction* copyTableAction_ = nullptr;
    QAction* convergenceAction_ = nullptr;
    QAction* methodViewAction_ = nullptr;
    QAction* copyPictureAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* ownIntegrandAction_ = nullptr;
    // The integrands typed in this session, the latest first; never written anywhere.
    QStringList typedHistory_;

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
