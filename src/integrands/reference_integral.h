// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for a typed integrand, which has no closed form: adaptive quadrature from the
// Boost.Math library, with its own error estimate. Tanh-sinh first, which copes with end-point
// singularities such as 1/sqrt(x) on 0..1; Gauss-Kronrod where tanh-sinh fails or estimates a
// larger error (a kink inside the interval, as |x| on -1..1 has). Nothing when neither gives a
// finite value with a finite estimate.
#pragma once

#include <functional>
#include <optional>

#include "integrands/integrand_descriptor.h"

namespace integral {

std::optional<ReferenceValue> adaptiveIntegral(const std::function<double(double)>& f, double lower,
                                               double upper);

}  // namespace integral
