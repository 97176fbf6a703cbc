// SPDX-License-Identifier: GPL-3.0-or-later
// Which integrand a computation uses, and what is known of it: one of the five by its number
// (`fnum`), an expression the student typed, a function of the program's own with its integral
// in closed form, or none yet. It says its label, evaluates f, and gives the reference its
// integrals are measured against: the closed form of one of the five or of the program's own,
// or adaptive quadrature with its own error estimate for a typed one. The run, the fault, the
// analysis and the messages carry it, so that none of them needs to know which kind it is.
// Nothing chosen gives Empty at every x, and 0 as the integral.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "integrands/formulas.h"
#include "integrands/integrand.h"
#include "integrands/typed_expression.h"
#include "runtime/variant.h"

namespace integral {

// What an integral is measured against.
struct ReferenceValue {
    double value = 0.0;
    double uncertainty = 0.0;  // covers the truth; 0 for a closed form
    bool closedForm = true;    // exact (rounded once), or from adaptive quadrature
};

// Where an integral does not exist: f grows like 1/|x - at|^power, power >= 1, towards `at`.
struct Divergence {
    double at = 0.0;
    double power = 1.0;
};

// Where f loses most of its digits to cancellation, as the small difference of much larger
// values (1 - cos(x) near 0): between `from` and `to`, at worst `digitsLost` of its 16.
struct Cancellation {
    double from = 0.0;
    double to = 0.0;
    int digitsLost = 0;
};

// Where f has no value but tends to 0 (exp(-1/x)/x^2 at x = 6e-163, 0/0 where two underflows
// meet, exactly 0 over the decades before): taken as 0 between `from` and `to`, next to the
// point `near`.
struct Vanishing {
    double near = 0.0;
    double from = 0.0;
    double to = 0.0;
    double noValueAt = 0.0;
};

// Why there is no reference, where the integral may well exist, and what the words need.
enum class ReferenceFailure {
    LimitsTooFarApart,       // their difference is beyond a double
    BeyondDoubleBetween,     // f overflows over a stretch of samples, from .. to
    NoValueBetween,          // f has no value over a stretch of samples, from .. to
    OscillatesTooFast,       // f turns at most of the `count` samples
    NoValueNear,             // no value at `to`, next to the point `from`
    PowerDriftsToOne,        // near `from`, `power` still rising by `rise` over `count` decades
    NoValueAt,               // inside a quadrature, at `from`
    BeyondDoubleAt,          // inside a quadrature, at `from`
    UnusableValue,           // a value the quadratures cannot use
    IntegralBeyondDouble,    // the integral itself
    QuadraturesDisagree,     // Gauss-Kronrod gave `first`, tanh-sinh `second`
    StaggeredRulesDisagree,  // as above, but the second the 61-point rule on other pieces
    ExactBeyondDouble,       // a closed form beyond the doubles
};
struct WhyNoReference {
    ReferenceFailure code = ReferenceFailure::UnusableValue;
    double from = 0.0;
    double to = 0.0;
    double power = 0.0;
    double rise = 0.0;
    int count = 0;
    double first = 0.0;
    double second = 0.0;
};

// The reference, or why there is none.
struct Reference {
    std::optional<ReferenceValue> value;
    std::optional<Divergence> divergence;   // the integral does not exist
    std::optional<WhyNoReference> whyNone;  // neither a value nor a divergence
    std::optional<Cancellation> cancellation;
    std::optional<Vanishing> vanishing;
};

// "the integral of this function over these limits does not exist: f grows like 1/|x - 0.3|^1
// near x = 0.3"
std::string divergenceText(const Divergence& divergence);

struct ReferenceCache;

// A function of x the program makes itself, with its integral over one interval in closed form
// (a test family of the d-dimensional cube at d = 1): measured there against that, not against
// a quadrature of its own. `f` is finite on the interval.
struct ClosedFormFunction {
    std::string label;
    std::function<double(double)> f;
    double lower = 0.0;
    double upper = 1.0;
    double integral = 0.0;
};

class IntegrandDescriptor {
  public:
    // None chosen.
    IntegrandDescriptor() = default;
    // One of the five; a number outside 1 to 5 (Empty before the first choice) is none.
    explicit IntegrandDescriptor(const Variant& fnum) : fnum_(fnum) {}
    explicit IntegrandDescriptor(std::shared_ptr<const TypedExpression> expression);
    explicit IntegrandDescriptor(std::shared_ptr<const ClosedFormFunction> function);

    // The number of one of the five; Empty for a typed integrand or none.
    const Variant& fnum() const { return fnum_; }
    const TypedExpression* expression() const { return expression_.get(); }
    const ClosedFormFunction* closedForm() const { return function_.get(); }
    bool chosen() const {
        return expression_ != nullptr || function_ != nullptr || formulaOf(fnum_) != Formula::None;
    }

    // "y = x*Exp(-x)" for one of the five, the text as typed, the function's own label, or ""
    // for none.
    std::string label() const;
    // The label, a typed text that does not say what it is given as "f(x) = ...".
    std::string name() const;

    // f(x); Empty while none is chosen. Raises RuntimeError (with x as its argument) where the
    // value is not finite: an infinity is Overflow, a NaN Invalid operation.
    Variant operator()(const Variant& x) const;

    // The catalogue formula, for loops that choose a typed kernel once; nothing for a typed
    // integrand or one of the program's own. None chosen is the formula None, 0 everywhere.
    std::optional<Formula> formula() const;
    // A typed integrand in plain doubles (not finite where it has no value); nothing otherwise.
    std::optional<PlainEvaluator> plainEvaluator() const;

    // The integral from lower to upper the rows are measured against, or why there is none:
    // it is beyond the doubles, it does not exist, or it cannot be known here. A typed
    // integrand's is made once for each pair of limits and kept by every copy of the
    // descriptor. One of the program's own has its closed form over its interval, and over
    // other limits a reference made as a typed one's is.
    Reference reference(double lower, double upper) const;

    // The same integrand: the same number, the same typed expression, or the same function.
    bool same(const IntegrandDescriptor& other) const;

  private:
    Variant fnum_;
    std::shared_ptr<const TypedExpression> expression_;
    std::shared_ptr<const ClosedFormFunction> function_;
    std::shared_ptr<ReferenceCache> references_;
};

}  // namespace integral
