// SPDX-License-Identifier: GPL-3.0-or-later
// The methods behind one interface: what each is called (the button's or the list's caption,
// the option's spelling, its name in plots), what its rows count, how its rows are judged, how
// it estimates its own error and how it runs. Everything that treats the methods alike asks
// this interface instead of naming a method; a new method is one row of kMethods and one class.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"
#include "runtime/variant_array.h"

namespace integral {

enum class Method {
    Zelbrin,
    Gauss,
    MonteCarlo,
    Trapezoid,
    Midpoint,
    Romberg,
    AdaptiveSimpson,
    ClenshawCurtis,
    MeanValue,
    Stratified,
    Sobol,
};

// How a method's points are marked in plots beside its colour, so that two methods stay apart
// where their colours do not (printed in grey, or to an eye that tells fewer colours).
enum class Marker {
    Circle,
    Square,
    Diamond,
    TriangleUp,
    TriangleDown,
    Cross,
    Plus,
    Star,
    Pentagon,
    Hexagon,
    Bar,
};

// How a row is drawn: the parabolic rule's parabolas, weighted bars at the nodes (Gauss,
// Clenshaw-Curtis), Monte Carlo's samples in their box, the trapezoids under the chords, the
// rectangles at the midpoints, Romberg's extrapolation of the trapezoid values to h = 0, or
// adaptive Simpson's accepted panels with their parabolas and depths.
enum class RowShape {
    Parabolas,
    Bars,
    Samples,
    Trapezoids,
    Rectangles,
    Extrapolation,
    Adaptive,
    Stems,
};

// How a method estimates its own error, without the exact value:
//   Richardson  from its row and the row before, of n and m, for an error falling as n^-order:
//               |S_n - S_m| m^order / (n^order - m^order)
//   Difference  |this row - the row before|, where the row before is far the worse
//   AsItRuns    the estimate the rule makes as it runs (adaptive Simpson's panels)
//   TwoSigma    two standard deviations of a statistical estimate, measured from its samples
enum class OwnError { Richardson, Difference, AsItRuns, TwoSigma };

// The texts a person reads are marked for the translation tools, which know the marker; the
// core has no Qt and leaves them as they stand (the window translates them where it shows them).
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

// A method's names, rows, looks and traits, as data the window's layout can use at compile time.
struct MethodInfo {
    Method method;
    std::string_view caption;  // the button's caption, or the method's name in a list
    std::string_view name;     // the command line's spelling
    std::string_view description;
    std::string_view plotName;  // in the views
    std::string_view unit;      // what a row's counter counts
    int rows;
    int firstCounter;
    int counterStep;   // added from row to row, or
    int counterRatio;  // where above 1, multiplied from row to row
    bool onButton;     // one of the fixed window's three
    // Its colour in plots (0xRRGGBB): together the methods' colours are a palette that eyes
    // with any of the common colour deficiencies still tell apart (Okabe and Ito's, and Tol's).
    std::uint32_t colour;
    Marker marker;
    RowShape shape;
    OwnError ownError;
    int order;     // Richardson's order; 0 for the others
    double slope;  // of |error| against evaluations, where it follows a power; 0 where not
};

inline constexpr auto kMethods = std::to_array<MethodInfo>({
    {Method::Zelbrin, QT_TRANSLATE_NOOP("Method", "Zelbrin"), "zelbrin",
     QT_TRANSLATE_NOOP("Method", "composite parabolic rule, 2 to 20 panels"),
     QT_TRANSLATE_NOOP("Method", "Parabolic rule"), QT_TRANSLATE_NOOP("Method", "panels"), 10, 2, 2,
     1, true, 0x0072B2, Marker::Circle, RowShape::Parabolas, OwnError::Richardson, 4, -4.0},
    {Method::Gauss, QT_TRANSLATE_NOOP("Method", "Gauss"), "gauss",
     QT_TRANSLATE_NOOP("Method", "Gauss-Legendre quadrature, 2 to 6 nodes"),
     QT_TRANSLATE_NOOP("Method", "Gauss-Legendre"), QT_TRANSLATE_NOOP("Method", "nodes"), 5, 2, 1,
     1, true, 0x117733, Marker::Square, RowShape::Bars, OwnError::Difference, 0, 0.0},
    {Method::MonteCarlo, QT_TRANSLATE_NOOP("Method", "MonteCarlo"), "montecarlo",
     QT_TRANSLATE_NOOP("Method", "hit-or-miss Monte Carlo, 2000 to 50000 samples"),
     QT_TRANSLATE_NOOP("Method", "Monte Carlo"), QT_TRANSLATE_NOOP("Method", "samples"), 25, 2000,
     2000, 1, true, 0xCC6677, Marker::Diamond, RowShape::Samples, OwnError::TwoSigma, 0, -0.5},
    {Method::Trapezoid, QT_TRANSLATE_NOOP("Method", "Trapezoid"), "trapezoid",
     QT_TRANSLATE_NOOP("Method", "composite trapezoid rule, 2 to 1024 subintervals"),
     QT_TRANSLATE_NOOP("Method", "Trapezoid rule"), QT_TRANSLATE_NOOP("Method", "subintervals"), 10,
     2, 0, 2, false, 0xAA4499, Marker::TriangleUp, RowShape::Trapezoids, OwnError::Richardson, 2,
     -2.0},
    {Method::Midpoint, QT_TRANSLATE_NOOP("Method", "Midpoint"), "midpoint",
     QT_TRANSLATE_NOOP("Method", "composite midpoint rule, 2 to 1024 subintervals"),
     QT_TRANSLATE_NOOP("Method", "Midpoint rule"), QT_TRANSLATE_NOOP("Method", "subintervals"), 10,
     2, 0, 2, false, 0xE69F00, Marker::TriangleDown, RowShape::Rectangles, OwnError::Richardson, 2,
     -2.0},
    {Method::Romberg, QT_TRANSLATE_NOOP("Method", "Romberg"), "romberg",
     QT_TRANSLATE_NOOP("Method", "Romberg's extrapolation R(k,k), k = 1 to 10"),
     QT_TRANSLATE_NOOP("Method", "Romberg"), QT_TRANSLATE_NOOP("Method", "levels"), 10, 1, 1, 1,
     false, 0x44AA99, Marker::Cross, RowShape::Extrapolation, OwnError::Difference, 0, 0.0},
    {Method::AdaptiveSimpson, QT_TRANSLATE_NOOP("Method", "Adaptive Simpson"), "adaptive-simpson",
     QT_TRANSLATE_NOOP("Method", "adaptive Simpson, tolerances 1e-1 to 1e-12"),
     QT_TRANSLATE_NOOP("Method", "Adaptive Simpson"),
     QT_TRANSLATE_NOOP("Method", "digits of tolerance"), 12, 1, 1, 1, false, 0x332288, Marker::Plus,
     RowShape::Adaptive, OwnError::AsItRuns, 0, 0.0},
    {Method::ClenshawCurtis, QT_TRANSLATE_NOOP("Method", "Clenshaw-Curtis"), "clenshaw-curtis",
     QT_TRANSLATE_NOOP("Method", "Clenshaw-Curtis quadrature, 2 to 256 intervals"),
     QT_TRANSLATE_NOOP("Method", "Clenshaw-Curtis"), QT_TRANSLATE_NOOP("Method", "intervals"), 8, 2,
     0, 2, false, 0x777777, Marker::Star, RowShape::Bars, OwnError::Difference, 0, 0.0},
    {Method::MeanValue, QT_TRANSLATE_NOOP("Method", "Mean value"), "mean-value",
     QT_TRANSLATE_NOOP("Method", "mean-value Monte Carlo, 2000 to 50000 samples"),
     QT_TRANSLATE_NOOP("Method", "Mean-value Monte Carlo"), QT_TRANSLATE_NOOP("Method", "samples"),
     25, 2000, 2000, 1, false, 0x88CCEE, Marker::Pentagon, RowShape::Stems, OwnError::TwoSigma, 0,
     -0.5},
    {Method::Stratified, QT_TRANSLATE_NOOP("Method", "Stratified"), "stratified",
     QT_TRANSLATE_NOOP("Method",
                       "stratified Monte Carlo, 2000 to 50000 samples in half as many strata"),
     QT_TRANSLATE_NOOP("Method", "Stratified Monte Carlo"), QT_TRANSLATE_NOOP("Method", "samples"),
     25, 2000, 2000, 1, false, 0x882255, Marker::Hexagon, RowShape::Stems, OwnError::TwoSigma, 0,
     -1.5},
    {Method::Sobol, QT_TRANSLATE_NOOP("Method", "Sobol"), "sobol",
     QT_TRANSLATE_NOOP("Method",
                       "randomised quasi-Monte Carlo, 2^7 to 2^16 Sobol points times 16 shifts"),
     QT_TRANSLATE_NOOP("Method", "Sobol (shifted)"), QT_TRANSLATE_NOOP("Method", "points"), 10, 128,
     0, 2, false, 0x999933, Marker::Bar, RowShape::Stems, OwnError::TwoSigma, 0, -1.0},
});

// The table is indexed by the enumeration: each row stands where its method's value says.
constexpr bool methodsInOrder() {
    for (std::size_t i = 0; i < kMethods.size(); ++i) {
        if (static_cast<std::size_t>(kMethods[i].method) != i) {
            return false;
        }
    }
    return true;
}
static_assert(methodsInOrder(), "kMethods must list the methods in the order of Method");

// A method without a row fails here: at compile time where asked for there, else at once.
constexpr const MethodInfo& methodInfo(Method method) {
    return kMethods.at(static_cast<std::size_t>(method));
}

// The counter of a method's row: 2, 4, ..., 20 panels; 2 to 6 nodes; 2000, ..., 50000 samples;
// 2, 4, 8, ..., 1024 subintervals.
constexpr int rowCounter(Method method, int row) {
    const MethodInfo& info = methodInfo(method);
    if (info.counterRatio > 1) {
        int counter = info.firstCounter;
        for (int i = 0; i < row; ++i) {
            counter *= info.counterRatio;
        }
        return counter;
    }
    return info.firstCounter + row * info.counterStep;
}

// Every method, in the table's order.
std::vector<Method> allMethods();

// The row whose counter is `counter`; nothing when no row counts that.
std::optional<int> rowOfCounter(Method method, std::int64_t counter);

// The method whose option spelling or caption matches `name` without regard to case.
std::optional<Method> methodNamed(std::string_view name);

// "zelbrin, gauss, montecarlo, trapezoid, ... or clenshaw-curtis": every option spelling.
std::string methodNames(std::string_view lastJoin = " or ");

// The state a method reads and writes: the limits and the box height, and what outlives a run
// (the hit counter, the node arrays, the generator's place in its sequence).
struct MethodState {
    Variant x1;
    Variant x2;
    Variant ymax;
    Variant* hits;
    VariantArray* node;
    VariantArray* weight;
    RandomGenerator* random;
};

// The sizes at which a method runs as a rule of any size: multiples of `step` from `step` up to
// `largest` (those `allowed` allows, where it is given), each costing evaluations(n) calls of f,
// its own error estimate included; the cost grows with n. A method whose cost only its run can
// tell (an adaptive one) has no `evaluations`: it counts them as it runs.
struct MethodSizes {
    std::int64_t step = 1;
    std::int64_t largest = 1;
    std::int64_t (*evaluations)(std::int64_t n) = nullptr;
    bool (*allowed)(std::int64_t n) = nullptr;
    // The sizes in words, where "a multiple of step from step to largest" does not say them.
    std::string_view words = {};

    bool has(std::int64_t n) const {
        return n >= step && n <= largest && n % step == 0 && (allowed == nullptr || allowed(n));
    }
};

class NumericalMethod {
  public:
    explicit constexpr NumericalMethod(const MethodInfo& info) : info_(info) {}
    virtual ~NumericalMethod() = default;

    const MethodInfo& info() const { return info_; }
    Method id() const { return info_.method; }
    RowShape shape() const { return info_.shape; }

    // Statistical rows are judged by their spread about the value they converge to, never by
    // the rounding of their arithmetic, a ratio of errors or an order.
    bool statistical() const { return info_.ownError == OwnError::TwoSigma; }
    // Whether the error falls as a power of the counter, so that an observed order means
    // something.
    bool hasObservedOrder() const { return info_.ownError == OwnError::Richardson; }
    // The slope of |error| against evaluations a reference line shows; none where the error
    // follows no power.
    std::optional<double> referenceSlope() const {
        return info_.slope != 0.0 ? std::optional(info_.slope) : std::nullopt;
    }

    // The error the method estimates for row i without the exact value, as its OwnError says;
    // nothing where it has none (the first row of one that needs the row before). A
    // statistical method's is 2 sigma, which the analysis makes.
    std::optional<double> estimatedError(const std::vector<RowFigures>& rows, std::size_t i) const;

    // The row's estimate by the same rule with full-precision constants, where the method
    // keeps a table of rounded ones (Gauss's eight-digit nodes and weights); nothing for the
    // others. Raises RuntimeError where f fails.
    virtual std::optional<double> fullPrecisionEstimate(Integrand f, double x1, double x2,
                                                        std::int64_t counter) const {
        (void)f;
        (void)x1;
        (void)x2;
        (void)counter;
        return std::nullopt;
    }

    // Hit-or-miss samples a box, whose area and share below the curve its estimates converge
    // to; the other statistical methods converge to the integral itself.
    virtual bool samplesABox() const { return false; }

    // A statistical method's row of `counter` alone, from the generator as the row found it,
    // for replaying its very samples; the others make the whole run again.
    virtual void runRow(Integrand f, MethodState& state, std::int64_t counter, ResultsPanel& panel,
                        EvaluationObserver* observer) const {
        (void)counter;
        run(f, state, panel, observer);
    }

    // Appends the rows and, when the run completes, the summary; a fault propagates as
    // RuntimeError with the rows made before it. The observer sees every evaluation.
    virtual void run(Integrand f, MethodState& state, ResultsPanel& panel,
                     EvaluationObserver* observer) const = 0;

    // The sizes the method runs at beside its fixed rows; nothing for one that has only those.
    virtual std::optional<MethodSizes> sizes() const { return std::nullopt; }
    // The rule at size n, one of sizes(): its figures, with its own error estimate (ownError)
    // or its one-sigma uncertainty (sigma). A fault propagates as RuntimeError.
    virtual RowFigures runAt(Integrand f, MethodState& state, std::int64_t n) const {
        (void)f;
        (void)state;
        (void)n;
        return {};
    }
    // The rule at the largest of its sizes whose evaluations fit within `budget`; nothing where
    // even the smallest costs more. A fault propagates as RuntimeError.
    virtual std::optional<RowFigures> runWithin(Integrand f, MethodState& state,
                                                std::int64_t budget) const;

  private:
    const MethodInfo& info_;
};

const NumericalMethod& methodOf(Method method);

// "even numbers of panels from 2 to 500000": a method's sizes in words, with its unit.
std::string sizesText(Method method);

// The largest size of `sizes` whose evaluations fit within `budget`; nothing where even the
// smallest costs more.
std::optional<std::int64_t> largestSizeWithin(const MethodSizes& sizes, std::int64_t budget);

}  // namespace integral
