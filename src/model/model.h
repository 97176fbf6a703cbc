// SPDX-License-Identifier: GPL-3.0-or-later
// The program's whole state and the user's actions on it, without a window: the window and
// the table tool are two faces over this one model. Every action returns the fault it stopped
// on, as a value; nothing is thrown across this boundary. An action that stops keeps what it
// did before the fault, as a handler that stops does.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/canvas_surface.h"
#include "canvas/plot_operations.h"
#include "integrands/integrand.h"
#include "integrands/integrand_descriptor.h"
#include "model/methods.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/runtime_error.h"
#include "runtime/variant.h"
#include "runtime/variant_array.h"

namespace integral {

// What the user was doing when a fault arose.
enum class Activity { EnteringLimit, Shading, DrawingBox, Plotting, Running };

// A fault and what is known of where it arose, so that the message can teach.
struct FaultReport {
    Fault fault = Fault::Overflow;
    Activity activity = Activity::Running;
    std::optional<Method> method;   // when running a method
    std::optional<int> rowCounter;  // the counter of the row the method was on
    std::optional<double> x;        // where the integrand, or its line, failed
    IntegrandDescriptor integrand;  // the integrand chosen at the time
    double lower = 0.0;             // the limits in use at the time (Empty as 0)
    double upper = 0.0;

    friend bool operator==(const FaultReport& report, Fault fault) { return report.fault == fault; }
};

// The fault an action stopped on; nothing when it completed.
using Outcome = std::optional<FaultReport>;

// What a method run shows: every row it made, the summary "S = ..." when it completed, and the
// fault when it stopped (then without a summary, so the summary shown before stays); with the
// numbers behind each row and the inputs it ran on, for those who learn from it.
struct MethodRun {
    Method method = Method::Zelbrin;
    std::vector<std::string> rows;
    std::optional<std::string> summary;
    Outcome fault;
    std::vector<RowFigures> figures;
    IntegrandDescriptor integrand;
    Variant x1;
    Variant x2;
    Variant ymax;
    // Statistical methods: the generator as each row found it, to replay the row's samples.
    std::shared_ptr<const std::vector<RandomGenerator>> rowStarts;
};

class Model {
  public:
    Model();

    // The state, Empty until the user sets it.
    const Variant& fnum() const { return chosen_.fnum(); }
    // The integrand chosen: one of the five (then also fnum), a typed one, or none.
    const IntegrandDescriptor& integrand() const { return chosen_; }
    const Variant& x1() const { return x1_; }
    const Variant& x2() const { return x2_; }
    const Variant& ymax() const { return ymax_; }
    const Variant& hits() const { return hits_; }
    const VariantArray& node() const { return node_; }
    const VariantArray& weight() const { return weight_; }

    // The chosen integrand at x; Empty while none is chosen. Raises RuntimeError on a fault.
    Variant f(const Variant& x) const { return chosen_(x); }

    // A click on the integrand list: row 0 is integrand 1.
    void chooseIntegrand(int row);
    // An integrand the student typed; fnum becomes Empty, as none of the five is chosen.
    void chooseExpression(std::shared_ptr<const TypedExpression> expression);
    // Any integrand a descriptor names: the tool's way to a function of the program's own.
    void choose(const IntegrandDescriptor& integrand) { chosen_ = integrand; }

    // Enter in the lower box: x1 becomes the number the text starts with (0 for none). A number
    // beyond the double range is the Overflow fault and leaves x1 as it was.
    Outcome enterLower(std::string_view text);
    // Enter in the upper box: x2 likewise, then the limits are put in order. Draws nothing:
    // the window shades afterwards with ShadeArea().
    Outcome enterUpper(std::string_view text);
    // The same with a value already read; setUpper() puts the limits in order.
    void setLower(const Variant& value) { x1_ = value; }
    void setUpper(const Variant& value);

    // A press on the canvas at height y (canvas units): the height of the Monte Carlo box.
    void setHeight(float y);

    // The statistical methods draw from `random` from here on, in place of the sequence every
    // model starts with.
    void useGenerator(const RandomGenerator& random) { random_ = random; }

    MethodRun run(Method method);

    // The method as a rule at size n, one of its sizes (methodOf(method).sizes()): the row's
    // figures, or the fault it stopped on.
    struct SizedRun {
        std::optional<RowFigures> row;
        Outcome fault;
    };
    SizedRun runAt(Method method, std::int64_t n);
    // The method at the largest of its sizes that fits within `budget` evaluations of f; no row
    // where even the smallest costs more.
    SizedRun runWithin(Method method, std::int64_t budget);

    // The canvas operations over the current state.
    Outcome ShadeArea(CanvasSurface& surface) const;
    Outcome DrawBox(CanvasSurface& surface) const;
    // Graph; for a typed integrand the curve leaves gaps where it has no value, and `gaps`, if
    // given, is told where.
    Outcome Graph(CanvasSurface& surface, CurveGaps* gaps = nullptr) const;

  private:
    FaultReport context(Activity activity) const;

    IntegrandDescriptor chosen_;
    Variant x1_;
    Variant x2_;
    Variant ymax_;
    Variant hits_;
    VariantArray node_;
    VariantArray weight_;
    RandomGenerator random_;  // one sequence for the model's whole life
};

}  // namespace integral
