// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins that let a test choose every draw and see every evaluation of a method.
#pragma once

#include <cstddef>
#include <vector>

#include "runtime/variant.h"

namespace integral::test {

// Hands out the given draws in order; running past them is a test failure (vector::at throws).
struct ScriptedDraws {
    std::vector<float> values;
    std::size_t used = 0;
    float next() { return values.at(used++); }
};

// Returns `value` at every x and records each x it is asked for.
struct RecordingIntegrand {
    Variant value;
    std::vector<Variant> calls;
    Variant operator()(const Variant& x) {
        calls.push_back(x);
        return value;
    }
};

}  // namespace integral::test
