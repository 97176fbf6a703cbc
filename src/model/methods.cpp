// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/methods.h"

#include <algorithm>
#include <boost/math/quadrature/gauss.hpp>
#include <cmath>

#include "quadrature/adaptive_simpson_table.h"
#include "quadrature/clenshaw_curtis_table.h"
#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/newton_cotes_tables.h"
#include "quadrature/romberg_table.h"
#include "quadrature/sampling_tables.h"
#include "quadrature/zelbrin_table.h"

namespace integral {

namespace {

// The Gauss-Legendre rule of M nodes with the library's full-precision abscissae and weights,
// mapped onto a..b.
template <int M>
std::optional<double> fullPrecisionGauss(Integrand f, double a, double b) {
    using Rule = boost::math::quadrature::gauss<double, M>;
    const double half = (b - a) / 2.0;
    const double middle = (a + b) / 2.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < Rule::abscissa().size(); ++i) {
        const double t = Rule::abscissa()[i];
        const double w = Rule::weights()[i];
        sum += w * f(Variant::real(middle + half * t)).toDouble();
        if (t != 0.0) {
            sum += w * f(Variant::real(middle - half * t)).toDouble();
        }
    }
    const double value = sum * half;
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// The most evaluations a size may cost: the race's largest budget.
constexpr std::int64_t kLargestSample = 1'000'000;

// One row of a statistical method at `counter`, from the generator as it stands.
RowFigures oneRow(const NumericalMethod& method, Integrand f, MethodState& state,
                  std::int64_t counter) {
    ResultsPanel panel;
    method.runRow(f, state, counter, panel, nullptr);
    return panel.figures().front();
}

// |this row - the row before| times a factor: the usual estimate of a rule's error from two
// refinements.
std::optional<double> fromPrevious(const std::vector<RowFigures>& rows, std::size_t i,
                                   double factor) {
    if (i == 0 || i >= rows.size()) {
        return std::nullopt;
    }
    const double estimate = std::fabs(rows[i].estimate - rows[i - 1].estimate) * factor;
    return std::isfinite(estimate) ? std::optional<double>(estimate) : std::nullopt;
}

class ParabolicRule final : public NumericalMethod {
  public:
    using NumericalMethod::NumericalMethod;
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        zelbrinTable(f, state.x1, state.x2, panel, observer);
    }
    std::optional<MethodSizes> sizes() const override {
        return MethodSizes{2, kLargestSample / 2, [](std::int64_t n) { return 2 * n + 1; }};
    }
    RowFigures runAt(Integrand f, MethodState& state, std::int64_t n) const override {
        return zelbrinAt(f, state.x1, state.x2, n);
    }
};

class GaussLegendre final : public NumericalMethod {
  public:
    using NumericalMethod::NumericalMethod;
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        gaussTable(f, state.x1, state.x2, *state.node, *state.weight, panel, observer);
    }
    std::optional<double> fullPrecisionEstimate(Integrand f, double x1, double x2,
                                                std::int64_t counter) const override {
        switch (counter) {
            case 2:
                return fullPrecisionGauss<2>(f, x1, x2);
            case 3:
                return fullPrecisionGauss<3>(f, x1, x2);
            case 4:
                return fullPrecisionGauss<4>(f, x1, x2);
            case 5:
                return fullPrecisionGauss<5>(f, x1, x2);
            case 6:
                return fullPrecisionGauss<6>(f, x1, x2);
            default:
                return std::nullopt;
        }
    }
    std::optional<MethodSizes> sizes() const override {
        return MethodSizes{1, kLargestSample / 2, gaussEvaluations, gaussSizeAllowed,
                           "2 to 20 nodes in one rule, or multiples of 20 to 500000 nodes in "
                           "panels of 20"};
    }
    RowFigures runAt(Integrand f, MethodState& state, std::int64_t n) const override {
        return gaussAt(f, state.x1, state.x2, n);
    }
};

class HitOrMiss final : public NumericalMethod {
  public:
    using NumericalMethod::NumericalMethod;
    bool samplesABox() const override { return true; }
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        monteCarloTable(f, state.x1, state.x2, state.ymax, *state.hits, *state.random, panel, {},
                        observer);
    }
    void runRow(Integrand f, MethodState& state, std::int64_t counter, ResultsPanel& panel,
                EvaluationObserver* observer) const override {
        const auto count = static_cast<std::int32_t>(counter);
        monteCarloTable(f, state.x1, state.x2, state.ymax, *state.hits, *state.random, panel,
                        {count, count, 1}, observer);
    }
    std::optional<MethodSizes> sizes() const override {
        return MethodSizes{1, kLargestSample, [](std::int64_t n) { return n; }};
    }
    RowFigures runAt(Integrand f, MethodState& state, std::int64_t n) const override {
        RowFigures row = oneRow(*this, f, state, n);
        const double area = state.ymax.toDouble() * (state.x2.toDouble() - state.x1.toDouble());
        row.sigma = hitOrMissSigma(area, row.hits, row.counter);
        return row;
    }
};

// Mean-value, stratified and shifted Sobol sampling: each row measures its own spread.
class Sampling final : public NumericalMethod {
  public:
    using Table = void (*)(Integrand, const Variant&, const Variant&, RandomGenerator&,
                           ResultsPanel&, EvaluationObserver*, std::int64_t);
    Sampling(const MethodInfo& info, Table table, MethodSizes sizes)
        : NumericalMethod(info), table_(table), sizes_(sizes) {}
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        table_(f, state.x1, state.x2, *state.random, panel, observer, 0);
    }
    void runRow(Integrand f, MethodState& state, std::int64_t counter, ResultsPanel& panel,
                EvaluationObserver* observer) const override {
        table_(f, state.x1, state.x2, *state.random, panel, observer, counter);
    }
    std::optional<MethodSizes> sizes() const override { return sizes_; }
    // A size is samples in all: Sobol's points are n / 16, each taken once per shift.
    RowFigures runAt(Integrand f, MethodState& state, std::int64_t n) const override {
        const std::int64_t counter = info().method == Method::Sobol ? n / kSobolShifts : n;
        RowFigures row = oneRow(*this, f, state, counter);
        row.counter = n;
        return row;
    }

  private:
    Table table_;
    MethodSizes sizes_;
};

// A rule whose table needs nothing but f and the limits: the trapezoid and midpoint rules,
// Romberg, Clenshaw-Curtis and adaptive Simpson.
struct RuleTraits {
    // The rule at any size, where it has one, with its own error estimate.
    RowFigures (*at)(Integrand, const Variant&, const Variant&, std::int64_t) = nullptr;
    std::optional<MethodSizes> sizes = std::nullopt;
};

class TableRule final : public NumericalMethod {
  public:
    using Table = void (*)(Integrand, const Variant&, const Variant&, ResultsPanel&,
                           EvaluationObserver*);
    TableRule(const MethodInfo& info, Table table, RuleTraits traits)
        : NumericalMethod(info), table_(table), traits_(traits) {}
    void run(Integrand f, MethodState& state, ResultsPanel& panel,
             EvaluationObserver* observer) const override {
        table_(f, state.x1, state.x2, panel, observer);
    }
    std::optional<MethodSizes> sizes() const override { return traits_.sizes; }
    RowFigures runAt(Integrand f, MethodState& state, std::int64_t n) const override {
        return traits_.at(f, state.x1, state.x2, n);
    }

  private:
    Table table_;
    RuleTraits traits_;
};

const ParabolicRule kParabolicRule(methodInfo(Method::Zelbrin));
const GaussLegendre kGaussLegendre(methodInfo(Method::Gauss));
const HitOrMiss kHitOrMiss(methodInfo(Method::MonteCarlo));
RowFigures rombergLevel(Integrand f, const Variant& x1, const Variant& x2, std::int64_t k) {
    return rombergAt(f, x1, x2, static_cast<int>(k));
}
RowFigures clenshawCurtisIntervals(Integrand f, const Variant& x1, const Variant& x2,
                                   std::int64_t n) {
    return clenshawCurtisAt(f, x1, x2, static_cast<int>(n));
}

const TableRule kTrapezoid(methodInfo(Method::Trapezoid), trapezoidTable,
                           {trapezoidAt,
                            MethodSizes{2, kLargestSample, [](std::int64_t n) { return n + 1; }}});
const TableRule kMidpoint(methodInfo(Method::Midpoint), midpointTable,
                          {midpointAt, MethodSizes{2, kLargestSample,
                                                   [](std::int64_t n) { return n + n / 2; }}});
const TableRule kRomberg(methodInfo(Method::Romberg), rombergTable,
                         {rombergLevel, MethodSizes{1, kRombergDeepest, [](std::int64_t k) {
                                                        return (std::int64_t{1} << k) + 1;
                                                    }}});
RowFigures simpsonTolerance(Integrand f, const Variant& x1, const Variant& x2, std::int64_t k) {
    const AdaptiveSimpsonRow row = adaptiveSimpson(f, x1, x2, static_cast<int>(k));
    return {.counter = k,
            .estimate = row.estimate,
            .evaluations = row.evaluations,
            .ownError = row.ownError};
}

const TableRule kAdaptiveSimpson(methodInfo(Method::AdaptiveSimpson), adaptiveSimpsonTable,
                                 {simpsonTolerance,
                                  MethodSizes{1, kSimpsonFinestTolerance, nullptr, nullptr,
                                              "tolerances 10^-n for n from 1 to 15"}});
const TableRule kClenshawCurtis(methodInfo(Method::ClenshawCurtis), clenshawCurtisTable,
                                {clenshawCurtisIntervals,
                                 MethodSizes{4, kChebyshevLargest, [](std::int64_t n) {
                                                 return (n + 1) + (n / 2 + 1);
                                             }}});
const Sampling kMeanValue(methodInfo(Method::MeanValue), meanValueTable,
                          {2, kLargestSample, [](std::int64_t n) { return n; }});
const Sampling kStratified(methodInfo(Method::Stratified), stratifiedTable,
                           {2, kLargestSample, [](std::int64_t n) { return n; }});
const Sampling kSobol(methodInfo(Method::Sobol), sobolTable,
                      {2 * kSobolShifts, kLargestSample, [](std::int64_t n) { return n; }, nullptr,
                       "multiples of 32 from 32 to 1000000 samples: a sixteenth of them points, "
                       "each taken with 16 shifts"});

// Every method's behaviour, in any order, beside the row of kMethods it is made from (which a
// test holds it to).
struct Behaviour {
    Method method;
    const NumericalMethod* behaviour;
};
constexpr Behaviour kBehaviours[] = {
    {Method::Zelbrin, &kParabolicRule},
    {Method::Gauss, &kGaussLegendre},
    {Method::MonteCarlo, &kHitOrMiss},
    {Method::Trapezoid, &kTrapezoid},
    {Method::Midpoint, &kMidpoint},
    {Method::Romberg, &kRomberg},
    {Method::AdaptiveSimpson, &kAdaptiveSimpson},
    {Method::ClenshawCurtis, &kClenshawCurtis},
    {Method::MeanValue, &kMeanValue},
    {Method::Stratified, &kStratified},
    {Method::Sobol, &kSobol},
};

constexpr std::array<const NumericalMethod*, kMethods.size()> byMethod() {
    std::array<const NumericalMethod*, kMethods.size()> table{};
    for (const Behaviour& entry : kBehaviours) {
        const auto at = static_cast<std::size_t>(entry.method);
        // Two behaviours for one method leave the slot to neither, which the check below sees.
        table[at] = table[at] == nullptr ? entry.behaviour : nullptr;
    }
    return table;
}
constexpr std::array<const NumericalMethod*, kMethods.size()> kNumericalMethods = byMethod();
static_assert(std::size(kBehaviours) == kMethods.size() &&
                  std::ranges::none_of(kNumericalMethods,
                                       [](const NumericalMethod* m) { return m == nullptr; }),
              "every row of kMethods has exactly one behaviour in kBehaviours");

}  // namespace

const NumericalMethod& methodOf(Method method) {
    return *kNumericalMethods[static_cast<std::size_t>(method)];
}

std::vector<Method> allMethods() {
    std::vector<Method> methods;
    for (const MethodInfo& info : kMethods) {
        methods.push_back(info.method);
    }
    return methods;
}

std::string methodNames(std::string_view lastJoin) {
    std::string names;
    for (std::size_t i = 0; i < kMethods.size(); ++i) {
        if (i > 0) {
            names += i + 1 == kMethods.size() ? std::string(lastJoin) : std::string(", ");
        }
        names += kMethods[i].name;
    }
    return names;
}

std::optional<int> rowOfCounter(Method method, std::int64_t counter) {
    const MethodInfo& info = methodInfo(method);
    for (int row = 0; row < info.rows; ++row) {
        if (rowCounter(method, row) == counter) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<Method> methodNamed(std::string_view name) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    const auto same = [&](std::string_view spelling) {
        if (spelling.size() != name.size()) {
            return false;
        }
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (lower(spelling[i]) != lower(name[i])) {
                return false;
            }
        }
        return true;
    };
    for (const MethodInfo& info : kMethods) {
        if (same(info.name) || same(info.caption)) {
            return info.method;
        }
    }
    return std::nullopt;
}

std::optional<double> NumericalMethod::estimatedError(const std::vector<RowFigures>& rows,
                                                      std::size_t i) const {
    switch (info_.ownError) {
        case OwnError::Richardson: {
            // Rows of n and m differ by about (1 - (m/n)^p) of the coarser row's error, so the
            // finer one's is (S_n - S_m) m^p / (n^p - m^p).
            if (i == 0 || i >= rows.size()) {
                return std::nullopt;
            }
            const double n = static_cast<double>(rows[i].counter);
            const double m = static_cast<double>(rows[i - 1].counter);
            return fromPrevious(
                rows, i,
                std::pow(m, info_.order) / (std::pow(n, info_.order) - std::pow(m, info_.order)));
        }
        case OwnError::Difference:
            return fromPrevious(rows, i, 1.0);
        case OwnError::AsItRuns:
        case OwnError::TwoSigma:
            break;
    }
    return i < rows.size() ? rows[i].ownError : std::nullopt;
}

std::string sizesText(Method method) {
    const std::optional<MethodSizes> sizes = methodOf(method).sizes();
    if (!sizes) {
        return "its table's rows only";
    }
    const std::string unit(methodInfo(method).unit);
    if (!sizes->words.empty()) {
        return std::string(sizes->words);
    }
    const std::string range = " from " + std::to_string(sizes->step) + " to " +
                              std::to_string(sizes->largest) + " " + unit;
    if (sizes->step == 1) {
        return "any number" + range;
    }
    return "multiples of " + std::to_string(sizes->step) + range;
}

std::optional<RowFigures> NumericalMethod::runWithin(Integrand f, MethodState& state,
                                                     std::int64_t budget) const {
    const std::optional<MethodSizes> all = sizes();
    if (!all) {
        return std::nullopt;
    }
    if (all->evaluations == nullptr) {
        // Only a run tells its cost, which grows with n: up the sizes until one costs too much.
        std::optional<RowFigures> within;
        for (std::int64_t n = all->step; n <= all->largest; n += all->step) {
            if (!all->has(n)) {
                continue;
            }
            RowFigures row = runAt(f, state, n);
            if (row.evaluations > budget) {
                break;
            }
            within = std::move(row);
        }
        return within;
    }
    const std::optional<std::int64_t> n = largestSizeWithin(*all, budget);
    return n ? std::optional(runAt(f, state, *n)) : std::nullopt;
}

std::optional<std::int64_t> largestSizeWithin(const MethodSizes& sizes, std::int64_t budget) {
    const auto fits = [&](std::int64_t n) { return sizes.evaluations(n) <= budget; };
    if (!fits(sizes.step)) {
        return std::nullopt;
    }
    // Doubling to a size that does not fit, then halving the gap, in multiples of the step:
    // `low` always fits, `high` never does (or lies beyond the largest).
    const std::int64_t top = sizes.largest / sizes.step;
    std::int64_t low = 1;
    std::int64_t high = 2;
    while (high <= top && fits(high * sizes.step)) {
        low = high;
        high *= 2;
    }
    high = std::min(high, top + 1);
    while (high - low > 1) {
        const std::int64_t middle = low + (high - low) / 2;
        (fits(middle * sizes.step) ? low : high) = middle;
    }
    // The cost grows with n, so the largest allowed size below the largest that fits fits too.
    for (std::int64_t n = low * sizes.step; n >= sizes.step; n -= sizes.step) {
        if (sizes.has(n)) {
            return n;
        }
    }
    return std::nullopt;
}

}  // namespace integral
