// SPDX-License-Identifier: GPL-3.0-or-later
// A model set up from the fuzzer's bytes as a user could leave it: any list row (-1 and 5 stand
// for none chosen), any limits (Empty for a non-finite one) put in order, any box height.
#pragma once

#include <cmath>

#include "fuzz_checks.h"
#include "model/model.h"

namespace integral::fuzz {

inline Variant limit(Bytes& bytes) {
    const double value = bytes.take<double>();
    return std::isfinite(value) ? Variant::real(value) : Variant();
}

inline Model modelFrom(Bytes& bytes) {
    Model model;
    model.chooseIntegrand(bytes.take<std::uint8_t>() % 7 - 1);
    model.setLower(limit(bytes));
    model.setUpper(limit(bytes));
    const float height = bytes.take<float>();
    if (std::isfinite(height)) {
        model.setHeight(height);
    }
    return model;
}

}  // namespace integral::fuzz
