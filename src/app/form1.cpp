// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"
#include "app/utf8.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/compare_jobs.h"
#include "app/compare_window.h"
#include "app/convergence_view.h"
#include "app/expression_dialog.h"
#include "app/fault_message.h"
#include "app/fonts.h"
#include "app/form1_layout.h"
#include "app/handbook_view.h"
#include "app/language.h"
#include "app/learning_aids.h"
#include "app/many_dimensions_window.h"
#include "app/method_view.h"
#include "app/printing.h"
#include "app/text_only_box.h"
#include "app/tooltip_placement.h"
#include "canvas/canvas_widget.h"
#include "canvas/plot_operations.h"
#include "integral_version.h"
#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"
#include "model/contrast.h"
#include "model/race.h"
#include "model/row_picture.h"
#include "model/window_geometry.h"
#include "model/window_notes.h"
#include "runtime/short_number.h"

namespace integral {

namespace {

constexpr int kEnter = 13;

QColor colour(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QRect pixels(const layout::ControlRow& row) {
    constexpr int k = layout::kTwipsPerPixel;
    return {row.left / k, row.top / k, row.width / k, row.height / k};
}

// Only the window role: the window's children inherit its palette, and the button role would
// tint the buttons and scroll bars that the layout leaves in the toolkit's default colours.
void setBackground(QWidget* widget, const QColor& back) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A button painted in its own back colour: a flat face and a plain border, where the style
// would lay its gradient over the colour. A darker face while pressed, a black border while
// it has the focus; no focus outline, which the style would draw as a tint over the face.
// Focus reached from the keyboard shows plainly: a thick border, for one who cannot see
// where a click would have put it.
void paintInOwnColour(QPushButton* button, const QColor& back) {
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                                         "#808080; color: black; outline: none; }"
                                         "QPushButton:focus { border: 1px solid #000000; }"
                                         "QPushButton[keyboardFocus=\"true\"]:focus { border: "
                                         "3px solid #000000; }"
                                         "QPushButton:pressed { background-color: %2; }")
                              .arg(back.name(), back.darker(115).name()));
}

// Marks a control whose focus came from the keyboard, for its style sheet to show.
class KeyboardFocusMark : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr ||
            (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)) {
            return false;
        }
        const bool fromKeys = event->type() == QEvent::FocusIn &&
                              focusFromKeyboard(static_cast<QFocusEvent*>(event)->reason());
        if (widget->property("keyboardFocus").toBool() != fromKeys) {
            widget->setProperty("keyboardFocus", fromKeys);
            widget->style()->unpolish(widget);
            widget->style()->polish(widget);
            widget->update();
        }
        return false;
    }
};

QWidget* createControl(const layout::ControlRow& row, QWidget* parent) {
    using layout::Kind;
    QRect geometry = pixels(row);
    if (qobject_cast<CanvasWidget*>(parent) != nullptr) {
        // The canvas's children stand in its client area, inside the border.
        geometry.translate(CanvasWidget::kBorder, CanvasWidget::kBorder);
    }
    QWidget* control = nullptr;
    switch (row.kind) {
        case Kind::PushButton: {
            auto* button = new QPushButton(windowText(row.text), parent);
            if (row.back) {
                paintInOwnColour(button, colour(*row.back));
            }
            control = button;
            break;
        }
        case Kind::ListBox: {
            auto* list = new QListWidget(parent);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // A row wider than the list is cut at its edge, never shortened with an ellipsis.
            list->setTextElideMode(Qt::ElideNone);
            control = list;
            break;
        }
        case Kind::TextBox:
            control = new QLineEdit(text(row.text), parent);
            break;
        case Kind::HelpBox: {
            auto* box = new TextOnlyBox(text(row.text), parent);
            box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            box->setTabChangesFocus(true);  // a text box passes Tab on, multi-line or not
            control = box;
            break;
        }
        case Kind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setText(windowText(row.text));
            label->setFocusPolicy(Qt::NoFocus);
            if (row.border) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
                label->setLineWidth(1);
            }
            if (row.centred) {
                label->setAlignment(Qt::AlignCenter);
            }
            control = label;
            break;
        }
        case Kind::Canvas:
            control = new CanvasWidget(geometry.width(), parent);
            geometry.setHeight(geometry.width());
            break;
    }
    control->setObjectName(text(row.name));
    control->setGeometry(geometry);
    // The help box is hidden until Help is pressed, and its document is costly to lay out in a
    // font of its own: it gets its font when it is first shown.
    if (row.kind != Kind::HelpBox) {
        control->setFont(
            windowFont(row.font.face, row.font.points, row.font.bold, row.font.italic));
    }
    if (row.back && row.kind != Kind::PushButton) {
        setBackground(control, colour(*row.back));
        // A text on a back colour of its own keeps the black it has in a light theme, which a
        // dark theme would turn white on the same light pink, green or white.
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        control->setPalette(palette);
    }
    if (row.fore) {
        QPalette palette = control->palette();
        // On the light box the window was drawn for, the colour as it is; a dark theme's box
        // gets the nearest colour that still reads on it.
        const QColor base = palette.color(QPalette::Base);
        const std::uint32_t fore =
            base.lightnessF() < 0.5 ? readableOn(*row.fore, base.rgb() & 0xFFFFFFu) : *row.fore;
        palette.setColor(QPalette::Text, colour(fore));
        control->setPalette(palette);
    }
    if (row.autoSize) {
        control->adjustSize();
    }
    if (!row.visible) {
        control->hide();
    }
    return control;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    // One box per fault, titled with the window's caption; the window goes on afterwards.
    reportError_ = [this](const FaultReport& report) {
        QMessageBox::critical(this, windowText(layout::kCaption), faultMessage(report));
    };
    setupWindow();
    setupControls();
    setupTabOrder();
    setupAccessibility();
    setupConnections();
    setupLearningAids();
    new TooltipPlacement(this, Picture1);
    Form_Load();
    Picture1->setFocus();
}

// The Compare window's work is stopped, and waited for, before what it reports to goes away.
Form1::~Form1() {
    delete compareJobs_;
}

void Form1::setErrorReporter(ErrorReporter reporter) {
    reportError_ = std::move(reporter);
}

void Form1::setupWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowText(layout::kCaption));
    resize(layout::kWindowWidth / layout::kTwipsPerPixel,
           layout::kWindowHeight / layout::kTwipsPerPixel);
    setBackground(this, colour(layout::kWindowBack));
}

void Form1::setupControls() {
    std::vector<QWidget*> created;
    for (const layout::ControlRow& row : layout::kControls) {
        QWidget* parent = row.parent.empty() ? this : findChild<QWidget*>(text(row.parent));
        created.push_back(createControl(row, parent));
    }
    // A control created earlier lies over those created later (Text2 over the edge of Label2).
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        (*it)->raise();
    }
    const auto find = [this]<typename T>(T*& member, const char* name) {
        member = findChild<T*>(QString::fromLatin1(name));
    };
    find(Command1, "Command1");
    find(Command2, "Command2");
    find(Command3, "Command3");
    find(Command4, "Command4");
    find(Command5, "Command5");
    find(Command6, "Command6");
    find(List1, "List1");
    find(List2, "List2");
    find(Text1, "Text1");
    find(Text2, "Text2");
    find(Text3, "Text3");
    find(Text4, "Text4");
    find(Label1, "Label1");
    find(Label2, "Label2");
    find(Label3, "Label3");
    find(Label4, "Label4");
    find(Label5, "Label5");
    find(Picture1, "Picture1");
}

// By tab index; labels never take the focus.
void Form1::setupTabOrder() {
    std::vector<const layout::ControlRow*> order;
    for (const layout::ControlRow& row : layout::kControls) {
        if (row.kind != layout::Kind::Label) {
            order.push_back(&row);
        }
    }
    std::sort(order.begin(), order.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(findChild<QWidget*>(text(order[i]->name)),
                    findChild<QWidget*>(text(order[i + 1]->name)));
    }
}

void Form1::setupAccessibility() {
    for (const layout::AccessibleText& entry : layout::kAccessibleTexts) {
        QWidget* control = entry.control.empty() ? this : findChild<QWidget*>(text(entry.control));
        control->setAccessibleName(text(entry.name));
        control->setAccessibleDescription(text(entry.description));
        if (!entry.control.empty()) {
            control->setToolTip(text(entry.tooltip.empty() ? entry.description : entry.tooltip));
        }
    }
}

// Copying, the convergence view and the pictures: reached from context menus and shortcuts, so
// nothing of the fixed window changes.
void Form1::setupLearningAids() {
    // Each action once, with its shortcut, in every menu that offers it.
    const auto action = [this](const QString& name, const QKeySequence& keys, auto slot) {
        auto* made = new QAction(name, this);
        made->setShortcut(keys);
        made->setShortcutContext(Qt::WindowShortcut);
        connect(made, &QAction::triggered, this, slot);
        addAction(made);
        return made;
    };
    // Each entry with a letter of its own in every menu it stands in.
    copyTableAction_ = action(tr("Copy &table"), QKeySequence(), &Form1::copyTable);
    convergenceAction_ = action(tr("Show &convergence…"), QKeySequence(Qt::CTRL | Qt::Key_K),
                                &Form1::showConvergence);
    methodViewAction_ = action(tr("Show how this row was &made…"),
                               QKeySequence(Qt::CTRL | Qt::Key_M), &Form1::showMethodView);
    copyPictureAction_ = action(tr("Copy &picture"), QKeySequence(), &Form1::copyPicture);
    aboutAction_ = action(tr("&About Integral"), QKeySequence(), &Form1::showAbout);
    ownIntegrandAction_ = action(tr("Your &own integrand…"), QKeySequence(Qt::CTRL | Qt::Key_I),
                                 &Form1::askForOwnIntegrand);
    handbookAction_ = action(tr("&Handbook…"), QKeySequence(Qt::Key_F1), &Form1::showHandbook);
    compareAction_ = action(tr("Compare the m&ethods…"), QKeySequence(Qt::CTRL | Qt::Key_E),
                            &Form1::showCompare);
    dimensionsAction_ = action(tr("Many &dimensions…"), QKeySequence(Qt::CTRL | Qt::Key_D),
                               &Form1::showManyDimensions);
    boxHeightAction_ =
        action(tr("Box &height…"), QKeySequence(Qt::CTRL | Qt::Key_B), &Form1::askForBoxHeight);
    printAction_ = action(tr("P&rint…"), QKeySequence::Print, [this] {
        askAndPrint(this, QStringLiteral("Integral"),
                    [this](QPrinter& printer) { printResults(printer); });
    });
    // Ctrl+Q ends the program as End does.
    action(tr("End"), QKeySequence(Qt::CTRL | Qt::Key_Q), &Form1::Command2_Click);
    // Ctrl+C copies the table only where the results list has the focus: elsewhere it copies
    // the text of a box, as it always did.
    copyTableAction_->setShortcut(QKeySequence::Copy);
    copyTableAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    removeAction(copyTableAction_);
    List2->addAction(copyTableAction_);

    List2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List2, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        copyTableAction_->setEnabled(shown_.has_value());
        methodViewAction_->setEnabled(shown_.has_value() && List2->count() > 0);
        QMenu menu(this);
        menu.addActions({copyTableAction_, printAction_, convergenceAction_, methodViewAction_,
                         compareAction_, dimensionsAction_});
        menu.exec(List2->viewport()->mapToGlobal(at));
        methodViewAction_->setEnabled(true);
    });
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(ownIntegrandAction_);
        menu.exec(List1->viewport()->mapToGlobal(at));
    });
    connect(Picture1, &CanvasWidget::menuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addActions({boxHeightAction_, copyPictureAction_, printAction_});
        menu.exec(at);
    });

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("InputNote"));
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    note_->setFrameStyle(QFrame::Box | QFrame::Plain);
    note_->setMargin(3);
    note_->setAutoFillBackground(true);
    QPalette palette = note_->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::WindowText, Qt::black);
    note_->setPalette(palette);
    note_->hide();
    for (QLineEdit* box : {Text1, Text2}) {
        connect(box, &QLineEdit::textChanged, this, [this] {
            actionNote_.clear();
            updateNotes();
        });
    }
    updateNotes();
    updateBoxHeight();
    // A double click or Enter on a row shows how it was made; the view follows the current row.
    connect(List2, &QListWidget::itemActivated, this, &Form1::showMethodView);
    connect(List2, &QListWidget::currentRowChanged, this, [this] {
        if (auto* view = methodView(); view != nullptr && view->isVisible()) {
            showMethodView();
        }
    });
}

MethodView* Form1::methodView() const {
    return findChild<MethodView*>(QStringLiteral("MethodView"));
}

void Form1::showMethodView() {
    MethodView* view = methodView();
    if (view == nullptr) {
        view = new MethodView(this);
        placeBesideWindow(view);
        connect(view, &MethodView::stepRequested, this, [this](int delta) {
            if (List2->count() > 0) {
                List2->setCurrentRow(
                    std::clamp(List2->currentRow() + delta, 0, List2->count() - 1));
            }
        });
    }
    showPicture(shown_ && List2->count() > 0 ? &*shown_ : nullptr,
                std::max(List2->currentRow(), 0));
}

void Form1::showPicture(const AnalysedRun* run, int row) {
    MethodView* view = methodView();
    if (view == nullptr) {
        showMethodView();
        return;
    }
    std::optional<RowPicture> picture;
    if (run != nullptr) {
        picture = pictureOfRow(run->run, static_cast<std::size_t>(row), run->analysis);
    }
    view->display(std::move(picture), integrandName());
}

void Form1::showCompare() {
    auto* window = findChild<CompareWindow*>(QStringLiteral("Compare"));
    if (window == nullptr) {
        window = new CompareWindow(this);
        placeBesideWindow(window);
        if (compareJobs_ == nullptr) {
            compareJobs_ = new CompareJobs(this);
            connect(compareJobs_, &CompareJobs::methodRan, this, &Form1::showCompared);
            connect(compareJobs_, &CompareJobs::plotted, this, &Form1::showRacePlot);
        }
        CompareJobs* jobs = compareJobs_;
        // What the Compare window asks for runs on a copy of the model: the main window's
        // state, its generator included, stays as it was.
        connect(window, &CompareWindow::runRequested, jobs,
                [this, jobs](Method method) { jobs->runMethod(model_, method); });
        connect(window, &CompareWindow::raceRequested, jobs,
                [this, jobs](std::int64_t budget, const std::vector<Method>& methods,
                             std::uint64_t seed) { jobs->runRace(model_, budget, methods, seed); });
        connect(window, &CompareWindow::racePlotRequested, jobs,
                [this, jobs](const std::vector<Method>& methods, std::uint64_t seed) {
                    jobs->runClaimsPlot(model_, methods, seed);
                });
        connect(window, &CompareWindow::cancelRequested, jobs, &CompareJobs::stop);
        // Closing the window stops its work.
        connect(window, &QObject::destroyed, jobs, &CompareJobs::stop);
        connect(jobs, &CompareJobs::busyChanged, window, &CompareWindow::setRunning);
        connect(jobs, &CompareJobs::progressed, window, &CompareWindow::showRaceProgress);
        connect(jobs, &CompareJobs::raced, window, &CompareWindow::displayRace);
        connect(jobs, &CompareJobs::plotStopped, window, &CompareWindow::plotStopped);
        connect(window, &CompareWindow::rowActivated, this, &Form1::showComparedRow);
        connect(window, &CompareWindow::presetRequested, this, &Form1::takeRacePreset);
        connect(this, &Form1::inputsChanged, window,
                [this, window] { window->followInputs(model_); });
        window->followInputs(model_);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

// A window of its own inputs: nothing of the main window's state goes in or comes out.
void Form1::showManyDimensions() {
    auto* window = findChild<ManyDimensionsWindow*>(QStringLiteral("ManyDimensions"));
    if (window == nullptr) {
        window = new ManyDimensionsWindow(this);
        placeBesideWindow(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void Form1::showCompared(const AnalysedRun& run) {
    const Method method = run.run.method;
    std::erase_if(compared_, [method](const AnalysedRun& r) { return r.run.method == method; });
    compared_.push_back(run);
    if (auto* shown = findChild<CompareWindow*>(QStringLiteral("Compare"))) {
        shown->display(run, integrandName());
    }
    if (auto* view = findChild<ConvergenceView*>(QStringLiteral("Convergence"));
        view != nullptr && view->isVisible()) {
        view->display(convergencePlot(model_, lastMonteCarlo_, compared_));
    }
    reported(run.run.fault);
}

// As a student would: the integrand typed, the limits entered with Enter, then the race.
void Form1::takeRacePreset(int preset) {
    const RacePreset& chosen = kRacePresets[preset];
    auto parsed = TypedExpression::parse(chosen.function);
    if (auto* expression = std::get_if<std::shared_ptr<const TypedExpression>>(&parsed)) {
        useOwnIntegrand(*expression);
    }
    Text1->setText(QString::fromStdString(shortNumber(chosen.lower, 17)));
    Text1_KeyPress(kEnter);
    Text2->setText(QString::fromStdString(shortNumber(chosen.upper, 17)));
    Text2_KeyPress(kEnter);
    // The box is part of the example: hit-or-miss races in it, or says it has none.
    model_.setHeight(chosen.ymax);
    updateBoxHeight();
    if (auto* window = findChild<CompareWindow*>(QStringLiteral("Compare")); window != nullptr) {
        window->startRace();
    }
}

void Form1::showRacePlot(const ConvergencePlot& plot) {
    if (findChild<CompareWindow*>(QStringLiteral("Compare")) == nullptr) {
        return;  // asked for by a window closed since
    }
    auto* view = findChild<ConvergenceView*>(QStringLiteral("RacePlot"));
    if (view == nullptr) {
        view = new ConvergenceView(this);
        view->setObjectName(QStringLiteral("RacePlot"));
        view->setWindowTitle(tr("Claimed and true errors"));
        placeBesideWindow(view, true);
    }
    view->display(plot);
}

void Form1::showComparedRow(int row) {
    auto* window = findChild<CompareWindow*>(QStringLiteral("Compare"));
    if (window == nullptr || !window->shown() || row < 0) {
        return;
    }
    if (methodView() == nullptr) {
        auto* view = new MethodView(this);
        placeBesideWindow(view);
    }
    showPicture(&*window->shown(), row);
}

QString Form1::integrandName() const {
    const IntegrandDescriptor& integrand = model_.integrand();
    return integrand.chosen() ? QString::fromStdString(integrand.name())
                              : tr("no integrand chosen");
}

// The dialog is made when it is asked for, not with the window.
void Form1::askForOwnIntegrand() {
    ExpressionDialog dialog(typedHistory_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.expression()) {
        useOwnIntegrand(dialog.expression());
    }
}

void Form1::useOwnIntegrand(std::shared_ptr<const TypedExpression> expression) {
    const QString typed = QString::fromStdString(expression->text());
    typedHistory_.removeAll(typed);
    typedHistory_.prepend(typed);
    typedIntegrand_ = expression;
    model_.chooseExpression(std::move(expression));
    // Its own entry after the five, selected: the list shows which function is in use.
    const int row = static_cast<int>(kIntegrandLabels.size());
    if (List1->count() <= row) {
        List1->addItem(QString());
    }
    List1->item(row)->setText(integrandName());
    {
        const QSignalBlocker quiet(List1);
        List1->setCurrentRow(row);
    }
    List1->scrollToItem(List1->item(row));
    List1->setToolTip(tr("Your own integrand is chosen: %1. Choose a row to take one "
                         "of the five again; right-click or Ctrl+I to type another.")
                          .arg(integrandName()));
    updateTitle();
    // Until Graph draws it, the canvas and the results still show the integrand before.
    const IntegrandDescriptor& chosen = model_.integrand();
    std::optional<std::string> curveOf;
    std::optional<std::string> rowsOf;
    if (graphed_ && graphed_->chosen() && !graphed_->same(chosen)) {
        curveOf = graphed_->name();
    }
    if (shown_ && List2->count() > 0 && !shown_->run.integrand.same(chosen)) {
        rowsOf = shown_->run.integrand.name();
    }
    // Drawn already, and nothing of another shown: nothing to tell.
    const bool drawn = graphed_ && graphed_->same(chosen);
    actionNote_ =
        drawn && !rowsOf ? QString() : text(chosenNotDrawnNote(chosen.name(), curveOf, rowsOf));
    updateNotes();
}

// The notes stand over the canvas's foot, as wide as the canvas, and only while there is
// something to tell: the window as it opens is the window it always was.
void Form1::updateNotes() {
    emit inputsChanged();
    QStringList lines;
    for (const auto& [box, name] :
         {std::pair{Text1, tr("Lower limit")}, std::pair{Text2, tr("Upper limit")}}) {
        // Only what the user typed: "x1" and "x2" as the window opens are no limits anyone
        // typed, and the fixed picture at start has nothing over the canvas.
        if (!box->isModified()) {
            continue;
        }
        if (const auto note = limitReadingNote(box->text().toStdString())) {
            lines << name + QStringLiteral(" ") + text(*note);
        }
    }
    if (!actionNote_.isEmpty()) {
        lines << actionNote_;
    }
    const QString inUse = text(limitsInUse(model_.x1(), model_.x2()));
    Text1->setToolTip(text(layout::descriptionOf("Text1")) + QStringLiteral("; ") + inUse);
    Text2->setToolTip(text(layout::descriptionOf("Text2")) + QStringLiteral("; ") + inUse);
    if (lines.isEmpty()) {
        note_->hide();
        return;
    }
    note_->setText(lines.join(QLatin1Char('\n')));
    const QRect canvas = Picture1->geometry();
    const int width = canvas.width() - 16;
    note_->setFixedWidth(width);
    const int height = note_->heightForWidth(width);
    const int bottom = std::min(canvas.bottom(), rect().bottom()) - 8;
    note_->setGeometry(canvas.left() + 8, bottom - height, width, height);
    note_->show();
    note_->raise();
}

void Form1::noteBeforeRun(Method method) {
    QStringList said;
    const std::string lower = Text1->text().toStdString();
    const std::string upper = Text2->text().toStdString();
    if (const auto note = unconfirmedLimitsNote({lower, Text1->text() == confirmedLower_},
                                                {upper, Text2->text() == confirmedUpper_},
                                                model_.x1(), model_.x2())) {
        said << text(*note);
    }
    if (method == Method::MonteCarlo) {
        if (const auto note = monteCarloBoxNote(model_.ymax())) {
            said << text(*note);
        }
    }
    actionNote_ = said.join(QLatin1Char('\n'));
    updateNotes();
}

void Form1::askForBoxHeight() {
    QString typed = model_.ymax().isEmpty()
                        ? QString()
                        : QString::fromStdString(shortNumber(model_.ymax().toDouble(), 7));
    for (;;) {
        bool accepted = false;
        typed = QInputDialog::getText(
            this, tr("Box height"),
            tr("The height of the Monte Carlo box, as a number (a click on the "
               "canvas sets it too):"),
            QLineEdit::Normal, typed, &accepted);
        if (!accepted) {
            return;
        }
        const auto read = readBoxHeight(typed.toStdString());
        if (const auto* height = std::get_if<float>(&read)) {
            Picture1_MouseDown(*height);
            return;
        }
        QMessageBox::warning(this, tr("Box height"), text(std::get<std::string>(read)));
    }
}

// The height is said where it is asked about: the canvas's and Monte Carlo's tooltips.
void Form1::updateBoxHeight() {
    emit inputsChanged();
    const QString height = text(boxHeightText(model_.ymax()));
    Picture1->setToolTip(text(layout::descriptionOf("Picture1")) +
                         tr(" (or right-click: Box height…); ") + height);
    Command6->setToolTip(text(layout::descriptionOf("Command6")) + QStringLiteral("; ") + height);
}

// The caption as it always was, with the typed integrand after it while one is in use.
void Form1::updateTitle() {
    const IntegrandDescriptor& integrand = model_.integrand();
    if (integrand.expression() == nullptr) {
        setWindowTitle(windowText(layout::kCaption));
        return;
    }
    setWindowTitle(windowText(layout::kCaption).trimmed() + QStringLiteral(" — ") +
                   integrandName());
}

void Form1::copyTable() {
    if (shown_) {
        QApplication::clipboard()->setText(
            QString::fromStdString(tableCaption(shown_->run) + "\n" +
                                   tableAsTsv(shown_->analysis, shown_->run.method, true)));
    }
}

// The table as the clipboard gets it, in a fixed-width font, then the canvas below it (or on
// the next page where less than half the page is left).
void Form1::printResults(QPrinter& printer) const {
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(10);
    painter.setFont(font);
    const double line = painter.fontMetrics().lineSpacing();
    QStringList lines;
    if (shown_) {
        lines = QString::fromStdString(tableCaption(shown_->run) + "\n" +
                                       tableAsTsv(shown_->analysis, shown_->run.method, false))
                    .split(QLatin1Char('\n'));
        if (shown_->run.summary) {
            lines << QString() << QString::fromStdString(*shown_->run.summary);
        }
    } else {
        lines << tr("No rows yet: %1").arg(integrandName());
    }
    double y = 0;
    for (const QString& text : lines) {
        if (y + line > page.height()) {
            printer.newPage();
            y = 0;
        }
        painter.drawText(QPointF(0, y + painter.fontMetrics().ascent()), text);
        y += line;
    }
    const QImage& canvas = Picture1->retainedImage();
    y += line;
    if (page.height() - y < page.height() / 2) {
        printer.newPage();
        y = 0;
    }
    const double side = std::min(page.width(), page.height() - y);
    painter.drawImage(QRectF(0, y, side, side * canvas.height() / canvas.width()), canvas);
}

void Form1::copyPicture() {
    QApplication::clipboard()->setImage(Picture1->retainedImage());
}

// An extra window opens beside the main window where the screen has room, as large as the
// screen allows; where it has none, over the canvas, leaving the buttons and results free.
void Form1::placeBesideWindow(QWidget* extra, bool besideTheOthers) const {
    const auto box = [](const QRect& r) { return ScreenBox{r.x(), r.y(), r.width(), r.height()}; };
    const QRect available = screen()->availableGeometry();
    const int keepFree = mapToGlobal(QPoint(Picture1->geometry().right() + 1, 0)).x();
    std::vector<ScreenBox> others;
    for (const QWidget* other : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != extra && other->isWindow() && other->isVisible()) {
            others.push_back(box(other->frameGeometry()));
        }
    }
    const ScreenBox placed = besideTheOthers
                                 ? placeBesideAll(box(frameGeometry()), others, box(available),
                                                  extra->width(), extra->height(), keepFree)
                                 : placeBeside(box(frameGeometry()), box(available), extra->width(),
                                               extra->height(), keepFree);
    extra->resize(placed.width, placed.height);
    extra->move(placed.x, placed.y);
}

void Form1::showHandbook() {
    auto* view = findChild<HandbookView*>(QStringLiteral("Handbook"));
    if (view == nullptr) {
        view = new HandbookView(this);
        placeBesideWindow(view);
    }
    view->show();
    view->raise();
    view->activateWindow();
}

void Form1::showConvergence() {
    auto* view = findChild<ConvergenceView*>(QStringLiteral("Convergence"));
    if (view == nullptr) {
        view = new ConvergenceView(this);
        placeBesideWindow(view);
    }
    view->display(convergencePlot(model_, lastMonteCarlo_, compared_));
}

void Form1::setupConnections() {
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    // Selection, not the current row: the list makes its first row current when it merely
    // gains the focus, and passing through with Tab must not choose an integrand.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List1->selectedItems().isEmpty()) {
            List1_Click();
        }
    });
    connect(Picture1, &CanvasWidget::mousePressed, this, &Form1::Picture1_MouseDown);
    Command6->setMouseTracking(true);
    auto* focusMark = new KeyboardFocusMark(this);
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5, Command6}) {
        button->installEventFilter(this);
        button->installEventFilter(focusMark);
    }
    // Shift+F10 opens the context menu of whatever has the focus, in every window.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    menuKey->setContext(Qt::ApplicationShortcut);
    connect(menuKey, &QShortcut::activated, this, [] {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr) {
            focused = QApplication::activeWindow();
        }
        if (focused != nullptr) {
            const QPoint at = focused->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, at, focused->mapToGlobal(at));
            QApplication::sendEvent(focused, &event);
        }
    });
    // The text boxes take no shortcut of the window for their own editing, nor Alt+letter.
    for (QWidget* box : std::initializer_list<QWidget*>{Text1, Text2, Text3, Text4}) {
        box->installEventFilter(this);
    }
    // A limit box holds 32 767 characters; a paste beyond that is cut, and the user is told.
    for (QLineEdit* box : {Text1, Text2}) {
        connect(box, &QLineEdit::inputRejected, this, [box] {
            if (box->text().size() >= box->maxLength()) {
                showNotice(box, tr("A limit box holds at most %L1 characters; the "
                                   "rest was left out.")
                                    .arg(box->maxLength()));
            }
        });
    }
}

// A shortcut of the window is the window's wherever the caret is: a line edit on X11 would
// take Ctrl+E (end of line), Ctrl+K (delete to the end) and others for itself. Alt with a
// letter types nothing into a box, as no number holds it; it reaches the window instead.
bool Form1::keptFromTextBox(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* action : actions()) {
        for (const QKeySequence& keys : action->shortcuts()) {
            if (keys.matches(pressed) == QKeySequence::ExactMatch) {
                return true;
            }
        }
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::AltModifier && key.text().size() == 1 &&
           key.text().front().isLetterOrNumber();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const bool textBox =
        watched == Text1 || watched == Text2 || watched == Text3 || watched == Text4;
    if (textBox &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        keptFromTextBox(*static_cast<QKeyEvent*>(event))) {
        // Left unaccepted, the override lets the shortcut run; the key itself goes no further.
        event->ignore();
        return true;
    }
    if (watched == Command6 && event->type() == QEvent::MouseMove) {
        Command6_MouseMove();
    } else if (auto* button = qobject_cast<QPushButton*>(watched);
               button != nullptr && event->type() == QEvent::KeyPress) {
        // Enter on a focused button presses it, as Space does.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->animateClick();
            return true;
        }
    } else if ((watched == Text1 || watched == Text2) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyAscii = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyAscii = kEnter;
        } else if (!key->text().isEmpty()) {
            keyAscii = key->text().at(0).unicode();
        }
        if (keyAscii != 0) {
            if (watched == Text1) {
                Text1_KeyPress(keyAscii);
            } else {
                Text2_KeyPress(keyAscii);
            }
        }
    }
    return false;  // the key still reaches the box, Enter included
}

void Form1::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addActions({copyPictureAction_, printAction_, convergenceAction_, compareAction_,
                     dimensionsAction_, ownIntegrandAction_});
    menu.addSeparator();
    // The window's own texts as they are, or in English; remembered for the next start.
    QMenu* languages = menu.addMenu(tr("&Language"));
    for (const auto& [name, language] :
         {std::pair{tr("&Original texts"), QString()},
          std::pair{tr("&English"), QString::fromLatin1(kEnglish)}}) {
        QAction* choice = languages->addAction(name, this, [language] {
            if (useLanguage(language)) {
                saveLanguage(language);
            }
        });
        choice->setCheckable(true);
        choice->setChecked(languageInUse() == language);
    }
    menu.addActions({handbookAction_, aboutAction_});
    menu.exec(event->globalPos());
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    QWidget::changeEvent(event);
}

// The window's own texts in the language now in use; what the user typed stays.
void Form1::retranslate() {
    for (const layout::ControlRow& row : layout::kControls) {
        QWidget* control = findChild<QWidget*>(text(row.name));
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            button->setText(windowText(row.text));
        } else if (auto* label = qobject_cast<QLabel*>(control);
                   label != nullptr && label != Label5) {
            label->setText(windowText(row.text));
            if (row.autoSize) {
                label->adjustSize();
            }
        }
    }
    if (Label5->isVisible()) {
        Command6_MouseMove();
    }
    if (Text4->isVisible()) {
        Text4->setPlainText(windowText(layout::kHelp));
    }
    updateTitle();
}

void Form1::showAbout() {
    QMessageBox::about(this, tr("About Integral"),
                       tr("<p><b>Integral %1</b></p>"
                          "<p>A program that teaches numerical integration: the parabolic rule, "
                          "Gauss-Legendre and Monte Carlo, one row per refinement step.</p>"
                          "<p>Licence: GNU General Public License, version 3 or later "
                          "(GPL-3.0-or-later).</p>")
                           .arg(text(kVersion)));
}

bool Form1::reported(const Outcome& outcome) {
    if (outcome) {
        reportError_(*outcome);
    }
    return outcome.has_value();
}

void Form1::Form_Load() {
    drawStartupCanvas(*Picture1);
    for (std::string_view label : kIntegrandLabels) {
        List1->addItem(text(label));
    }
}

Outcome Form1::ShadeArea() {
    return model_.ShadeArea(*Picture1);
}

Outcome Form1::DrawBox() {
    return model_.DrawBox(*Picture1);
}

void Form1::Command1_Click() {
    CurveGaps gaps;
    const Outcome graphed = model_.Graph(*Picture1, &gaps);
    graphed_ = model_.integrand();
    actionNote_.clear();  // whatever Graph met, the note on the integrand before is done with
    updateNotes();
    // The rows and the summary of what was shown before go, whatever Graph met.
    List2->clear();
    shown_.reset();
    Text3->setText(QString());
    Text3->setToolTip(text(layout::kSummaryTooltip));
    if (reported(graphed)) {
        return;
    }
    Text1->setText(QString());
    Text1->setFocus();
    Text2->setText(QString());
    const auto note = curveGapsNote(gaps);
    actionNote_ = note ? text(*note) : QString();
    updateNotes();
}

void Form1::Command2_Click() {
    close();
}

void Form1::Command3_Click() {
    if (!Text4->testAttribute(Qt::WA_SetFont)) {
        const layout::ControlFont& font = layout::controlNamed("Text4").font;
        Text4->setFont(windowFont(font.face, font.points, font.bold, font.italic));
    }
    Text4->show();
    Text4->setPlainText(windowText(layout::kHelp));
}

void Form1::showRun(MethodRun run) {
    shown_ = analysed(std::move(run));
    const auto& [shownRun, analysis] = *shown_;
    List2->clear();
    for (std::size_t i = 0; i < shownRun.rows.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(shownRun.rows[i]));
        item->setToolTip(rowTooltip(shownRun, analysis, i));
        List2->addItem(item);
    }
    if (shownRun.summary) {
        Text3->setText(QString::fromStdString(*shownRun.summary));
        Text3->setCursorPosition(0);  // a text longer than the box shows its start
        Text3->setToolTip(summaryTooltip(shownRun, analysis));
    }
    if (methodOf(shownRun.method).statistical()) {
        lastMonteCarlo_ = shown_;
    }
    // Open views follow the runs.
    if (auto* view = findChild<ConvergenceView*>(QStringLiteral("Convergence"));
        view != nullptr && view->isVisible()) {
        view->display(convergencePlot(model_, lastMonteCarlo_, compared_));
    }
    if (auto* view = methodView(); view != nullptr && view->isVisible()) {
        showMethodView();
    }
    // A copy: the message box lets other events in, which may show another run.
    const auto fault = shownRun.fault;
    reported(fault);
}

void Form1::Command4_Click() {
    noteBeforeRun(Method::Zelbrin);
    showRun(model_.run(Method::Zelbrin));
}

void Form1::Command5_Click() {
    noteBeforeRun(Method::Gauss);
    showRun(model_.run(Method::Gauss));
}

void Form1::Command6_Click() {
    noteBeforeRun(Method::MonteCarlo);
    showRun(model_.run(Method::MonteCarlo));
}

void Form1::Command6_MouseMove() {
    Label5->setText(windowText(layout::kMonteCarloHint));
    Label5->show();
    Label5->adjustSize();
}

void Form1::List1_Click() {
    const int row = List1->row(List1->selectedItems().constFirst());
    if (row >= static_cast<int>(kIntegrandLabels.size()) && typedIntegrand_) {
        useOwnIntegrand(typedIntegrand_);
        return;
    }
    model_.chooseIntegrand(row);
    List1->setToolTip(text(layout::kIntegrandListTooltip));
    updateTitle();
    actionNote_.clear();  // a note on the integrand before no longer applies
    updateNotes();
}

void Form1::Picture1_MouseDown(float y) {
    model_.setHeight(y);
    updateBoxHeight();
    reported(DrawBox());
}

void Form1::Text1_KeyPress(int keyAscii) {
    if (keyAscii != kEnter) {
        return;
    }
    if (reported(model_.enterLower(Text1->text().toStdString()))) {
        return;
    }
    confirmedLower_ = Text1->text();
    actionNote_.clear();
    updateNotes();
    // As when tabbing into it: the old text is selected, so typing replaces it.
    Text2->setFocus(Qt::TabFocusReason);
}

void Form1::Text2_KeyPress(int keyAscii) {
    if (keyAscii != kEnter) {
        return;
    }
    if (reported(model_.enterUpper(Text2->text().toStdString()))) {
        return;
    }
    confirmedUpper_ = Text2->text();
    actionNote_.clear();
    updateNotes();
    if (reported(ShadeArea())) {
        return;
    }
    Label5->hide();
}

}  // namespace integral
