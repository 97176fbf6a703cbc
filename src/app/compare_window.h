// SPDX-License-Identifier: GPL-3.0-or-later
// The Compare window: any of the methods, the fixed window's three and those beside them, run
// on the integrand and limits the window holds, with their rows in a list like the results
// list and the same tooltips. A double click or Enter on a row asks for the picture of how it
// was made. Its second page races the ticked methods at one budget of evaluations of f, each
// claim set against the truth. It only shows what it is given; the work runs elsewhere.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/methods.h"
#include "model/race.h"
#include "model/race_texts.h"
#include "model/run_analysis.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QTableWidget;

namespace integral {

class CompareWindow : public QWidget {
    Q_OBJECT

  public:
    explicit CompareWindow(QWidget* parent = nullptr);

    // The run to show, with what it teaches; its rows replace the list's.
    void display(const AnalysedRun& run, const QString& integrand);
    const std::optional<AnalysedRun>& shown() const { return shown_; }
    Method chosenMethod() const;
    int currentRow() const;

    // The race's table and how often each method's claims held; a race with fewer entries than
    // the `requested` methods was stopped, and says so.
    void displayRace(const Race& race, std::size_t requested);
    // The budget the slider stands at: 10 to 10^6 evaluations, a tenth of a decade a step.
    std::int64_t budget() const;
    std::vector<Method> racingMethods() const;
    void setBudget(std::int64_t budget);
    // Races the ticked methods at the slider's budget with the seed typed, as the Race button
    // does; a seed that is no number is said, and nothing runs.
    void startRace();
    // The seed typed, where it is one.
    std::optional<std::uint64_t> seed() const;
    void setSeed(std::uint64_t seed);
    // A race or a plot under way: how far it has got, from 0 to `total` methods.
    void showRaceProgress(std::size_t done, std::size_t total);
    bool racing() const;
    // A job under way: Esc stops it instead of closing the window. Run and Race stay open: what
    // they ask for starts once the job under way has stopped.
    void setRunning(bool running);
    bool running() const { return running_; }
    // The plot asked for was stopped before it could be drawn.
    void plotStopped();
    // The main window's integrand, limits and box, named in the title and above the race; a race
    // shown for others is marked as theirs.
    void followInputs(const Model& model);

  signals:
    void runRequested(Method method);
    void rowActivated(int row);
    void raceRequested(std::int64_t budget, const std::vector<Method>& methods, std::uint64_t seed);
    void racePlotRequested(const std::vector<Method>& methods, std::uint64_t seed);
    // One of kRacePresets: the window takes its integrand and limits.
    void presetRequested(int preset);
    // Esc while a method or a race runs.
    void cancelRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QComboBox* methods_ = nullptr;
    QPushButton* run_ = nullptr;
    QListWidget* rows_ = nullptr;
    QLabel* summary_ = nullptr;
    std::optional<AnalysedRun> shown_;
    QSlider* budget_ = nullptr;
    QLabel* budgetText_ = nullptr;
    QListWidget* racing_ = nullptr;
    QTableWidget* raceTable_ = nullptr;
    QLabel* raceSummary_ = nullptr;
    QProgressBar* raceProgress_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QLabel* seedMessage_ = nullptr;
    QLabel* raceHeading_ = nullptr;
    // What the main window holds now (its seed is the one typed), and what the race shown ran on.
    RaceInputs now_;
    std::optional<RaceInputs> raced_;
    bool running_ = false;

    QWidget* makeOneMethodPage();
    QWidget* makeRacePage();
    void setupTabOrder(QTabWidget* pages);
    // The seed typed, or nothing once its fault is said beside it.
    std::optional<std::uint64_t> checkedSeed();
    void showInputs();
};

}  // namespace integral
