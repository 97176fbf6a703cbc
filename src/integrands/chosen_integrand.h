// SPDX-License-Identifier: GPL-3.0-or-later
// The integrand chosen by its number, as the tables and the canvas call it: the one adapter
// between `fnum` and an `Integrand`. Nothing chosen (Empty, or a number outside 1 to 5) gives
// Empty at every x.
#pragma once

#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"
#include "runtime/variant.h"

namespace integral {

class ChosenIntegrand {
  public:
    ChosenIntegrand() = default;
    explicit ChosenIntegrand(const Variant& fnum) : fnum_(fnum) {}

    const Variant& fnum() const { return fnum_; }
    Variant operator()(const Variant& x) const {
        try {
            return evaluateIntegrand(fnum_, x);
        } catch (RuntimeError& error) {
            error.setArgument(x.toDouble());
            throw;
        }
    }
    Formula formula() const { return formulaOf(fnum_); }

  private:
    Variant fnum_;
};

}  // namespace integral
