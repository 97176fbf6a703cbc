// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the window "Many dimensions": a plot of methods' series on a logarithmic
// y axis (error against cost, the curse), and the points a method places, seen along two axes.
// They only draw what the model computed.
#pragma once

#include <QColor>
#include <QWidget>
#include <optional>

#include "model/dimensions_plots.h"

namespace integral {

// Each method in d dimensions keeps one colour in every picture.
QColor cubatureMethodColour(CubatureMethod method);

class DimensionsPlotView : public QWidget {
    Q_OBJECT

  public:
    explicit DimensionsPlotView(const QString& waiting, QWidget* parent = nullptr);
    void display(const DimensionsPlot& plot);
    // Words instead of a plot: nothing has been asked for yet, or it is being computed.
    void say(const QString& words);
    const std::optional<DimensionsPlot>& plot() const { return plot_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<DimensionsPlot> plot_;
    QString words_;
};

class PointsView : public QWidget {
    Q_OBJECT

  public:
    explicit PointsView(QWidget* parent = nullptr);
    void display(const std::optional<ProjectedPoints>& points, const QString& absent);
    void say(const QString& words);
    const std::optional<ProjectedPoints>& points() const { return points_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<ProjectedPoints> points_;
    QString words_;
};

}  // namespace integral
