// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/learning_aids.h"
#include "app/utf8.h"

#include <QStringList>
#include <cmath>

namespace integral {

namespace {

QString full(double value) {
    return QString::fromStdString(fullPrecision(value));
}

QString shortly(double value, int digits = 4) {
    return QString::number(value, 'g', digits);
}

QStringList figures(const MethodRun& run, const RunAnalysis& analysis, std::size_t index) {
    const RowAnalysis& row = analysis.rows[index];
    QStringList lines;
    lines << QStringLiteral("Estimate at full precision: ") + full(row.estimate);
    if (analysis.exact) {
        lines << QStringLiteral("Exact integral: ") + full(*analysis.exact);
    } else {
        lines << QStringLiteral("Exact integral: not a finite number (beyond the double range)");
    }
    if (row.error) {
        QString error = QStringLiteral("Error (estimate - exact): ") + shortly(*row.error);
        if (row.relativeError) {
            error += QStringLiteral(", relative ") + shortly(*row.relativeError, 3);
        }
        lines << error;
    }
    lines << QStringLiteral("Evaluations of f: %1").arg(row.evaluations);
    if (row.errorRatio) {
        lines << QStringLiteral("Error over the previous row's: ") + shortly(*row.errorRatio);
    }
    if (row.observedOrder) {
        lines << QStringLiteral("Observed order, log(e_prev/e) / log(n/n_prev): ") +
                     QString::number(*row.observedOrder, 'f', 2);
    }
    if (row.sigma) {
        lines << QStringLiteral("One-sigma uncertainty of this row: ") + shortly(*row.sigma);
        if (row.sigmas) {
            lines << QStringLiteral("Error in sigmas: ") + QString::number(*row.sigmas, 'f', 2);
        }
    }
    if (run.method == Method::MonteCarlo && analysis.clipped) {
        const double off = analysis.clipped->offExact;
        lines << QStringLiteral(
                     "The box does not hold the curve over the whole interval, so the estimates "
                     "converge to %1, the integral of f clipped to the box, which is %2 %3 the "
                     "exact integral.")
                     .arg(shortly(analysis.clipped->value, 6), shortly(std::fabs(off)),
                          off < 0 ? QStringLiteral("below") : QStringLiteral("above"));
    }
    return lines;
}

}  // namespace

QString rowTooltip(const MethodRun& run, const RunAnalysis& analysis, std::size_t row) {
    QStringList lines;
    lines << QString::fromStdString(run.rows[row]);
    lines << figures(run, analysis, row);
    return lines.join(QLatin1Char('\n'));
}

QString summaryTooltip(const MethodRun& run, const RunAnalysis& analysis) {
    if (!run.summary || analysis.rows.empty()) {
        return {};
    }
    const std::size_t last = analysis.rows.size() - 1;
    QStringList lines;
    lines << QString::fromStdString(*run.summary)
          << QStringLiteral("The estimate of the last row, for %1 %2.")
                 .arg(analysis.rows[last].counter)
                 .arg(text(methodInfo(run.method).unit));
    lines << figures(run, analysis, last);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace integral
