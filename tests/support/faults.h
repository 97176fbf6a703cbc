// SPDX-License-Identifier: GPL-3.0-or-later
// Expecting a run-time error from a call, by its kind.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "runtime/runtime_error.h"

namespace integral::test {

// The fault `call` raised, or nothing when it returned.
template <typename Call>
std::optional<Fault> faultOf(Call&& call) {
    try {
        call();
    } catch (const RuntimeError& error) {
        return error.fault();
    }
    return std::nullopt;
}

}  // namespace integral::test
