// SPDX-License-Identifier: GPL-3.0-or-later
// The Compare window: any of the methods, the fixed window's three and those beside them, run
// on the integrand and limits the window holds, with their rows in a list like the results
// list and the same tooltips. A double click or Enter on a row asks for the picture of how it
// was made. It only shows what it is given; the window runs the method and keeps the runs, so
// that the convergence view can plot each of them.
#pragma once

#include <QWidget>
#include <optional>

#include "model/methods.h"
#include "model/run_analysis.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

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

  signals:
    void runRequested(Method method);
    void rowActivated(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QComboBox* methods_ = nullptr;
    QPushButton* run_ = nullptr;
    QListWidget* rows_ = nullptr;
    QLabel* summary_ = nullptr;
    std::optional<AnalysedRun> shown_;
};

}  // namespace integral
