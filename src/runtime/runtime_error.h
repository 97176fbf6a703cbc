// SPDX-License-Identifier: GPL-3.0-or-later
// Run-time errors of the numeric layer. A fault ends the computation that raised it, never the
// program: whoever runs a table or a handler catches it, keeps what was made before it and
// reports the fault by name.
#pragma once

#include <exception>
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

  private:
    Fault fault_;
};

}  // namespace integral
