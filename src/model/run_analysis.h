// SPDX-License-Identifier: GPL-3.0-or-later
// What a student learns from the rows of a run: the exact value (for a typed integrand a
// reference by adaptive quadrature, with its own uncertainty), each row's error and what it
// cost, how fast the error falls, and for Monte Carlo the statistical uncertainty and the value
// the estimates converge to. Errors always come from the full-precision estimates, never from
// the rounded row texts. A figure that cannot be trusted is left out, never shown as a number:
// an error no larger than the rounding the row's own arithmetic carries is "at the rounding
// level", and no figure here is ever infinite or NaN.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/model.h"

namespace integral {

struct RowAnalysis {
    std::int64_t counter = 0;
    double estimate = 0.0;
    std::int64_t evaluations = 0;
    // The parabolic rule and Gauss: how far rounding moved the estimate, computed: the estimate
    // minus the same rule on the same nodes in exact arithmetic (for a typed integrand, the
    // values it used summed exactly).
    std::optional<double> roundingError;
    // The rounding the row carries in all: |roundingError|, and for a typed integrand what the
    // rounding of f's own values and arguments can add (measured on the neighbours of each x).
    std::optional<double> roundingCarried;
    // The rule's own error: the same rule in exact arithmetic minus the exact integral (for a
    // typed integrand, error - roundingError).
    std::optional<double> methodError;
    // |methodError| > roundingCarried: the rule's error can be told from the rounding.
    bool ruleErrorVisible = false;
    // 0 < |methodError| <= roundingCarried: the rule's error is lost in the rounding, and
    // neither it nor a ratio or order is given.
    bool roundingLevel = false;
    // |estimate - reference| is not well above the reference's own uncertainty: no error is
    // given, as the reference cannot tell it.
    bool belowReferenceUncertainty = false;
    std::optional<double> error;          // estimate - exact
    std::optional<double> relativeError;  // error / exact, when the exact value is not 0
    std::optional<double> errorRatio;     // this row's rule error over the previous row's
    std::optional<double> observedOrder;  // parabolic rule: log(e_prev/e) / log(n/n_prev)
    std::optional<double> sigma;          // Monte Carlo: |box area| * sqrt(p(1-p)/N)
    // No sample hit, or every one did: the samples show no spread, and sigma is half the rule
    // of three's 95 % bound, |box area| * 1.5 / N.
    bool sigmaFromRuleOfThree = false;
    std::optional<double> sigmasFromLimit;  // Monte Carlo: (estimate - limit) / sigma
    // The error the method claims for this row without knowing the exact value: from two
    // consecutive rows for most rules, its own accumulated estimates for adaptive Simpson, 2
    // sigma for Monte Carlo; nothing on a first row that needs a previous one.
    std::optional<double> estimatedError;
    // The method's own estimate fell below the rounding its estimate carries (or a few ulps of
    // it): the claim is that rounding, "at the rounding level", never less.
    bool claimAtRoundingLevel = false;
    // Romberg: the row's whole table, R(j, 0..j) for j = 0..k.
    std::vector<std::vector<double>> tableau;
};

// What the Monte Carlo estimates converge to: the box's area times the share of the box that
// lies below the curve. It is the exact integral only when the box holds the curve, from 0 up
// to ymax above the axis; otherwise it differs from it by `offExact`.
struct MonteCarloLimit {
    double value = 0.0;
    bool holdsCurve = true;
    std::optional<double> offExact;  // value - exact, when the box does not hold the curve
};

struct RunAnalysis {
    // What the rows are measured against; nothing when it is not a finite double, when the
    // integral does not exist or when it cannot be known here.
    std::optional<ReferenceValue> reference;
    // Where there is no reference: the integral does not exist, or the reason in words.
    std::optional<Divergence> divergence;
    std::string whyNoReference;
    // Where f loses its digits to cancellation, in words: the reference's uncertainty includes
    // that rounding. Empty elsewhere.
    std::string referenceNote;
    // The reference when it is a closed form: the exact integral.
    std::optional<double> exact;
    std::vector<RowAnalysis> rows;
    std::optional<MonteCarloLimit> limit;  // Monte Carlo, where it can be computed
    // The statistical methods: the slope of log |error| against log N over the rows, fitted by
    // least squares (about -1/2 for pseudo-random samples, nearer -1 for Sobol's on a smooth f);
    // nothing with fewer than three errors to fit. With its standard error, which says how well
    // the rows pin it down: noisy errors over a short range of N leave it uncertain by tenths.
    std::optional<double> observedSlope;
    std::optional<double> observedSlopeError;
};

// The least-squares slope of log |error| against log N over the rows with a nonzero error, and
// its standard error; nothing with fewer than three such rows.
struct SlopeFit {
    double slope = 0.0;
    double standardError = 0.0;
};
std::optional<SlopeFit> errorSlope(const std::vector<RowAnalysis>& rows);

// The least a method's own error estimate claims: four ulps of its estimate, below which a
// double cannot tell an error at all; for an estimate summed from `evaluations` values of f,
// eps sqrt(evaluations) of it where that is more, the rounding such a sum carries (a random
// walk of one rounding per addition, at about three of its standard deviations).
double claimFloor(double estimate, std::int64_t evaluations = 1);

// Where a slope's standard error exceeds this, the rows cannot tell the paces a student compares
// (-1/2 for independent samples, -1 for well-spread ones) apart.
inline constexpr double kSlopeTooUncertain = 0.5;

// Without splitRounding the rows are not made again to weigh their rounding (no roundingError,
// methodError or rounding level): what the race needs, at a fraction of the cost.
RunAnalysis analyse(const MethodRun& run, bool splitRounding = true);

// A run with its analysis, for whoever shows one run in several places: the analysis replays
// the run and, for Monte Carlo, samples the curve finely, so it is made once per run.
struct AnalysedRun {
    MethodRun run;
    RunAnalysis analysis;
};
AnalysedRun analysed(MethodRun run);

// The Monte Carlo limit for a box of height ymax over x1..x2; nothing where f fails or a value
// is beyond the doubles. Where the box holds the curve the limit is the exact value itself.
std::optional<MonteCarloLimit> monteCarloLimit(const IntegrandDescriptor& f, double x1, double x2,
                                               double ymax, std::optional<double> exact);

// The table as tab-separated text with a header line: n and the estimate, and with the details
// also exact, reference, reference_error, error, ratio, order, evaluations, whether the error is at
// the rounding level (1 or 0) and, for Monte Carlo, sigma, the limit and the distance from it in
// sigmas. Every number at full precision (the shortest text that reads back as the same double),
// the point as decimal separator; an empty field where a figure does not exist.
std::string tableAsTsv(const RunAnalysis& analysis, Method method, bool details);

// A line that says what made a table, to go before it: a "#" first, so that a spreadsheet shows
// it as a line of text and a data-frame reader skips it as a comment.
//   "# Gauss (Gauss-Legendre quadrature, 2 to 6 nodes) of y = 4 / (x*x + 1) from 0 to 1"
std::string tableCaption(const MethodRun& run);

}  // namespace integral
