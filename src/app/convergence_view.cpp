// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/convergence_view.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <utility>

#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"
#include "model/run_analysis.h"

namespace integral {

namespace {

void addRows(ConvergenceSeries& series, const RunAnalysis& analysis) {
    for (const RowAnalysis& row : analysis.rows) {
        if (!row.error) {
            continue;
        }
        const double x = static_cast<double>(row.evaluations);
        if (*row.error == 0.0) {
            series.zeroErrorAt.push_back(x);
        } else {
            series.points.emplace_back(x, std::fabs(*row.error));
        }
    }
}

// A reference line of the given slope on log-log axes through `anchor`, across [from, to].
ConvergenceSeries slope(const QString& name, const QColor& colour, QPointF anchor, double power,
                        double from, double to) {
    ConvergenceSeries series{name, colour, true, {}, {}};
    for (const double x : {from, to}) {
        series.points.emplace_back(x, anchor.y() * std::pow(x / anchor.x(), power));
    }
    return series;
}

bool sameInputs(const MethodRun& run, const Model& model) {
    return run.fnum.identical(model.fnum()) && run.x1.identical(model.x1()) &&
           run.x2.identical(model.x2()) && run.ymax.identical(model.ymax());
}

struct Range {
    double low;
    double high;
};

// Whole decades around every value (and around 1 when there is none).
Range decades(const std::vector<double>& values) {
    double low = 1.0;
    double high = 1.0;
    if (!values.empty()) {
        low = *std::min_element(values.begin(), values.end());
        high = *std::max_element(values.begin(), values.end());
    }
    low = std::floor(std::log10(low));
    high = std::ceil(std::log10(high));
    if (high <= low) {
        high = low + 1.0;
    }
    return {low, high};
}

}  // namespace

std::vector<ConvergenceSeries> convergenceSeries(const Model& model,
                                                 const std::optional<MethodRun>& monteCarlo) {
    // A copy, so that asking for the picture changes nothing of the window's state.
    Model scratch = model;
    std::vector<ConvergenceSeries> result;
    ConvergenceSeries parabolic{
        QStringLiteral("Parabolic rule"), QColor(0x1F, 0x4E, 0xB4), false, {}, {}};
    addRows(parabolic, analyse(scratch.run(Method::Zelbrin)));
    ConvergenceSeries gauss{
        QStringLiteral("Gauss-Legendre"), QColor(0x1B, 0x8A, 0x3C), false, {}, {}};
    addRows(gauss, analyse(scratch.run(Method::Gauss)));
    result.push_back(parabolic);
    result.push_back(gauss);
    if (!parabolic.points.empty()) {
        const QPointF first = parabolic.points.front();
        result.push_back(slope(QStringLiteral("slope N^-4"), QColor(0x80, 0x80, 0xC0), first, -4.0,
                               first.x(), 200.0));
    }
    if (monteCarlo && sameInputs(*monteCarlo, model)) {
        const RunAnalysis analysis = analyse(*monteCarlo);
        ConvergenceSeries samples{
            QStringLiteral("Monte Carlo (last run)"), QColor(0xC0, 0x30, 0x30), false, {}, {}};
        addRows(samples, analysis);
        ConvergenceSeries sigma{
            QStringLiteral("Monte Carlo one sigma"), QColor(0xE0, 0x90, 0x30), true, {}, {}};
        for (const RowAnalysis& row : analysis.rows) {
            if (row.sigma && *row.sigma > 0.0) {
                sigma.points.emplace_back(static_cast<double>(row.evaluations), *row.sigma);
            }
        }
        result.push_back(samples);
        if (!sigma.points.empty()) {
            result.push_back(slope(QStringLiteral("slope N^-1/2"), QColor(0xC0, 0x80, 0x80),
                                   sigma.points.front(), -0.5, 2000.0, 50000.0));
            result.push_back(sigma);
        }
    }
    return result;
}

ConvergenceView::ConvergenceView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Convergence"));
    setWindowTitle(QStringLiteral("Convergence"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(860, 540);
    setToolTip(QStringLiteral("Right-click to save the picture as PNG or SVG"));
}

void ConvergenceView::display(std::vector<ConvergenceSeries> series, const QString& title) {
    series_ = std::move(series);
    title_ = title;
    update();
    QWidget::show();
    raise();
}

void ConvergenceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render(painter, rect());
}

void ConvergenceView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    using Save = bool (ConvergenceView::*)(const QString&) const;
    for (const auto& [format, save] :
         {std::pair<QString, Save>{QStringLiteral("PNG"), &ConvergenceView::savePng},
          {QStringLiteral("SVG"), &ConvergenceView::saveSvg}}) {
        menu.addAction(QStringLiteral("Save as %1…").arg(format), this, [this, format, save] {
            const QString path = QFileDialog::getSaveFileName(
                this, QStringLiteral("Save as ") + format,
                QStringLiteral("convergence.") + format.toLower(),
                QStringLiteral("%1 (*.%2)").arg(format, format.toLower()));
            if (!path.isEmpty()) {
                (this->*save)(path);
            }
        });
    }
    menu.exec(event->globalPos());
}

bool ConvergenceView::savePng(const QString& path) const {
    QImage image(size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    painter.end();
    return image.save(path, "PNG");
}

bool ConvergenceView::saveSvg(const QString& path) const {
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(size());
    generator.setViewBox(QRect(QPoint(0, 0), size()));
    generator.setTitle(title_);
    QPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    render(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    return painter.end();
}

void ConvergenceView::render(QPainter& painter, const QRectF& area) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const QRectF plot = area.adjusted(80, 50, -220, -60);

    std::vector<double> xs;
    std::vector<double> ys;
    for (const ConvergenceSeries& s : series_) {
        for (const QPointF& p : s.points) {
            xs.push_back(p.x());
            if (!s.line) {
                ys.push_back(p.y());
            }
        }
        xs.insert(xs.end(), s.zeroErrorAt.begin(), s.zeroErrorAt.end());
    }
    const Range xr = decades(xs);
    const Range yr = decades(ys);
    const auto toPlot = [&](QPointF p) {
        const double u = (std::log10(p.x()) - xr.low) / (xr.high - xr.low);
        const double v = (std::log10(p.y()) - yr.low) / (yr.high - yr.low);
        return QPointF(plot.left() + u * plot.width(), plot.bottom() - v * plot.height());
    };

    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    QFont small = painter.font();
    small.setPointSizeF(8);
    painter.setFont(small);
    for (double d = xr.low; d <= xr.high; ++d) {
        const double x = plot.left() + (d - xr.low) / (xr.high - xr.low) * plot.width();
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - 30, plot.bottom() + 4, 60, 16), Qt::AlignCenter,
                         QStringLiteral("1e%1").arg(d));
    }
    const double yStep = std::max(1.0, std::round((yr.high - yr.low) / 10.0));
    for (double d = yr.low; d <= yr.high; d += yStep) {
        const double y = plot.bottom() - (d - yr.low) / (yr.high - yr.low) * plot.height();
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 76, y - 8, 70, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("1e%1").arg(d));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);

    QFont normal = painter.font();
    normal.setPointSizeF(10);
    painter.setFont(normal);
    painter.drawText(QRectF(area.left(), area.top() + 8, area.width(), 24), Qt::AlignCenter,
                     title_);
    painter.drawText(QRectF(plot.left(), plot.bottom() + 26, plot.width(), 20), Qt::AlignCenter,
                     QStringLiteral("evaluations of f (log scale)"));
    painter.save();
    painter.translate(area.left() + 16, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -10, plot.height(), 20), Qt::AlignCenter,
                     QStringLiteral("|estimate - exact| (log scale)"));
    painter.restore();

    painter.save();
    painter.setClipRect(plot);
    for (const ConvergenceSeries& s : series_) {
        if (s.line) {
            QPen pen(s.colour, 1.5, Qt::DashLine);
            painter.setPen(pen);
            QPainterPath path;
            for (std::size_t i = 0; i < s.points.size(); ++i) {
                const QPointF p = toPlot(s.points[i]);
                i == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            painter.drawPath(path);
            continue;
        }
        painter.setPen(QPen(s.colour, 1.2));
        painter.setBrush(s.colour);
        for (const QPointF& point : s.points) {
            painter.drawEllipse(toPlot(point), 3.5, 3.5);
        }
        // An exact row has no place on a log scale: a triangle on the bottom edge marks it.
        painter.setBrush(Qt::NoBrush);
        for (const double x : s.zeroErrorAt) {
            const QPointF base = toPlot(QPointF(x, std::pow(10.0, yr.low)));
            const QPointF triangle[] = {base + QPointF(0, -10), base + QPointF(-5, -2),
                                        base + QPointF(5, -2)};
            painter.drawPolygon(triangle, 3);
        }
    }
    painter.restore();

    // The legend, right of the plot, where no point can hide under it.
    painter.setFont(small);
    const double rowHeight = 16;
    const QRectF legend(plot.right() + 12, plot.top(), 196,
                        rowHeight * (static_cast<double>(series_.size()) + 1) + 8);
    painter.setPen(QColor(0xA0, 0xA0, 0xA0));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(legend);
    double y = legend.top() + 4;
    for (const ConvergenceSeries& s : series_) {
        const QPointF mark(legend.left() + 14, y + rowHeight / 2);
        if (s.line) {
            painter.setPen(QPen(s.colour, 1.5, Qt::DashLine));
            painter.drawLine(mark - QPointF(8, 0), mark + QPointF(8, 0));
        } else {
            painter.setPen(QPen(s.colour, 1.2));
            painter.setBrush(s.colour);
            painter.drawEllipse(mark, 3.5, 3.5);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(legend.left() + 28, y, legend.width() - 30, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, s.name);
        y += rowHeight;
    }
    painter.setPen(Qt::black);
    painter.drawText(QRectF(legend.left() + 28, y, legend.width() - 30, rowHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("triangle: error exactly 0"));
}

}  // namespace integral
