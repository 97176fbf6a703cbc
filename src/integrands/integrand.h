// SPDX-License-Identifier: GPL-3.0-or-later
// The integrand as the tables see it: a non-owning reference to any callable that maps a value
// to a value. Cheap to copy and to call. A callable that is one of the catalogue's formulas
// says so through formula(); a hot loop can then choose that formula's typed kernel once
// instead of calling through the reference at every point. One that can be evaluated in plain
// doubles says so through plainEvaluator(), which spares such a loop the variants.
#pragma once

#include <memory>
#include <optional>
#include <type_traits>

#include "integrands/formulas.h"
#include "runtime/stop_request.h"
#include "runtime/variant.h"

namespace integral {

// An integrand's value at x in plain doubles, for loops that call it many times: not finite
// where the integrand has no value. The evaluator reads x from `variable`, so that a call is
// one indirect call with nothing in between.
// Where the evaluator can take many points in one call, `variable` is the first of `capacity`
// doubles and `many` sets values[i] = f(variable[i]) for i < n <= capacity: a loop over many
// points then pays the call's overhead once per batch rather than once per point.
struct PlainEvaluator {
    double* variable;
    void* object;
    double (*call)(void* object);
    void (*many)(void* object, double* values, int n) = nullptr;
    int capacity = 1;
    double operator()(double x) const {
        stopIfRequested();
        *variable = x;
        return call(object);
    }
};

class Integrand {
  public:
    template <typename F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, Integrand>) Integrand(F& callable)
    noexcept  // NOLINT(google-explicit-constructor): used like a function
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
          call_([](void* object, const Variant& x) { return (*static_cast<F*>(object))(x); }) {
        if constexpr (requires { callable.formula(); }) {
            formula_ = callable.formula();
        }
        if constexpr (requires { callable.plainEvaluator(); }) {
            plain_ = callable.plainEvaluator();
        }
    }

    Variant operator()(const Variant& x) const {
        stopIfRequested();
        return call_(object_, x);
    }

    // The catalogue formula this integrand evaluates, when it is one.
    std::optional<Formula> formula() const { return formula_; }
    // The integrand in plain doubles, when it offers that (a typed expression does).
    std::optional<PlainEvaluator> plain() const { return plain_; }

  private:
    void* object_;
    Variant (*call_)(void*, const Variant&);
    std::optional<Formula> formula_;
    std::optional<PlainEvaluator> plain_;
};

}  // namespace integral
