// SPDX-License-Identifier: GPL-3.0-or-later
// Where a method evaluates the integrand, for whoever wants to see how a row was made: the
// views that draw it, the rounding rule that weighs it, the table tool's --points. A table
// reports to an observer only when one is passed; without one its loops are those of a plain
// run, so nothing is stored or slowed down.
#pragma once

#include <cstdint>

namespace integral {

// The weight of an evaluation as the rule defines it, before any rounding:
// coefficient * (x2 - x1) / denominator with the limits' exact difference. The parabolic rule's
// 1, 4, 1 over 6n; Gauss's stored weight over 2. The same rule in exact arithmetic is then the
// sum of these weights times f at the very nodes the row used.
struct RuleWeight {
    double coefficient = 0.0;
    double denominator = 1.0;
};

// Where a node of an evenly spaced rule lies before any rounding: x1 + (x2 - x1) * index /
// count. The double node is an ulp or so away; the rule's own error is the rule on these nodes,
// and what the doubles move them by is rounding like any other.
struct ExactNode {
    double index = 0.0;
    double count = 1.0;
};

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

    // The same, with the weight as the rule defines it; the deterministic tables report through
    // this; an observer that does not need the rule hears of it as evaluated().
    virtual void evaluatedByRule(double x, double fx, double weight, RuleWeight rule) {
        (void)rule;
        evaluated(x, fx, weight);
    }

    // The same, with the node as the rule places it.
    virtual void evaluatedOnGrid(double x, double fx, double weight, RuleWeight rule,
                                 ExactNode node) {
        (void)node;
        evaluatedByRule(x, fx, weight, rule);
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
