// The integrand as the tables see it: a non-owning reference to any callable that maps a value
// to a value. Cheap to copy and to call, so the Monte Carlo loop pays one indirect call per
// sample and nothing more.
#pragma once

#include <memory>
#include <type_traits>

#include "runtime/variant.h"

namespace integral {

class Integrand {
  public:
    template <typename F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, Integrand>) Integrand(F& callable)
    noexcept  // NOLINT(google-explicit-constructor): used like a function
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
          call_([](void* object, const Variant& x) { return (*static_cast<F*>(object))(x); }) {}

    Variant operator()(const Variant& x) const { return call_(object_, x); }

  private:
    void* object_;
    Variant (*call_)(void*, const Variant&);
};

}  // namespace integral
