// SPDX-License-Identifier: GPL-3.0-or-later
// Run-time errors of the numeric layer. A fault ends the computation that raised it, never the
// program: whoever runs a table or a handler catches it, keeps what was made before it and
// reports the fault by name.
#pragma once

#include <exception>
#include <optional>
#include <string_view>

namespace integral {

enum class Fault {
    Overflow,
    DivisionByZero,
    InvalidOperation,
    SubscriptOutOfRange,
    OutOfMemory,  // not a numeric fault, but reported to the user the same way
};

// The name a user sees: "Overflow", "Division by zero", "Invalid operation",
// "Subscript out of range", "Out of memory".
std::string_view faultName(Fault fault) noexcept;

class RuntimeError : public std::exception {
  public:
    explicit RuntimeError(Fault fault) noexcept : fault_(fault) {}
    Fault fault() const noexcept { return fault_; }
    const char* what() const noexcept override;

    // The x at which the integrand, or the line or point drawn there, failed, when known. The
    // innermost place that knows it says so first; later ones keep it.
    std::optional<double> argument() const noexcept { return argument_; }
    void setArgument(double x) noexcept {
        if (!argument_) {
            argument_ = x;
        }
    }

  private:
    Fault fault_;
    std::optional<double> argument_;
};

}  // namespace integral
