// SPDX-License-Identifier: GPL-3.0-or-later
// Short builders for the values tests write in tables of cases.
#pragma once

#include <cstdint>

#include "runtime/variant.h"

namespace integral::test {

inline Variant I(std::int16_t v) {
    return Variant::integer(v);
}
inline Variant L(std::int32_t v) {
    return Variant::longInteger(v);
}
inline Variant S(float v) {
    return Variant::single(v);
}
inline Variant D(double v) {
    return Variant::real(v);
}

}  // namespace integral::test
