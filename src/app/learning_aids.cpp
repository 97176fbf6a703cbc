// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/learning_aids.h"
#include "app/utf8.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

#include "quadrature/number_format.h"
#include "runtime/short_number.h"

namespace integral {

namespace {

QString full(double value) {
    return QString::fromStdString(fullPrecision(value));
}

QString shortly(double value, int digits = 4) {
    return QString::fromStdString(shortNumber(value, digits));
}

QString monteCarloLines(const MethodRun& run, const RunAnalysis& analysis, const RowAnalysis& row) {
    QStringList lines;
    if (row.sigma && row.sigmaFromRuleOfThree) {
        lines << QStringLiteral(
                     "One-sigma uncertainty of this row: %1 (no sample hit, or every one did, so "
                     "the samples "
                     "show no spread; by the rule of three the share of the box they never showed, "
                     "below the curve where none hit and above it where all did, is under 3/N at "
                     "95 %, and half of that is taken as one sigma)")
                     .arg(shortly(*row.sigma));
    } else if (row.sigma && *row.sigma > 0.0) {
        lines << QCoreApplication::translate("LearningAids",
                                             "One-sigma uncertainty of this row: ") +
                     shortly(*row.sigma);
    } else if (row.sigma) {
        lines << QStringLiteral(
            "One-sigma uncertainty of this row: 0 (the box has no area, so every estimate is 0)");
    } else {
        lines << QStringLiteral(
            "One-sigma uncertainty of this row: cannot be computed (the box's area is beyond the "
            "range of a double)");
    }
    if (!methodOf(run.method).samplesABox()) {
        // No box: the estimates converge to the integral itself.
        if (row.sigmasFromLimit) {
            lines << QCoreApplication::translate("LearningAids",
                                                 "Distance of this row from the integral: %1 sigma")
                         .arg(QString::number(*row.sigmasFromLimit, 'f', 2));
        }
        return lines.join(QLatin1Char('\n'));
    }
    if (!analysis.limit) {
        lines << QStringLiteral(
            "The value the estimates converge to cannot be computed here (f fails or overflows "
            "between the limits).");
        return lines.join(QLatin1Char('\n'));
    }
    const MonteCarloLimit& limit = *analysis.limit;
    lines << QStringLiteral(
                 "The estimates converge to %1: the box's area (height %2 times width %3) times "
                 "the share of the box that lies below the curve.")
                 .arg(shortly(limit.value, 8), shortly(run.ymax.toDouble(), 6),
                      shortly(run.x2.toDouble() - run.x1.toDouble(), 6));
    if (row.sigmasFromLimit) {
        lines << QCoreApplication::translate("LearningAids",
                                             "Distance of this row from that value: %1 sigma")
                     .arg(QString::number(*row.sigmasFromLimit, 'f', 2));
    }
    if (!limit.holdsCurve) {
        QString bias = QStringLiteral(
                           "That value is not the exact integral: the box, from 0 to %1, does not "
                           "hold the curve between the limits")
                           .arg(shortly(run.ymax.toDouble(), 6));
        if (limit.offExact) {
            bias += QCoreApplication::translate("LearningAids",
                                                ", so it differs from the exact integral by %1")
                        .arg(shortly(*limit.offExact));
        }
        lines << bias + QLatin1Char('.');
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList figures(const MethodRun& run, const RunAnalysis& analysis, std::size_t index) {
    const RowAnalysis& row = analysis.rows[index];
    QStringList lines;
    lines << QCoreApplication::translate("LearningAids", "Estimate at full precision: ") +
                 full(row.estimate);
    if (analysis.exact) {
        lines << QCoreApplication::translate("LearningAids", "Exact integral: ") +
                     full(*analysis.exact);
    } else if (analysis.reference) {
        lines << QCoreApplication::translate("LearningAids",
                                             "Reference (adaptive quadrature): %1 ± %2")
                     .arg(full(analysis.reference->value),
                          shortly(analysis.reference->uncertainty, 2));
        if (!analysis.referenceNote.empty()) {
            lines << text(analysis.referenceNote);
        }
    } else if (analysis.divergence) {
        lines << QCoreApplication::translate("LearningAids", "Reference: none, as ") +
                     text(divergenceText(*analysis.divergence));
    } else if (run.integrand.expression() != nullptr) {
        lines << QCoreApplication::translate("LearningAids", "Reference: none, as ") +
                     text(analysis.whyNoReference);
    } else {
        lines << QCoreApplication::translate(
            "LearningAids", "Exact integral: not a finite number (beyond the double range)");
    }
    if (row.roundingLevel) {
        lines << QStringLiteral(
                     "Error: at the rounding level of a double (the rule's own error is no larger "
                     "than %1, the rounding this row's arithmetic carries), so it teaches nothing "
                     "about the method")
                     .arg(shortly(*row.roundingCarried, 2));
    } else if (row.belowReferenceUncertainty) {
        lines << QStringLiteral(
            "Error: not shown, as it is no larger than ten times the reference's own "
            "uncertainty");
    } else if (row.error) {
        QString error =
            (analysis.exact
                 ? QCoreApplication::translate("LearningAids", "Error (estimate - exact): ")
                 : QCoreApplication::translate("LearningAids", "Error (estimate - reference): ")) +
            shortly(*row.error);
        if (row.relativeError) {
            error += QCoreApplication::translate("LearningAids", ", relative ") +
                     shortly(*row.relativeError, 3);
        }
        lines << error;
        if (row.methodError && row.roundingError) {
            lines << QCoreApplication::translate(
                         "LearningAids",
                         "Error of the rule: %1; rounding of the double arithmetic: %2")
                         .arg(shortly(*row.methodError), shortly(*row.roundingError, 2));
        }
    }
    lines
        << QCoreApplication::translate("LearningAids", "Evaluations of f: %1").arg(row.evaluations);
    if (row.estimatedError) {
        lines << QCoreApplication::translate(
                     "LearningAids",
                     "The method's own error estimate, made without the exact value: ") +
                     shortly(*row.estimatedError);
    }
    if (!row.tableau.empty()) {
        lines << QCoreApplication::translate("LearningAids",
                                             "Romberg's table, R(j, 0..j) for j = 0..%1:")
                     .arg(row.tableau.size() - 1);
        for (const std::vector<double>& line : row.tableau) {
            QStringList cells;
            for (const double value : line) {
                cells << shortly(value, 12);
            }
            lines << QStringLiteral("  ") + cells.join(QStringLiteral("  "));
        }
    }
    if (row.errorRatio) {
        lines << QCoreApplication::translate("LearningAids", "Error over the previous row's: ") +
                     shortly(*row.errorRatio);
    }
    if (row.observedOrder) {
        lines << QCoreApplication::translate("LearningAids",
                                             "Observed order, log(e_prev/e) / log(n/n_prev): ") +
                     QString::number(*row.observedOrder, 'f', 2);
    }
    if (methodOf(run.method).statistical()) {
        lines << monteCarloLines(run, analysis, row);
    }
    return lines;
}

// Rich text, so that the tooltip wraps at about eighty characters instead of running as wide
// as its longest line; the spaces and line breaks of the text stay as they are.
QString asTooltip(const QStringList& lines) {
    return QCoreApplication::translate("LearningAids", "<p style=\"white-space:pre-wrap\">") +
           lines.join(QLatin1Char('\n')).toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace

QString rowTooltip(const MethodRun& run, const RunAnalysis& analysis, std::size_t row) {
    QStringList lines;
    lines << QString::fromStdString(run.rows[row]);
    lines << figures(run, analysis, row);
    return asTooltip(lines);
}

QString summaryTooltip(const MethodRun& run, const RunAnalysis& analysis) {
    if (!run.summary || analysis.rows.empty()) {
        return {};
    }
    const std::size_t last = analysis.rows.size() - 1;
    QStringList lines;
    lines << QString::fromStdString(*run.summary)
          << QCoreApplication::translate("LearningAids", "The estimate of the last row, for %1 %2.")
                 .arg(analysis.rows[last].counter)
                 .arg(methodText(methodInfo(run.method).unit));
    if (analysis.observedSlope && analysis.observedSlopeError) {
        const QString slope =
            QStringLiteral("%1 ± %2").arg(QString::number(*analysis.observedSlope, 'f', 2),
                                          QString::number(*analysis.observedSlopeError, 'f', 2));
        lines << (*analysis.observedSlopeError > kSlopeTooUncertain
                      ? QStringLiteral(
                            "Too few rows to tell how fast the errors fall: fitted by least "
                            "squares, their power of N is %1, too uncertain to tell -1/2 (the "
                            "pace of independent samples) from -1")
                            .arg(slope)
                      : QStringLiteral(
                            "The errors fall as N to the power %1 over the rows (fitted by "
                            "least squares, with its standard error; -1/2 is the pace of "
                            "independent samples)")
                            .arg(slope));
    }
    lines << figures(run, analysis, last);
    return asTooltip(lines);
}

}  // namespace integral
