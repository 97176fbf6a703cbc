// SPDX-License-Identifier: GPL-3.0-or-later
// How one row of a run was made: every evaluation of f it took, in the order the row took
// them, with the weight each value enters the estimate with; for Monte Carlo every sample, at
// its place in the box, hit or miss. Nothing of this is kept by a run: the rows are made again
// on request, a Monte Carlo row from the generator as that row found it, so that they are the
// very points the run used.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/model.h"
#include "quadrature/evaluation_observer.h"

namespace integral {

struct EvaluationPoint {
    double x = 0.0;
    double fx = 0.0;
    double weight = 0.0;  // the parabolic rule and Gauss
    double y = 0.0;       // Monte Carlo: the sample's height
    bool hit = false;     // Monte Carlo: strictly below the curve
};

struct RowPoints {
    std::int64_t counter = 0;
    std::vector<EvaluationPoint> points;
};

// The deterministic run made again from its inputs with `observer` watching every evaluation.
// A fault propagates as RuntimeError, at the place where the run itself stopped.
void runAgain(const MethodRun& run, EvaluationObserver& observer);

// The points of row `row` of `run`; nothing when the run has no such row, or when making it
// again fails (it cannot, for a row the run completed).
std::optional<RowPoints> replayRow(const MethodRun& run, std::size_t row);

}  // namespace integral
