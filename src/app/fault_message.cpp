// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fault_message.h"
#include "app/utf8.h"

#include <QStringList>

#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"

namespace integral {

namespace {

QString number(double value) {
    return QString::number(value, 'g', 15);
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
    QString place =
        QStringLiteral("running \"%1\" (%2)").arg(text(info.caption), text(info.description));
    if (report.rowCounter) {
        place +=
            QStringLiteral(", on the row for %1 %2").arg(*report.rowCounter).arg(text(info.unit));
    }
    return place;
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
    lines << text(name) << QString();
    lines << QStringLiteral("Where: ") + where(report) + QLatin1Char('.');
    if (report.x) {
        lines << QStringLiteral("At x = ") + number(*report.x) + QLatin1Char('.');
    }
    const Formula formula = formulaOf(report.fnum);
    if (formula == Formula::None) {
        lines << QStringLiteral("Integrand: none chosen.");
    } else {
        const std::string_view label = kIntegrandLabels[static_cast<std::size_t>(formula) - 1];
        lines << QStringLiteral("Integrand: ") + text(label) + QLatin1Char('.');
    }
    lines << QString() << advice(report);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace integral
