// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/adaptive_simpson_table.h"

#include <cmath>
#include <map>

#include "quadrature/node_within.h"
#include "quadrature/number_format.h"

namespace integral {

namespace {

constexpr int kMostDepth = 50;
constexpr std::int64_t kMostEvaluations = 200000;

class Adaptive {
  public:
    Adaptive(Integrand f, const Variant& x1, const Variant& x2) : f_(f), x1_(x1), x2_(x2) {}

    // f at x, evaluated once; its place in the order of evaluation is kept for the observer.
    double at(double x) {
        const NodeValue node = valueWithin(f_, Variant::real(x), x1_, x2_);
        const double value = node.value.toDouble();
        order_.push_back({x, node.x.toDouble(), value});
        ++row_.evaluations;
        return value;
    }

    // The panel a..b, its values at a, the middle and b, its Simpson value and its share of
    // the tolerance. The weights of an accepted panel are Boole's: 7, 32, 12, 32, 7 over 90
    // of its width, at depth d that width being (x2 - x1) / 2^d.
    double panel(double a, double fa, double m, double fm, double b, double fb, double whole,
                 double tolerance, int depth) {
        const double left = a + (m - a) / 2;
        const double right = m + (b - m) / 2;
        const double fl = at(left);
        const double fr = at(right);
        const double halves = (m - a) / 6 * (fa + 4 * fl + fm) + (b - m) / 6 * (fm + 4 * fr + fb);
        const double change = halves - whole;
        const bool settled = std::fabs(change) <= 15 * tolerance;
        const bool further = depth < kMostDepth && a < left && left < m && m < right && right < b &&
                             row_.evaluations < kMostEvaluations;
        if (settled || !further) {
            row_.ownError += std::fabs(change) / 15;
            row_.panels.push_back({a, b, depth});
            const double share = std::ldexp(1.0, -depth);
            weigh(a, 7 * share);
            weigh(left, 32 * share);
            weigh(m, 12 * share);
            weigh(right, 32 * share);
            weigh(b, 7 * share);
            return halves + change / 15;
        }
        return panel(a, fa, left, fl, m, fm, (m - a) / 6 * (fa + 4 * fl + fm), tolerance / 2,
                     depth + 1) +
               panel(m, fm, right, fr, b, fb, (b - m) / 6 * (fm + 4 * fr + fb), tolerance / 2,
                     depth + 1);
    }

    AdaptiveSimpsonRow take(EvaluationObserver* observer, double width) {
        if (observer != nullptr) {
            for (const Evaluation& e : order_) {
                const double coefficient = weights_[e.intended];
                observer->evaluatedByRule(e.where, e.value, coefficient * width / 90,
                                          {coefficient, 90.0});
            }
        }
        return std::move(row_);
    }

  private:
    void weigh(double x, double coefficient) { weights_[x] += coefficient; }

    struct Evaluation {
        double intended;
        double where;
        double value;
    };

    Integrand f_;
    const Variant& x1_;
    const Variant& x2_;
    AdaptiveSimpsonRow row_;
    std::vector<Evaluation> order_;
    std::map<double, double> weights_;  // by the node as the rule placed it
};

}  // namespace

AdaptiveSimpsonRow adaptiveSimpson(Integrand f, const Variant& x1, const Variant& x2, int k,
                                   EvaluationObserver* observer) {
    const double a = x1.toDouble();
    const double b = x2.toDouble();
    Adaptive adaptive(f, x1, x2);
    const double m = a + (b - a) / 2;
    const double fa = adaptive.at(a);
    const double fm = adaptive.at(m);
    const double fb = adaptive.at(b);
    const double whole = (b - a) / 6 * (fa + 4 * fm + fb);
    double scale = std::fabs(whole);
    if (scale == 0.0) {
        scale = std::fabs(b - a) * (std::fabs(fa) + std::fabs(fm) + std::fabs(fb)) / 3;
    }
    const double tolerance = std::pow(10.0, -k) * scale;
    AdaptiveSimpsonRow row;
    const double estimate =
        a < m && m < b ? adaptive.panel(a, fa, m, fm, b, fb, whole, tolerance, 0) : whole;
    row = adaptive.take(observer, b - a);
    row.estimate = estimate;
    return row;
}

void adaptiveSimpsonTable(Integrand f, const Variant& x1, const Variant& x2, ResultsPanel& panel,
                          EvaluationObserver* observer) {
    double estimate = 0.0;
    for (int k = 1; k <= kSimpsonTolerances; ++k) {
        if (observer != nullptr) {
            observer->rowStarted(k);
        }
        const AdaptiveSimpsonRow row = adaptiveSimpson(f, x1, x2, k, observer);
        estimate = row.estimate;
        panel.addRow(plainText(Variant::real(std::pow(10.0, -k))),
                     plainText(Variant::real(estimate)),
                     {.counter = k,
                      .estimate = estimate,
                      .evaluations = row.evaluations,
                      .ownError = row.ownError});
    }
    panel.setSummary(estimate);
}

}  // namespace integral
