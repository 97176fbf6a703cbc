// SPDX-License-Identifier: GPL-3.0-or-later
// A typed f(x1, ..., xd) on [a, b]^d, and its reference: libcubature's adaptive cubature run to
// a tight tolerance, kept only where the rule's own error estimate says it converged. A
// reference is right or absent: where it is absent, the reason says why.
#pragma once

#include <memory>
#include <optional>

#include "cubature/cube_function.h"
#include "integrands/typed_expression.h"

namespace integral {

class TypedCubeFunction : public CubeFunction {
  public:
    // `expression` must have been read with `dimensions` variables.
    TypedCubeFunction(std::shared_ptr<const TypedExpression> expression, double lower,
                      double upper);
    double operator()(const double* x) const override { return expression_->evaluateAt(x); }
    double roundingAt(const double* x) const override { return expression_->roundingAt(x); }
    const TypedExpression& expression() const { return *expression_; }

  private:
    std::shared_ptr<const TypedExpression> expression_;
};

enum class NoReference {
    NotFinite,     // f has no finite value at a point the cubature needed
    NotConverged,  // the error estimate stayed above the tolerance within the evaluations allowed
};

// "f has no finite value ...": the reason in words.
const char* noReferenceText(NoReference reason);

struct CubeReference {
    std::optional<double> value;
    std::optional<double> uncertainty;  // absolute; covers the truth as far as the rule can tell
    std::optional<NoReference> absent;
    std::int64_t evaluations = 0;
};

// The relative tolerance a reference must reach, and the evaluations it may spend.
inline constexpr double kReferenceTolerance = 1e-9;
inline constexpr std::int64_t kReferenceEvaluations = 4'000'000;

CubeReference cubeReference(const CubeFunction& f);

}  // namespace integral
