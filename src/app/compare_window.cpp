// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/learning_aids.h"
#include "app/utf8.h"
#include "runtime/short_number.h"

namespace integral {

CompareWindow::CompareWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Compare"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("ComparePages"));
    pages->addTab(makeOneMethodPage(), tr("&One method"));
    // On a screen too small for the race's page it scrolls, rather than the window growing
    // beyond the screen.
    auto* racePage = new QScrollArea(pages);
    racePage->setObjectName(QStringLiteral("RacePage"));
    QWidget* raceContents = makeRacePage();
    racePage->setWidget(raceContents);
    racePage->setWidgetResizable(true);
    racePage->setFrameShape(QFrame::NoFrame);
    racePage->setFocusPolicy(Qt::NoFocus);
    pages->addTab(racePage, tr("Race at &equal cost"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    setupTabOrder(pages);
    showInputs();
    // As tall as the race's page asks, where the screen has the room: measured in the fonts
    // and the style it will be shown in.
    ensurePolished();
    const QMargins margins = layout->contentsMargins();
    resize(std::max(760, sizeHint().width()),
           raceContents->sizeHint().height() + 2 * fontMetrics().lineSpacing() +
               pages->tabBar()->sizeHint().height() + margins.top() + margins.bottom() +
               4 * pages->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
}

// Down each page as it reads, then round again; a control on the page not shown is skipped.
void CompareWindow::setupTabOrder(QTabWidget* pages) {
    pages->tabBar()->setObjectName(QStringLiteral("ComparePageTabs"));
    const QStringList order = {
        QStringLiteral("CompareMethod"),  QStringLiteral("CompareRun"),
        QStringLiteral("CompareRows"),    QStringLiteral("RacePresets"),
        QStringLiteral("RaceBudget"),     QStringLiteral("RaceSeed"),
        QStringLiteral("RaceNewNumbers"), QStringLiteral("RaceMethods"),
        QStringLiteral("RaceRun"),        QStringLiteral("RacePlotButton"),
        QStringLiteral("RaceTable"),
    };
    QWidget* before = pages->tabBar();
    for (const QString& name : order) {
        QWidget* next = findChild<QWidget*>(name);
        setTabOrder(before, next);
        before = next;
    }
    // A page chosen by its key starts at its first control, not where the focus last was.
    connect(pages, &QTabWidget::currentChanged, this, [this](int page) {
        findChild<QWidget*>(page == 0 ? QStringLiteral("CompareMethod")
                                      : QStringLiteral("RacePresets"))
            ->setFocus(Qt::TabFocusReason);
    });
}

QWidget* CompareWindow::makeOneMethodPage() {
    auto* page = new QWidget(this);
    methods_ = new QComboBox(page);
    methods_->setObjectName(QStringLiteral("CompareMethod"));
    for (const MethodInfo& info : kMethods) {
        methods_->addItem(
            methodText(info.caption) + QStringLiteral(" — ") + methodText(info.description),
            static_cast<int>(info.method));
    }
    methods_->setToolTip(
        tr("The method to run on the integrand and limits of the "
           "main window"));
    // Narrow enough for a small screen; the list shows the descriptions whole.
    methods_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    methods_->setMinimumContentsLength(24);
    run_ = new QPushButton(tr("&Run"), page);
    run_->setObjectName(QStringLiteral("CompareRun"));
    run_->setDefault(true);
    rows_ = new QListWidget(page);
    rows_->setObjectName(QStringLiteral("CompareRows"));
    rows_->setToolTip(
        tr("Hover over a row for its figures; double-click or press "
           "Enter to see how it was made"));
    summary_ = new QLabel(page);
    summary_->setObjectName(QStringLiteral("CompareSummary"));
    summary_->setWordWrap(true);
    summary_->setText(
        tr("Choose a method and press Run. Ctrl+K shows every run's "
           "errors against the evaluations of f."));

    auto* top = new QHBoxLayout;
    top->addWidget(methods_, 1);
    top->addWidget(run_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(rows_, 1);
    layout->addWidget(summary_);

    connect(run_, &QPushButton::clicked, this, [this] {
        summary_->setText(tr("Running… Esc stops it."));
        emit runRequested(chosenMethod());
    });
    connect(rows_, &QListWidget::itemActivated, this,
            [this] { emit rowActivated(rows_->currentRow()); });
    return page;
}

QWidget* CompareWindow::makeRacePage() {
    auto* page = new QWidget(this);
    budget_ = new QSlider(Qt::Horizontal, page);
    budget_->setObjectName(QStringLiteral("RaceBudget"));
    // The budgets a course's table would list, 10, 20, 50, 100, ..., 10^6, the sweep's own.
    budget_->setRange(0, static_cast<int>(std::size(kSweepBudgets)) - 1);
    budget_->setPageStep(3);
    setBudget(1000);
    budget_->setToolTip(
        tr("The evaluations of f each method may spend, 10 to "
           "1 000 000 on a logarithmic scale"));
    budgetText_ = new QLabel(page);
    racing_ = new QListWidget(page);
    racing_->setObjectName(QStringLiteral("RaceMethods"));
    for (const MethodInfo& info : kMethods) {
        auto* item = new QListWidgetItem(methodText(info.caption), racing_);
        item->setData(Qt::UserRole, static_cast<int>(info.method));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    racing_->setFlow(QListView::LeftToRight);
    racing_->setWrapping(true);
    racing_->setResizeMode(QListView::Adjust);
    int widest = 0;
    for (const MethodInfo& info : kMethods) {
        widest =
            std::max(widest, racing_->fontMetrics().horizontalAdvance(methodText(info.caption)));
    }
    // The caption, its tick box and a gap.
    racing_->setGridSize(
        QSize(widest + 3 * racing_->fontMetrics().height(), racing_->fontMetrics().height() + 6));
    racing_->setFixedHeight(3 * racing_->gridSize().height() + 2 * racing_->frameWidth() + 4);
    racing_->setToolTip(tr("The methods that race; Space ticks or unticks the current one"));
    auto* race = new QPushButton(tr("R&ace"), page);
    race->setObjectName(QStringLiteral("RaceRun"));
    race->setToolTip(tr("Races the ticked methods at the budget (Ctrl+R); Esc stops the race"));
    auto* plot = new QPushButton(tr("&Plot claimed and true errors…"), page);
    plot->setObjectName(QStringLiteral("RacePlotButton"));
    raceTable_ = new QTableWidget(0, 7, page);
    raceTable_->setObjectName(QStringLiteral("RaceTable"));
    raceTable_->setHorizontalHeaderLabels({tr("method"), tr("row"), tr("evaluations"),
                                           tr("estimate"), tr("claimed error"), tr("true error"),
                                           tr("claim")});
    raceTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control; the arrow keys move within it.
    raceTable_->setTabKeyNavigation(false);
    raceTable_->verticalHeader()->hide();
    raceTable_->verticalHeader()->setDefaultSectionSize(raceTable_->fontMetrics().height() + 8);
    raceTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Every method's row without scrolling down, also where a narrow screen makes the window
    // narrower than its columns and a scroll bar takes a row's room.
    raceTable_->setMinimumHeight(
        static_cast<int>(kMethods.size()) * raceTable_->verticalHeader()->defaultSectionSize() +
        raceTable_->horizontalHeader()->sizeHint().height() + 2 * raceTable_->frameWidth() + 2 +
        raceTable_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    raceHeading_ = new QLabel(page);
    raceHeading_->setObjectName(QStringLiteral("RaceHeading"));
    raceHeading_->setWordWrap(true);
    raceSummary_ = new QLabel(page);
    raceSummary_->setObjectName(QStringLiteral("RaceSummary"));
    raceSummary_->setWordWrap(true);
    // Room for every method's count of claims held, which would otherwise take the table's.
    raceSummary_->setMinimumHeight(5 * raceSummary_->fontMetrics().lineSpacing());
    raceSummary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    raceProgress_ = new QProgressBar(page);
    raceProgress_->setObjectName(QStringLiteral("RaceProgress"));
    raceProgress_->setFormat(tr("%v of %m methods run; Esc stops the race"));
    raceProgress_->hide();

    auto* presets = new QComboBox(page);
    presets->setObjectName(QStringLiteral("RacePresets"));
    presets->addItem(tr("Examples of claims that fail…"));
    for (const RacePreset& preset : kRacePresets) {
        presets->addItem(text(preset.name));
    }
    presets->setToolTip(
        tr("Takes an example's integrand, limits and budget; the "
           "handbook says why its claims fail"));
    connect(presets, &QComboBox::activated, this, [this, presets](int index) {
        if (index > 0) {
            setBudget(kRacePresets[index - 1].budget);
            emit presetRequested(index - 1);
            presets->setCurrentIndex(0);
        }
    });

    seed_ = new QLineEdit(QString::number(kDefaultSeed), page);
    seed_->setObjectName(QStringLiteral("RaceSeed"));
    seed_->setToolTip(
        tr("The seed of the statistical methods' numbers, 0 to 18446744073709551615: the "
           "same seed gives the same race"));
    auto* seedLabel = new QLabel(tr("&Seed:"), page);
    seedLabel->setBuddy(seed_);
    auto* fresh = new QPushButton(tr("&New numbers"), page);
    fresh->setObjectName(QStringLiteral("RaceNewNumbers"));
    fresh->setToolTip(tr("Draws a new seed and races again (Ctrl+N)"));
    auto* freshKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this);
    seedMessage_ = new QLabel(page);
    seedMessage_->setObjectName(QStringLiteral("RaceSeedMessage"));
    seedMessage_->setWordWrap(true);
    QPalette warning = seedMessage_->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x20, 0x20));
    seedMessage_->setPalette(warning);
    seedMessage_->hide();

    auto* budgetRow = new QHBoxLayout;
    budgetRow->addWidget(new QLabel(tr("Budget:"), page));
    budgetRow->addWidget(budget_, 1);
    budgetRow->addWidget(budgetText_);
    budgetRow->addWidget(seedLabel);
    budgetRow->addWidget(seed_);
    budgetRow->addWidget(fresh);
    // The ticks in rows beside the buttons, so that the table keeps the height of all its rows.
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(race);
    buttons->addWidget(plot);
    buttons->addStretch(1);
    auto* methodsRow = new QHBoxLayout;
    methodsRow->addWidget(racing_, 1);
    methodsRow->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(presets);
    layout->addLayout(budgetRow);
    layout->addWidget(seedMessage_);
    layout->addLayout(methodsRow);
    layout->addWidget(raceProgress_);
    layout->addWidget(raceHeading_);
    layout->addWidget(raceTable_, 1);
    layout->addWidget(raceSummary_);

    const auto showBudget = [this] { budgetText_->setText(tr("%1 evaluations").arg(budget())); };
    showBudget();
    connect(budget_, &QSlider::valueChanged, this, showBudget);
    connect(race, &QPushButton::clicked, this, &CompareWindow::startRace);
    auto* raceKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(raceKey, &QShortcut::activated, this, &CompareWindow::startRace);
    connect(plot, &QPushButton::clicked, this, [this] {
        const std::optional<std::uint64_t> seed = checkedSeed();
        if (!seed) {
            return;
        }
        const std::vector<Method> methods = racingMethods();
        raceProgress_->setFormat(
            tr("%v of %m methods raced at every budget from 10 to 1000000; Esc stops it"));
        showRaceProgress(0, methods.size());
        emit racePlotRequested(methods, *seed);
    });
    const auto drawNewNumbers = [this] {
        setSeed(QRandomGenerator::system()->generate64());
        startRace();
    };
    connect(fresh, &QPushButton::clicked, this, drawNewNumbers);
    connect(freshKey, &QShortcut::activated, this, drawNewNumbers);
    // A fault said stays until the text is changed.
    connect(seed_, &QLineEdit::textEdited, seedMessage_, &QWidget::hide);
    connect(seed_, &QLineEdit::textChanged, this, &CompareWindow::showInputs);
    return page;
}

std::int64_t CompareWindow::budget() const {
    return kSweepBudgets[static_cast<std::size_t>(budget_->value())];
}

void CompareWindow::setBudget(std::int64_t budget) {
    // The largest of the slider's budgets that the one asked for pays.
    int at = 0;
    for (std::size_t i = 0; i < std::size(kSweepBudgets); ++i) {
        if (kSweepBudgets[i] <= budget) {
            at = static_cast<int>(i);
        }
    }
    budget_->setValue(at);
}

void CompareWindow::startRace() {
    const std::optional<std::uint64_t> seed = checkedSeed();
    if (!seed) {
        return;
    }
    const std::vector<Method> methods = racingMethods();
    raceProgress_->setFormat(tr("%v of %m methods run; Esc stops the race"));
    showRaceProgress(0, methods.size());
    emit raceRequested(budget(), methods, *seed);
}

std::optional<std::uint64_t> CompareWindow::seed() const {
    const auto read = readSeed(seed_->text().toStdString());
    if (const auto* seed = std::get_if<std::uint64_t>(&read)) {
        return *seed;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> CompareWindow::checkedSeed() {
    const auto read = readSeed(seed_->text().toStdString());
    if (const auto* seed = std::get_if<std::uint64_t>(&read)) {
        seedMessage_->hide();
        return *seed;
    }
    seedMessage_->setText(text(std::get<std::string>(read)));
    seedMessage_->show();
    seed_->setFocus();
    return std::nullopt;
}

void CompareWindow::followInputs(const Model& model) {
    now_ = inputsOf(model, std::nullopt);
    showInputs();
}

void CompareWindow::showInputs() {
    now_.seed = seed();
    setWindowTitle(text(compareTitle(now_)));
    raceHeading_->setText(text(raceHeading(raced_, now_)));
}

void CompareWindow::setSeed(std::uint64_t seed) {
    seed_->setText(QString::number(seed));
    seedMessage_->hide();
}

std::vector<Method> CompareWindow::racingMethods() const {
    std::vector<Method> methods;
    for (int i = 0; i < racing_->count(); ++i) {
        const QListWidgetItem* item = racing_->item(i);
        if (item->checkState() == Qt::Checked) {
            methods.push_back(static_cast<Method>(item->data(Qt::UserRole).toInt()));
        }
    }
    return methods;
}

void CompareWindow::showRaceProgress(std::size_t done, std::size_t total) {
    raceProgress_->setRange(0, static_cast<int>(total));
    raceProgress_->setValue(static_cast<int>(done));
    raceProgress_->setVisible(done < total);
}

void CompareWindow::setRunning(bool running) {
    running_ = running;
    if (!running) {
        raceProgress_->hide();
    }
}

void CompareWindow::plotStopped() {
    raceProgress_->hide();
    raceSummary_->setText(tr("The plot was stopped before it was drawn."));
}

bool CompareWindow::racing() const {
    return !raceProgress_->isHidden();
}

void CompareWindow::displayRace(const Race& race, std::size_t requested) {
    raceProgress_->hide();
    raced_ = inputsOf(race);
    showInputs();
    const auto figure = [](const std::optional<double>& value) {
        return value ? text(shortNumber(*value, 6)) : QStringLiteral("—");
    };
    raceTable_->setRowCount(static_cast<int>(race.entries.size()));
    QStringList claims;
    for (int r = 0; r < static_cast<int>(race.entries.size()); ++r) {
        const RaceEntry& e = race.entries[static_cast<std::size_t>(r)];
        QString claim = QStringLiteral("—");
        QString why;
        if (e.claimHeld && *e.claimHeld) {
            claim = tr("held");
        } else if (e.claimHeld) {
            claim = e.missedBy && *e.missedBy >= 2.0
                        ? tr("missed ×%1").arg(text(shortNumber(*e.missedBy, 3)))
                        : tr("missed");
            why = QCoreApplication::translate("CompareWindow",
                                              "The claim did not hold: it missed %1.")
                      .arg(text(missText(e)));
        } else if (!e.noClaim.empty()) {
            why = text(e.noClaim);
        } else if (!e.counter) {
            why = tr("Even the first row costs more than the budget.");
        }
        if (e.claimAtRoundingLevel) {
            why += (why.isEmpty() ? QString() : QStringLiteral(" ")) +
                   QStringLiteral(
                       "The method's own estimate was below the rounding its "
                       "estimate carries: it claims that rounding, at the rounding "
                       "level of a double.");
        }
        const QStringList cells = {methodText(methodInfo(e.method).caption),
                                   e.counter ? QString::number(*e.counter) : QStringLiteral("—"),
                                   e.counter ? QString::number(e.evaluations) : QStringLiteral("—"),
                                   figure(e.estimate),
                                   figure(e.estimatedError),
                                   figure(e.error),
                                   claim};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (!why.isEmpty()) {
                item->setToolTip(why);
            }
            if (c == 6 && e.claimHeld && !*e.claimHeld) {
                item->setForeground(QColor(0xB0, 0x20, 0x20));
            }
            raceTable_->setItem(r, c, item);
        }
        claims << methodText(methodInfo(e.method).caption) + QStringLiteral(": ") +
                      text(claimsText(e));
    }
    QString said = text(raceOutcomeText(race, requested)) + QLatin1Char(' ');
    if (!race.reference) {
        said += tr("No true errors: ") + text(race.whyNoReference) + QStringLiteral(". ");
    }
    raceSummary_->setText(said + claims.join(QStringLiteral("; ")) + QLatin1Char('.'));
    show();
    raise();
}

Method CompareWindow::chosenMethod() const {
    return static_cast<Method>(methods_->currentData().toInt());
}

int CompareWindow::currentRow() const {
    return rows_->currentRow();
}

void CompareWindow::display(const AnalysedRun& run, const QString& integrand) {
    shown_ = run;
    rows_->clear();
    for (std::size_t i = 0; i < run.run.rows.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(run.run.rows[i]), rows_);
        item->setToolTip(rowTooltip(run.run, run.analysis, i));
    }
    const QString method = methodText(methodInfo(run.run.method).caption);
    QString said = QCoreApplication::translate("CompareWindow", "%1 of %2").arg(method, integrand);
    if (run.run.summary) {
        said += QStringLiteral(": ") + QString::fromStdString(*run.run.summary);
        summary_->setToolTip(summaryTooltip(run.run, run.analysis));
    } else if (run.run.fault) {
        said += tr(": stopped by a fault after %1 rows").arg(run.run.rows.size());
    }
    summary_->setText(said);
    show();
    raise();
}

void CompareWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && running_) {
        if (racing()) {
            raceProgress_->setFormat(tr("Stopping after the method under way…"));
        } else {
            summary_->setText(tr("Stopped: the rows of that run are not shown."));
        }
        emit cancelRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace integral
