// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/runtime_error.h"

namespace integral {

std::string_view faultName(Fault fault) noexcept {
    switch (fault) {
        case Fault::Overflow:
            return "Overflow";
        case Fault::DivisionByZero:
            return "Division by zero";
        case Fault::InvalidOperation:
            return "Invalid operation";
        case Fault::SubscriptOutOfRange:
            return "Subscript out of range";
        case Fault::OutOfMemory:
            return "Out of memory";
    }
    return "Invalid operation";
}

const char* RuntimeError::what() const noexcept {
    // Every name is a literal, so its data is null-terminated.
    return faultName(fault_).data();
}

}  // namespace integral
