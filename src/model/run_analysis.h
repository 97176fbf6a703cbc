// SPDX-License-Identifier: GPL-3.0-or-later
// What a student learns from the rows of a run: the exact value, each row's error and what it
// cost, how fast the error falls, and for Monte Carlo the statistical uncertainty and the
// value the estimates converge to when the box does not hold the curve. Errors always come
// from the full-precision estimates, never from the rounded row texts.
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
    std::optional<double> error;          // estimate - exact
    std::optional<double> relativeError;  // error / exact, when the exact value is not 0
    std::optional<double> errorRatio;     // this row's error over the previous row's
    std::optional<double> observedOrder;  // parabolic rule: log(e_prev/e) / log(n/n_prev)
    std::optional<double> sigma;          // Monte Carlo: box area * sqrt(p(1-p)/N)
    std::optional<double> sigmas;         // Monte Carlo: error / sigma
};

// The integral of f clipped to the Monte Carlo box: what the estimates converge to.
struct ClippedIntegral {
    double value = 0.0;
    double offExact = 0.0;  // value - exact
};

struct RunAnalysis {
    std::optional<double> exact;  // nothing when it is not a finite double
    std::vector<RowAnalysis> rows;
    std::optional<ClippedIntegral> clipped;  // Monte Carlo, when the box clips the curve
};

RunAnalysis analyse(const MethodRun& run);

// The integral the Monte Carlo estimates converge to for a box of height ymax over x1..x2, by a
// fine midpoint sum (the clipping leaves kinks that no higher rule would see); nothing where f
// fails. `clips` tells whether the box cuts the curve or the curve leaves 0..ymax anywhere.
struct BoxLimit {
    double value = 0.0;
    bool clips = false;
};
std::optional<BoxLimit> monteCarloLimit(const Variant& fnum, double x1, double x2, double ymax);

// The table as tab-separated text with a header line: n and the estimate, and with the details
// also exact, error, evaluations and, for Monte Carlo, sigma. Every number at full precision
// (the shortest text that reads back as the same double), the point as decimal separator; an
// empty field where a value does not exist.
std::string tableAsTsv(const RunAnalysis& analysis, Method method, bool details);

// The shortest text that reads back as the same double.
std::string fullPrecision(double value);

}  // namespace integral
