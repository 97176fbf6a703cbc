// SPDX-License-Identifier: GPL-3.0-or-later
// Where a method evaluates the integrand, for whoever wants to see how a row was made: the
// views that draw it, the rounding rule that weighs it, the table tool's --points. A table
// reports to an observer only when one is passed; without one its loops are those of a plain
// run, so nothing is stored or slowed down.
#pragma once

#include <cstdint>

namespace integral {

class EvaluationObserver {
  public:
    virtual ~EvaluationObserver() = default;

    // A row begins; `counter` is its panels, nodes or samples.
    virtual void rowStarted(std::int64_t counter) { (void)counter; }

    // Whether every evaluation or sample is wanted, or only the start of each row (then a
    // Monte Carlo table keeps its fast loops).
    virtual bool wantsEvaluations() const { return true; }

    // The parabolic rule and Gauss: f was evaluated at x, and the value enters the row's
    // estimate with `weight`, so that the estimate is the sum of weight * fx over the row's
    // evaluations, in their order (up to the rounding of that other grouping).
    virtual void evaluated(double x, double fx, double weight) {
        (void)x;
        (void)fx;
        (void)weight;
    }

    // Monte Carlo: one sample at (x, y), f(x) there, and whether it counted as a hit.
    virtual void sampled(double x, double y, double fx, bool hit) {
        (void)x;
        (void)y;
        (void)fx;
        (void)hit;
    }
};

}  // namespace integral
