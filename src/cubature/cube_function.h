// SPDX-License-Identifier: GPL-3.0-or-later
// An integrand over the cube [lower, upper]^d, d = 1 ... kMaxDimensions, as every method in d
// dimensions sees it: f at a point of d coordinates, in plain doubles, not finite where f has
// no value there.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "runtime/stop_request.h"

namespace integral {

inline constexpr int kMaxDimensions = 20;

class CubeFunction {
  public:
    CubeFunction(int dimensions, double lower, double upper)
        : dimensions_(dimensions), lower_(lower), upper_(upper) {}
    virtual ~CubeFunction() = default;
    CubeFunction(const CubeFunction&) = delete;
    CubeFunction& operator=(const CubeFunction&) = delete;

    int dimensions() const { return dimensions_; }
    double lower() const { return lower_; }
    double upper() const { return upper_; }
    // (upper - lower)^d, the factor between the cube's mean of f and its integral.
    double volume() const;

    virtual double operator()(const double* x) const = 0;
    // Whether f only takes the values 0 and 1 (an indicator, as the ball's): hit-or-miss then
    // counts hits.
    virtual bool indicator() const { return false; }
    // How far f(x) may lie from the f of exact arithmetic through the rounding of its own
    // operations, where f can tell (a typed f); 0 where it cannot.
    virtual double roundingAt(const double* /*x*/) const { return 0.0; }

  private:
    int dimensions_;
    double lower_;
    double upper_;
};

// A value of f that is not finite ends a method's run: its estimate would carry no meaning.
class CubeFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// f as a method calls it: every call counted, the stop request looked at before each, and a
// value that is not finite turned into a CubeFault naming the point's first coordinate.
class CountedFunction {
  public:
    explicit CountedFunction(const CubeFunction& f) : f_(f) {}

    double operator()(const double* x) {
        stopIfRequested();
        ++evaluations_;
        const double value = f_(x);
        if (!(value - value == 0.0)) [[unlikely]] {
            fail(x);
        }
        return value;
    }

    const CubeFunction& function() const { return f_; }
    std::int64_t evaluations() const { return evaluations_; }

  private:
    [[noreturn]] void fail(const double* x) const;

    const CubeFunction& f_;
    std::int64_t evaluations_ = 0;
};

}  // namespace integral
