// SPDX-License-Identifier: GPL-3.0-or-later
// The three methods behind one interface: what each is called (the button's caption, the
// option's spelling, its name in plots), what its rows count, how its rows are judged, and how
// it runs. Everything that treats the methods alike asks this interface instead of naming a
// method.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "integrands/integrand.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"
#include "runtime/variant_array.h"

namespace integral {

enum class Method { Zelbrin, Gauss, MonteCarlo };

// A method's names and rows, as data the window's layout can use at compile time.
struct MethodInfo {
    Method method;
    std::string_view caption;  // the button's caption
    std::string_view name;     // the command line's spelling
    std::string_view description;
    std::string_view plotName;  // in the views
    std::string_view unit;      // what a row's counter counts
    int rows;
    int firstCounter;
    int counterStep;
};

inline constexpr std::array<MethodInfo, 3> kMethods = {{
    {Method::Zelbrin, "Zelbrin", "zelbrin", "composite parabolic rule, 2 to 20 panels",
     "Parabolic rule", "panels", 10, 2, 2},
    {Method::Gauss, "Gauss", "gauss", "Gauss-Legendre quadrature, 2 to 6 nodes", "Gauss-Legendre",
     "nodes", 5, 2, 1},
    {Method::MonteCarlo, "MonteCarlo", "montecarlo",
     "hit-or-miss Monte Carlo, 2000 to 50000 samples", "Monte Carlo", "samples", 25, 2000, 2000},
}};

constexpr const MethodInfo& methodInfo(Method method) {
    return kMethods[static_cast<std::size_t>(method)];
}

// The counter of a method's row: 2, 4, ..., 20 panels; 2 to 6 nodes; 2000, ..., 50000 samples.
constexpr int rowCounter(Method method, int row) {
    const MethodInfo& info = methodInfo(method);
    return info.firstCounter + row * info.counterStep;
}

// The row whose counter is `counter`; nothing when no row counts that.
std::optional<int> rowOfCounter(Method method, std::int64_t counter);

// The method whose caption matches `name` without regard to case.
std::optional<Method> methodNamed(std::string_view name);

// How a row is drawn: the parabolic rule's parabolas, Gauss's weighted bars, or Monte Carlo's
// samples in their box.
enum class RowShape { Parabolas, Bars, Samples };

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

class NumericalMethod {
  public:
    explicit constexpr NumericalMethod(const MethodInfo& info) : info_(info) {}
    virtual ~NumericalMethod() = default;

    const MethodInfo& info() const { return info_; }
    Method id() const { return info_.method; }
    virtual RowShape shape() const = 0;

    // Statistical rows are judged by their spread about the value they converge to, never by
    // the rounding of their arithmetic, a ratio of errors or an order.
    virtual bool statistical() const { return false; }
    // Whether the error falls as a power of the counter, so that an observed order means
    // something.
    virtual bool hasObservedOrder() const { return false; }
    // The slope of |error| against evaluations a reference line shows; none where the error
    // follows no power.
    virtual std::optional<double> referenceSlope() const { return std::nullopt; }

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

    // Appends the rows and, when the run completes, the summary; a fault propagates as
    // RuntimeError with the rows made before it. The observer sees every evaluation.
    virtual void run(Integrand f, MethodState& state, ResultsPanel& panel,
                     EvaluationObserver* observer) const = 0;

  private:
    const MethodInfo& info_;
};

const NumericalMethod& methodOf(Method method);

}  // namespace integral
