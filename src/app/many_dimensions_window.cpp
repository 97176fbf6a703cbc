// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/many_dimensions_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <iterator>

#include "app/dimensions_views.h"
#include "app/utf8.h"
#include "model/contrast.h"
#include "model/race.h"
#include "runtime/short_number.h"

namespace integral {

namespace {

// The combo's last entry stands for the typed f.
constexpr int kTypedEntry = static_cast<int>(kFamilies.size());

constexpr std::uint32_t kWarningRed = 0xB02020;

// A colour of the program's own on a back colour of the theme's: as it is on a light one, moved
// just far enough towards white on a dark one to read.
QColor readable(std::uint32_t fore, const QColor& back) {
    return QColor::fromRgb(readableOn(fore, back.rgb() & 0xFFFFFFu));
}

// Its key (Alt and the letter underlined) takes the focus to `buddy`.
QLabel* labelFor(const QString& words, QWidget* buddy, QWidget* parent) {
    auto* made = new QLabel(words, parent);
    made->setBuddy(buddy);
    return made;
}

}  // namespace

ManyDimensionsWindow::ManyDimensionsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ManyDimensions"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Owned by the window: closing it stops the work and waits for it.
    jobs_ = new DimensionsJobs(this);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("DimensionsProgress"));
    progress_->hide();
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("DimensionsHeading"));
    heading_->setWordWrap(true);
    table_ = new QTableWidget(0, 7, this);
    table_->setObjectName(QStringLiteral("DimensionsTable"));
    table_->setHorizontalHeaderLabels({tr("method"), tr("size"), tr("error"), tr("own estimate"),
                                       tr("covers"), tr("evaluations"), tr("estimate")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumHeight(
        static_cast<int>(kCubatureMethods.size()) * table_->verticalHeader()->defaultSectionSize() +
        table_->horizontalHeader()->sizeHint().height() + 2 * table_->frameWidth() + 4);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("DimensionsSummary"));
    summary_->setWordWrap(true);

    pictures_ = new QTabWidget(this);
    pictures_->setObjectName(QStringLiteral("DimensionsPictures"));
    pictures_->tabBar()->setObjectName(QStringLiteral("DimensionsPictureTabs"));
    errorCost_ = new DimensionsPlotView(tr("Race (Ctrl+R) draws each method's error against "
                                           "the evaluations of f, at every size up to the "
                                           "budget."),
                                        pictures_);
    errorCost_->setObjectName(QStringLiteral("DimensionsErrorCost"));
    curse_ = new DimensionsPlotView(tr("Curse (Ctrl+U) finds, for d = 1 to 10, the evaluations "
                                       "each method needs for a relative error of 1e-3 on the "
                                       "family chosen."),
                                    pictures_);
    curse_->setObjectName(QStringLiteral("DimensionsCurse"));
    pictures_->addTab(errorCost_, tr("&Error against cost"));
    pictures_->addTab(curse_, tr("C&urse of dimensionality"));
    QWidget* pointsPage = makePointsPage();
    pictures_->addTab(pointsPage, tr("&Points"));
    // The points' page chosen by its key starts at its first control.
    connect(pictures_, &QTabWidget::currentChanged, this, [this, pointsPage](int) {
        if (pictures_->currentWidget() == pointsPage) {
            pointsMethod_->setFocus(Qt::TabFocusReason);
        }
    });

    // Everything in a scrolling area: on a small screen, or a large scale, the window is no
    // taller than the screen and scrolls instead of running off it.
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(makeInputs());
    layout->addWidget(message_);
    layout->addWidget(progress_);
    layout->addWidget(heading_);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addWidget(pictures_, 1);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("DimensionsScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own for Tab: each control it holds scrolls itself into sight, and the
    // pictures whole as soon as the focus reaches them, so that no key is needed to scroll.
    scroll->setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, scroll, [this, scroll](QWidget*, QWidget* now) {
        if (now != nullptr && pictures_->isAncestorOf(now)) {
            scroll->ensureWidgetVisible(pictures_, 0, 0);
        }
    });
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    connect(jobs_, &DimensionsJobs::busyChanged, this, &ManyDimensionsWindow::setRunning);
    connect(jobs_, &DimensionsJobs::progressed, this, &ManyDimensionsWindow::showProgress);
    connect(jobs_, &DimensionsJobs::raced, this, &ManyDimensionsWindow::showRace);
    connect(jobs_, &DimensionsJobs::cursed, curse_, &DimensionsPlotView::display);
    connect(jobs_, &DimensionsJobs::pointsMade, points_, &PointsView::display);
    connect(jobs_, &DimensionsJobs::failed, this, [this](const QString& why) {
        message_->setText(why);
        message_->show();
    });
    connect(jobs_, &DimensionsJobs::stopped, this,
            [this] { summary_->setText(tr("Stopped before there was anything to show.")); });
    showInputs();
    resize(780, 900);
}

QWidget* ManyDimensionsWindow::makeInputs() {
    auto* box = new QWidget(this);
    dimensions_ = new QSpinBox(box);
    dimensions_->setObjectName(QStringLiteral("DimensionsD"));
    dimensions_->setRange(1, kMaxDimensions);
    dimensions_->setValue(10);
    dimensions_->setToolTip(tr("The dimension d of the cube, 1 to %1").arg(kMaxDimensions));
    family_ = new QComboBox(box);
    family_->setObjectName(QStringLiteral("DimensionsFamily"));
    for (const FamilyInfo& info : kFamilies) {
        family_->addItem(text(info.name) + QStringLiteral(" — ") + text(info.formula));
    }
    family_->addItem(tr("typed f(x1, …, xd)"));
    family_->setCurrentIndex(static_cast<int>(Family::Gaussian));
    function_ = new QLineEdit(QStringLiteral("exp(-x1*x2)"), box);
    function_->setObjectName(QStringLiteral("DimensionsFunction"));
    function_->setToolTip(tr("f of x1 to xd, integrated on [lower, upper]^d"));
    lower_ = new QLineEdit(QStringLiteral("0"), box);
    lower_->setObjectName(QStringLiteral("DimensionsLower"));
    upper_ = new QLineEdit(QStringLiteral("1"), box);
    upper_->setObjectName(QStringLiteral("DimensionsUpper"));
    for (QLineEdit* limit : {lower_, upper_}) {
        limit->setMaximumWidth(80);
    }
    difficulty_ = new QLineEdit(box);
    difficulty_->setObjectName(QStringLiteral("DimensionsDifficulty"));
    difficulty_->setMaximumWidth(80);
    difficulty_->setToolTip(
        tr("The sum of the c_k: larger makes a peak narrower or a wave faster; empty takes "
           "the family's own"));
    seed_ = new QLineEdit(QString::number(kDefaultSeed), box);
    seed_->setObjectName(QStringLiteral("DimensionsSeed"));
    seed_->setMaximumWidth(170);
    seed_->setToolTip(tr("Draws the family's c and w and the sampling methods' numbers"));
    budget_ = new QSlider(Qt::Horizontal, box);
    budget_->setObjectName(QStringLiteral("DimensionsBudget"));
    // 10, 20, 50, 100, ... 10^6, as the Compare window's budgets.
    budget_->setRange(0, static_cast<int>(std::size(kSweepBudgets)) - 1);
    budget_->setPageStep(3);
    for (std::size_t i = 0; i < std::size(kSweepBudgets); ++i) {
        if (kSweepBudgets[i] == 100000) {
            budget_->setValue(static_cast<int>(i));
        }
    }
    budgetText_ = new QLabel(box);
    budgetText_->setMinimumWidth(
        budgetText_->fontMetrics().horizontalAdvance(tr("%1 evaluations").arg(1000000)));

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto label = [box](const QString& words, QWidget* buddy) {
        return labelFor(words, buddy, box);
    };
    grid->addWidget(label(tr("&d:"), dimensions_), 0, 0);
    grid->addWidget(dimensions_, 0, 1);
    grid->addWidget(label(tr("&Integrand:"), family_), 0, 2);
    grid->addWidget(family_, 0, 3, 1, 3);
    family_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    family_->setMinimumContentsLength(24);
    grid->addWidget(label(tr("&f ="), function_), 1, 0);
    grid->addWidget(function_, 1, 1, 1, 3);
    auto* limits = new QHBoxLayout;
    limits->addWidget(label(tr("o&n ["), lower_));
    limits->addWidget(lower_);
    limits->addWidget(new QLabel(QStringLiteral(","), box));
    limits->addWidget(upper_);
    limits->addWidget(new QLabel(tr("]^d"), box));
    limits->addStretch(1);
    grid->addLayout(limits, 1, 4, 1, 2);
    grid->addWidget(label(tr("Difficul&ty:"), difficulty_), 2, 0);
    grid->addWidget(difficulty_, 2, 1);
    grid->addWidget(label(tr("&Seed:"), seed_), 2, 2);
    grid->addWidget(seed_, 2, 3);
    auto* budgetRow = new QHBoxLayout;
    budgetRow->addWidget(label(tr("&Budget:"), budget_));
    budgetRow->addWidget(budget_, 1);
    budgetRow->addWidget(budgetText_);
    grid->addLayout(budgetRow, 3, 0, 1, 6);
    grid->setColumnStretch(3, 1);

    // Two rows of ticks, so that the window fits beside the main one on a small screen.
    auto* ticks = new QGridLayout;
    constexpr int kTicksPerRow = 4;
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        auto* tick = new QCheckBox(text(info.name), box);
        tick->setObjectName(QStringLiteral("DimensionsMethod_") + text(info.name));
        tick->setToolTip(text(info.description));
        // Hit-or-miss only counts hits: it races where the ball is chosen.
        tick->setChecked(!info.indicatorsOnly);
        const int at = static_cast<int>(methods_.size());
        methods_.push_back(tick);
        ticks->addWidget(tick, at / kTicksPerRow, at % kTicksPerRow);
    }
    grid->addLayout(ticks, 4, 0, 1, 6);

    auto* race = new QPushButton(tr("R&ace"), box);
    race->setObjectName(QStringLiteral("DimensionsRace"));
    race->setToolTip(
        tr("Races the ticked methods at the budget and sweeps their sizes "
           "(Ctrl+R); Esc stops"));
    // Enter anywhere in the window races, as a dialog's default button would; on the other
    // button, Enter presses that one.
    race->setDefault(true);
    race->setAutoDefault(true);
    auto* curse = new QPushButton(tr("&Curse plot"), box);
    curse->setObjectName(QStringLiteral("DimensionsCurseButton"));
    curse->setToolTip(tr("The ticked methods on the family at d = 1 to 10 (Ctrl+U); Esc stops"));
    curse->setAutoDefault(true);
    auto* presets = new QComboBox(box);
    presets->setObjectName(QStringLiteral("DimensionsPresets"));
    // Narrow in the row, so that the window still fits beside the main one; the list that
    // opens is as wide as the examples' names.
    presets->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    presets->setMinimumContentsLength(10);
    presets->addItem(tr("Examples…"));
    for (const DimensionsPreset& preset : kDimensionsPresets) {
        presets->addItem(text(preset.name));
    }
    presets->setToolTip(
        tr("Takes an example's integrand, dimension and budget and races; the handbook's "
           "chapter on many dimensions says what each shows"));
    presets->view()->setMinimumWidth(presets->view()->sizeHintForColumn(0) + 24);
    connect(presets, &QComboBox::activated, this, [this, presets](int index) {
        if (index <= 0) {
            return;
        }
        const DimensionsPreset& preset = kDimensionsPresets[index - 1];
        presets->setCurrentIndex(0);
        dimensions_->setValue(preset.dimensions);
        family_->setCurrentIndex(static_cast<int>(preset.family));
        difficulty_->clear();
        seed_->setText(QStringLiteral("1"));
        for (std::size_t i = 0; i < std::size(kSweepBudgets); ++i) {
            if (kSweepBudgets[i] == preset.budget) {
                budget_->setValue(static_cast<int>(i));
            }
        }
        for (std::size_t i = 0; i < methods_.size(); ++i) {
            methods_[i]->setChecked(!kCubatureMethods[i].indicatorsOnly ||
                                    preset.family == Family::Ball);
        }
        startRace();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(race);
    buttons->addWidget(curse);
    buttons->addWidget(presets);
    buttons->addStretch(1);
    grid->addLayout(buttons, 5, 0, 1, 6);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("DimensionsMessage"));
    message_->setWordWrap(true);
    QPalette warning = message_->palette();
    warning.setColor(QPalette::WindowText, readable(kWarningRed, warning.color(QPalette::Window)));
    message_->setPalette(warning);
    message_->hide();

    const auto showBudget = [this] { budgetText_->setText(tr("%1 evaluations").arg(budget())); };
    showBudget();
    connect(budget_, &QSlider::valueChanged, this, showBudget);
    const auto followFamily = [this] {
        const bool typed = family_->currentIndex() == kTypedEntry;
        const bool ball = family_->currentIndex() == static_cast<int>(Family::Ball);
        function_->setEnabled(typed);
        lower_->setEnabled(typed);
        upper_->setEnabled(typed);
        difficulty_->setEnabled(!typed && !ball);
        if (!typed && !ball) {
            difficulty_->setPlaceholderText(text(shortNumber(
                kFamilies[static_cast<std::size_t>(family_->currentIndex())].difficulty)));
        }
        methods_.back()->setChecked(ball);
    };
    followFamily();
    connect(family_, &QComboBox::currentIndexChanged, this, followFamily);
    connect(race, &QPushButton::clicked, this, &ManyDimensionsWindow::startRace);
    connect(curse, &QPushButton::clicked, this, &ManyDimensionsWindow::startCurse);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this), &QShortcut::activated, this,
            &ManyDimensionsWindow::startRace);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_U), this), &QShortcut::activated, this,
            &ManyDimensionsWindow::startCurse);
    for (QLineEdit* edit : {function_, lower_, upper_, difficulty_, seed_}) {
        connect(edit, &QLineEdit::textChanged, this, &ManyDimensionsWindow::showInputs);
        connect(edit, &QLineEdit::textEdited, message_, &QWidget::hide);
    }
    connect(dimensions_, &QSpinBox::valueChanged, this, &ManyDimensionsWindow::showInputs);
    connect(family_, &QComboBox::currentIndexChanged, this, &ManyDimensionsWindow::showInputs);
    connect(budget_, &QSlider::valueChanged, this, &ManyDimensionsWindow::showInputs);
    for (QCheckBox* tick : methods_) {
        connect(tick, &QCheckBox::toggled, this, &ManyDimensionsWindow::showInputs);
    }
    return box;
}

QWidget* ManyDimensionsWindow::makePointsPage() {
    auto* page = new QWidget(pictures_);
    pointsMethod_ = new QComboBox(page);
    pointsMethod_->setObjectName(QStringLiteral("DimensionsPointsMethod"));
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        pointsMethod_->addItem(text(info.name), static_cast<int>(info.method));
    }
    axisX_ = new QSpinBox(page);
    axisX_->setObjectName(QStringLiteral("DimensionsAxisX"));
    axisY_ = new QSpinBox(page);
    axisY_->setObjectName(QStringLiteral("DimensionsAxisY"));
    axisX_->setPrefix(QStringLiteral("x"));
    axisY_->setPrefix(QStringLiteral("x"));
    axisX_->setRange(1, kMaxDimensions);
    axisY_->setRange(1, kMaxDimensions);
    axisX_->setValue(1);
    axisY_->setValue(2);
    points_ = new PointsView(page);
    points_->setObjectName(QStringLiteral("DimensionsPoints"));
    points_->say(
        tr("Race (Ctrl+R) shows here the points the chosen method places, seen "
           "along two axes."));
    auto* row = new QHBoxLayout;
    const auto label = [page](const QString& words, QWidget* buddy) {
        return labelFor(words, buddy, page);
    };
    row->addWidget(label(tr("Points &of"), pointsMethod_));
    row->addWidget(pointsMethod_);
    row->addWidget(label(tr("seen alon&g"), axisX_));
    row->addWidget(axisX_);
    row->addWidget(new QLabel(tr("and"), page));
    row->addWidget(axisY_);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(points_, 1);
    connect(pointsMethod_, &QComboBox::currentIndexChanged, this,
            &ManyDimensionsWindow::askForPoints);
    connect(axisX_, &QSpinBox::valueChanged, this, &ManyDimensionsWindow::askForPoints);
    connect(axisY_, &QSpinBox::valueChanged, this, &ManyDimensionsWindow::askForPoints);
    return page;
}

std::int64_t ManyDimensionsWindow::budget() const {
    return kSweepBudgets[static_cast<std::size_t>(budget_->value())];
}

TypedDimensionsInputs ManyDimensionsWindow::typedInputs() const {
    TypedDimensionsInputs typed;
    typed.dimensions = dimensions_->value();
    if (family_->currentIndex() != kTypedEntry) {
        typed.family = kFamilies[static_cast<std::size_t>(family_->currentIndex())].family;
    } else {
        typed.family.reset();
    }
    typed.function = function_->text().toStdString();
    typed.lower = lower_->text().toStdString();
    typed.upper = upper_->text().toStdString();
    typed.difficulty = difficulty_->text().trimmed().toStdString();
    typed.seed = seed_->text().toStdString();
    for (std::size_t i = 0; i < methods_.size(); ++i) {
        if (methods_[i]->isChecked()) {
            typed.methods.push_back(kCubatureMethods[i].method);
        }
    }
    typed.budget = budget();
    return typed;
}

std::optional<ManyDimensionsInputs> ManyDimensionsWindow::checkedInputs() {
    auto read = readDimensionsInputs(typedInputs());
    QString fault;
    if (const auto* why = std::get_if<std::string>(&read)) {
        fault = text(*why);
    } else {
        // A typed f is read here too, so that a fault is said before any work starts.
        const auto made = integrandOf(std::get<ManyDimensionsInputs>(read));
        if (const auto* why = std::get_if<std::string>(&made)) {
            fault = text(*why);
        }
    }
    if (!fault.isEmpty()) {
        message_->setText(fault);
        message_->show();
        return std::nullopt;
    }
    message_->hide();
    return std::get<ManyDimensionsInputs>(read);
}

PointsChoice ManyDimensionsWindow::pointsChoice() const {
    PointsChoice choice;
    choice.method = static_cast<CubatureMethod>(pointsMethod_->currentData().toInt());
    choice.axisX = axisX_->value() - 1;
    choice.axisY = axisY_->value() - 1;
    return choice;
}

void ManyDimensionsWindow::showInputs() {
    const auto read = readDimensionsInputs(typedInputs());
    axisX_->setMaximum(dimensions_->value());
    axisY_->setMaximum(dimensions_->value());
    if (const auto* inputs = std::get_if<ManyDimensionsInputs>(&read)) {
        setWindowTitle(text(dimensionsTitle(*inputs)));
        heading_->setText(text(dimensionsHeading(raced_, *inputs)));
    } else {
        setWindowTitle(tr("Many dimensions"));
    }
}

void ManyDimensionsWindow::startRace() {
    const std::optional<ManyDimensionsInputs> inputs = checkedInputs();
    if (!inputs) {
        return;
    }
    progress_->setFormat(tr("%v of %m steps: the race, the sweep, the points; Esc stops"));
    showProgress(0, 1);
    errorCost_->say(tr("Sweeping every size up to the budget…"));
    jobs_->runRace(*inputs, pointsChoice());
}

void ManyDimensionsWindow::startCurse() {
    const std::optional<ManyDimensionsInputs> inputs = checkedInputs();
    if (!inputs) {
        return;
    }
    progress_->setFormat(tr("%v of %m: each method at each d from 1 to 10; Esc stops"));
    showProgress(0, 1);
    pictures_->setCurrentWidget(curse_);
    curse_->say(tr("Finding each method's cost at d = 1 to 10…"));
    jobs_->runCurse(*inputs);
}

void ManyDimensionsWindow::askForPoints() {
    // The picture follows the race shown, not boxes changed since.
    if (!raced_ || running_) {
        return;
    }
    points_->say(tr("Placing the points…"));
    jobs_->runPoints(*raced_, pointsChoice());
}

void ManyDimensionsWindow::showRace(const DimensionsResults& results) {
    progress_->hide();
    raced_ = results.race.inputs;
    showInputs();
    const DimensionsRace& race = results.race;
    // The method's colour, and the red of a claim that failed, on the theme's back colour: the
    // rest keeps the theme's own text colour.
    const QColor back = table_->palette().color(QPalette::Base);
    table_->setRowCount(static_cast<int>(race.rows.size()));
    for (int r = 0; r < static_cast<int>(race.rows.size()); ++r) {
        const DimensionsRaceRow& row = race.rows[static_cast<std::size_t>(r)];
        const std::vector<std::string> cells = raceRowCells(row);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(text(cells[static_cast<std::size_t>(c)]));
            if (c == 0) {
                item->setForeground(
                    readable(cubatureMethodColour(row.method).rgb() & 0xFFFFFFu, back));
            }
            if (!row.absence.empty()) {
                item->setToolTip(text(row.absence));
            }
            if (c == 4 && row.covers && !*row.covers) {
                item->setForeground(readable(kWarningRed, back));
            }
            if (c == 2 || c == 3 || c >= 5) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table_->setItem(r, c, item);
        }
    }
    summary_->setText(text(dimensionsOutcomeText(race)));
    if (results.errorCost) {
        errorCost_->display(*results.errorCost);
    } else {
        errorCost_->say(tr("The sweep was stopped before it could be drawn."));
    }
    if (results.points || !results.pointsAbsent.empty()) {
        points_->display(results.points, text(results.pointsAbsent));
    }
}

void ManyDimensionsWindow::setRunning(bool running) {
    running_ = running;
    if (!running) {
        progress_->hide();
    }
}

void ManyDimensionsWindow::showProgress(std::size_t done, std::size_t total) {
    progress_->setRange(0, static_cast<int>(total));
    progress_->setValue(static_cast<int>(done));
    progress_->setVisible(done < total);
}

void ManyDimensionsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && running_) {
        progress_->setFormat(tr("Stopping…"));
        jobs_->stop();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    // What a box does not take itself reaches the window, as in a dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        startRace();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace integral
