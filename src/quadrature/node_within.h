// SPDX-License-Identifier: GPL-3.0-or-later
// f at a node that the rule's arithmetic may have put a rounding past a limit: where f has no
// value out there (sqrt(1-x^2) one ulp past 1), the value at the limit itself, which is where
// the rule meant to evaluate. A node inside the limits, or one where f has a value, is
// evaluated where it lies, so that every row that completes keeps its bits.
#pragma once

#include "integrands/integrand.h"
#include "runtime/runtime_error.h"
#include "runtime/variant.h"

namespace integral {

struct NodeValue {
    Variant x;      // where f was evaluated
    Variant value;  // f there
};

inline NodeValue valueWithin(Integrand f, const Variant& x, const Variant& x1, const Variant& x2) {
    try {
        return {x, f(x)};
    } catch (const RuntimeError&) {
        const bool ordered = x1 <= x2;
        const Variant& low = ordered ? x1 : x2;
        const Variant& high = ordered ? x2 : x1;
        const Variant* limit = x > high ? &high : x < low ? &low : nullptr;
        if (limit == nullptr) {
            throw;
        }
        try {
            return {*limit, f(*limit)};
        } catch (const RuntimeError&) {
            // No value at the limit either: the fault is the node's, where the rule put it.
        }
        throw;
    }
}

}  // namespace integral
