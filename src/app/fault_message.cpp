// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fault_message.h"

#include <QStringList>

#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"

namespace integral {

namespace {

QString number(double value) {
    return QString::number(value, 'g', 15);
}

QString unitOf(Method method) {
    switch (method) {
        case Method::Zelbrin:
            return QStringLiteral("panels");
        case Method::Gauss:
            return QStringLiteral("nodes");
        case Method::MonteCarlo:
            break;
    }
    return QStringLiteral("samples");
}

QString where(const FaultReport& report) {
    switch (report.activity) {
        case Activity::EnteringLimit:
            return QStringLiteral("reading the number typed into a limit box");
        case Activity::Shading:
            return QStringLiteral("shading the area between the limits");
        case Activity::DrawingBox:
            return QStringLiteral("drawing the Monte Carlo box");
        case Activity::Plotting:
            return QStringLiteral("plotting the curve");
        case Activity::Running:
            break;
    }
    if (!report.method) {
        return QStringLiteral("computing the integral");
    }
    const MethodInfo& info = methodInfo(*report.method);
    QString text = QStringLiteral("running \"%1\" (%2)")
                       .arg(QString::fromUtf8(info.caption.data(), info.caption.size()),
                            QString::fromUtf8(info.description.data(), info.description.size()));
    if (report.rowCounter) {
        text += QStringLiteral(", on the row for %1 %2")
                    .arg(*report.rowCounter)
                    .arg(unitOf(*report.method));
    }
    return text;
}

QString advice(const FaultReport& report) {
    switch (report.fault) {
        case Fault::OutOfMemory:
            return QStringLiteral(
                "The computer ran out of memory. Close other programs and try "
                "again; everything entered so far is kept.");
        case Fault::SubscriptOutOfRange:
            return QStringLiteral("A table was read past its end. Please report this.");
        case Fault::DivisionByZero:
        case Fault::InvalidOperation:
            return QStringLiteral("A quotient had no value there. Choose other limits.");
        case Fault::Overflow:
            break;
    }
    if (report.activity == Activity::EnteringLimit) {
        return QStringLiteral(
            "The number is beyond what the program can hold (about 1.8e308). "
            "The limit keeps its previous value.");
    }
    if (!report.x) {
        return QStringLiteral(
            "The limits are so far out that the arithmetic itself overflows. "
            "Choose limits nearer the origin.");
    }
    if (formulaOf(report.fnum) == Formula::XExp && *report.x < 0) {
        return QStringLiteral(
            "x*Exp(-x) grows beyond every bound to the left of the origin: "
            "the canvas holds values up to about 3.4e38 (reached near "
            "x = -93) and e^-x itself overflows below x = -709.78. Choose a "
            "lower limit nearer the origin.");
    }
    return QStringLiteral(
        "The value there is beyond what the program can hold or draw. Choose "
        "limits nearer the origin.");
}

}  // namespace

QString faultMessage(const FaultReport& report) {
    QStringList lines;
    const std::string_view name = faultName(report.fault);
    lines << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) << QString();
    lines << QStringLiteral("Where: ") + where(report) + QLatin1Char('.');
    if (report.x) {
        lines << QStringLiteral("At x = ") + number(*report.x) + QLatin1Char('.');
    }
    const Formula formula = formulaOf(report.fnum);
    if (formula == Formula::None) {
        lines << QStringLiteral("Integrand: none chosen.");
    } else {
        const std::string_view label = kIntegrandLabels[static_cast<std::size_t>(formula) - 1];
        lines << QStringLiteral("Integrand: ") +
                     QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())) +
                     QLatin1Char('.');
    }
    lines << QString() << advice(report);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace integral
