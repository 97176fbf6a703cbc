// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Many dimensions": an integral over the d-dimensional cube (one of Genz's
// families, the ball, or a typed f), the methods of many dimensions raced at one budget, each
// one's error against its cost, the curse of dimensionality as d grows, and the points a
// method places seen along two axes. It only shows what it is given; the work runs elsewhere.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "app/dimensions_jobs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace integral {

class DimensionsPlotView;
class PointsView;

class ManyDimensionsWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ManyDimensionsWindow(QWidget* parent = nullptr);

    // The inputs the boxes hold, or nothing once what is wrong is said beside them.
    std::optional<ManyDimensionsInputs> checkedInputs();
    PointsChoice pointsChoice() const;
    std::int64_t budget() const;

    void startRace();
    void startCurse();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    DimensionsJobs* jobs_ = nullptr;
    QSpinBox* dimensions_ = nullptr;
    QComboBox* family_ = nullptr;
    QLineEdit* function_ = nullptr;
    QLineEdit* lower_ = nullptr;
    QLineEdit* upper_ = nullptr;
    QLineEdit* difficulty_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QSlider* budget_ = nullptr;
    QLabel* budgetText_ = nullptr;
    std::vector<QCheckBox*> methods_;
    QLabel* message_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* heading_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* summary_ = nullptr;
    QTabWidget* pictures_ = nullptr;
    DimensionsPlotView* errorCost_ = nullptr;
    DimensionsPlotView* curse_ = nullptr;
    PointsView* points_ = nullptr;
    QComboBox* pointsMethod_ = nullptr;
    QSpinBox* axisX_ = nullptr;
    QSpinBox* axisY_ = nullptr;
    std::optional<ManyDimensionsInputs> raced_;
    bool running_ = false;

    QWidget* makeInputs();
    QWidget* makePointsPage();
    TypedDimensionsInputs typedInputs() const;
    void showInputs();
    void showRace(const DimensionsResults& results);
    void askForPoints();
    void setRunning(bool running);
    void showProgress(std::size_t done, std::size_t total);
};

}  // namespace integral
