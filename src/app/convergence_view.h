// SPDX-License-Identifier: GPL-3.0-or-later
// A window of its own, opened on demand: |error| against the number of evaluations of f on
// log-log axes, for the parabolic rule and Gauss (computed afresh for the current integrand and
// limits) and for the rows of the last Monte Carlo run with the same integrand, limits and box,
// with its one-sigma line and reference slopes. Not part of the fixed window.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "model/model.h"

namespace integral {

struct ConvergenceSeries {
    QString name;
    QColor colour;
    bool line = false;                // a line through its points, not markers
    std::vector<QPointF> points;      // (evaluations, |error|), errors above 0
    std::vector<double> zeroErrorAt;  // evaluations of rows whose error is exactly 0
};

// The series for the model's integrand and limits; `monteCarlo` is the last Monte Carlo run,
// shown only when it ran on the same integrand, limits and box.
std::vector<ConvergenceSeries> convergenceSeries(const Model& model,
                                                 const std::optional<MethodRun>& monteCarlo);

class ConvergenceView : public QWidget {
    Q_OBJECT

  public:
    explicit ConvergenceView(QWidget* parent = nullptr);

    void display(std::vector<ConvergenceSeries> series, const QString& title);
    const std::vector<ConvergenceSeries>& series() const { return series_; }

    bool savePng(const QString& path) const;
    bool saveSvg(const QString& path) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void render(QPainter& painter, const QRectF& area) const;

    std::vector<ConvergenceSeries> series_;
    QString title_;
};

}  // namespace integral
