// SPDX-License-Identifier: GPL-3.0-or-later
// The one window: a fixed layout of controls over a plot canvas, and one handler per control
// event. The handlers read the controls, act on the model and show what it returns; a
// run-time error never ends the program: the handler stops where it arose, keeps what was done
// so far and reports the fault.
#pragma once

#include <QKeyEvent>
#include <QStringList>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "model/convergence_plot.h"
#include "model/model.h"
#include "model/run_analysis.h"

class QAction;
class QPrinter;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace integral {

class CanvasWidget;
class CompareJobs;
class CompareWindow;
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
    // The results with their caption and summary, then the canvas, on pages of `printer`.
    void printResults(QPrinter& printer) const;

    // The program's state, for reading.
    const Model& model() const { return model_; }

  signals:
    // The integrand, the limits or the box may have changed.
    void inputsChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool keptFromTextBox(const QKeyEvent& key) const;
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
    void showHandbook();
    // Beside the main window, or with `besideTheOthers` beside the extra windows shown too.
    void placeBesideWindow(QWidget* extra, bool besideTheOthers = false) const;
    void showMethodView();
    MethodView* methodView() const;
    // The picture of a row of a run, in the one method view.
    void showPicture(const AnalysedRun* run, int row);
    void showCompare();
    void showManyDimensions();
    void showCompared(const AnalysedRun& run);
    void showComparedRow(int row);
    void showRacePlot(const ConvergencePlot& plot);
    void takeRacePreset(int preset);
    QString integrandName() const;

    // Handlers, named after control and event: Form_Load draws the empty canvas and fills the
    // integrand list; Command1_Click is Graph, Command2_Click End, Command3_Click Help,
    // Command4_Click to Command6_Click run the three methods; Command6_MouseMove shows the Monte
    // Carlo hint; List1_Click chooses an integrand; Picture1_MouseDown sets the box height;
    // Text1_KeyPress and Text2_KeyPress take the limits on Enter.
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
    void showRun(MethodRun run);

    Model model_;                // the program's whole state: fnum, x1, x2, ymax, ...
    ErrorReporter reportError_;  // shows a fault: a message box, or a test's recorder
    // The run the results list shows and the last Monte Carlo run, each with what it teaches.
    std::optional<AnalysedRun> shown_;
    std::optional<AnalysedRun> lastMonteCarlo_;
    // The integrand whose curve Graph drew last; nothing before the first Graph.
    std::optional<IntegrandDescriptor> graphed_;
    // The Compare window's work off the GUI thread.
    CompareJobs* compareJobs_ = nullptr;
    // The latest run of each method the Compare window ran, for the convergence view.
    std::vector<AnalysedRun> compared_;

    // The learning aids' actions, each made once and put in the menus that offer it.
    QAction* copyTableAction_ = nullptr;
    QAction* convergenceAction_ = nullptr;
    QAction* methodViewAction_ = nullptr;
    QAction* copyPictureAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* ownIntegrandAction_ = nullptr;
    QAction* handbookAction_ = nullptr;
    QAction* compareAction_ = nullptr;
    QAction* dimensionsAction_ = nullptr;
    QAction* boxHeightAction_ = nullptr;
    QAction* printAction_ = nullptr;
    // The integrands typed in this session, the latest first; never written anywhere.
    QStringList typedHistory_;
    // The typed integrand in use or last used: its own entry after the five in the list.
    std::shared_ptr<const TypedExpression> typedIntegrand_;

    // Notes over the canvas's foot, where an input would otherwise mislead without a word: how
    // the limit boxes' texts read, and what the last action should tell (limits not confirmed
    // with Enter, a box that cannot hold the area, a graph with gaps).
    QLabel* note_ = nullptr;
    QString actionNote_;
    // The limit boxes' texts when Enter last took them.
    QString confirmedLower_;
    QString confirmedUpper_;
    void updateNotes();
    void noteBeforeRun(Method method);
    void askForBoxHeight();
    void updateBoxHeight();
    void updateTitle();
    void retranslate();

    // The controls, under the window's own names (the layout table in form1_layout.h places
    // them).
    QPushButton* Command1 = nullptr;   // "Graph": clears the canvas and plots the integrand
    QPushButton* Command2 = nullptr;   // "End": ends the program
    QPushButton* Command3 = nullptr;   // "Help": shows the help text in Text4
    QPushButton* Command4 = nullptr;   // "Zelbrin": the composite parabolic rule
    QPushButton* Command5 = nullptr;   // "Gauss": Gauss-Legendre quadrature
    QPushButton* Command6 = nullptr;   // "MonteCarlo": hit-or-miss Monte Carlo
    QListWidget* List1 = nullptr;      // the integrand list: choosing a row sets fnum
    QListWidget* List2 = nullptr;      // the results: one row per refinement step
    QLineEdit* Text1 = nullptr;        // the lower limit, taken on Enter
    QLineEdit* Text2 = nullptr;        // the upper limit, taken on Enter, then the shading
    QLineEdit* Text3 = nullptr;        // the summary, "S = " and the last estimate
    QPlainTextEdit* Text4 = nullptr;   // the help box, inside the canvas, hidden until Help
    QLabel* Label1 = nullptr;          // "Initial =", beside the lower limit
    QLabel* Label2 = nullptr;          // "final =", beside the upper limit
    QLabel* Label3 = nullptr;          // " n      S", the heading of the results
    QLabel* Label4 = nullptr;          // the title "Numerical  Integration"
    QLabel* Label5 = nullptr;          // the Monte Carlo hint, inside the canvas
    CanvasWidget* Picture1 = nullptr;  // the plot canvas
};

}  // namespace integral
