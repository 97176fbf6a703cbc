// SPDX-License-Identifier: GPL-3.0-or-later
// A fixed array of variants with declared bounds, every access checked: an index outside the
// bounds raises RuntimeError(SubscriptOutOfRange) instead of touching memory.
#pragma once

#include <cmath>
#include <vector>

#include "runtime/runtime_error.h"
#include "runtime/variant.h"

namespace integral {

class VariantArray {
  public:
    // Every element starts Empty.
    VariantArray(int lower, int upper) : lower_(lower), elements_(upper - lower + 1) {}

    Variant& operator[](const Variant& index) { return elements_[offset(index)]; }
    const Variant& operator[](const Variant& index) const { return elements_[offset(index)]; }

    int lower() const { return lower_; }
    int upper() const { return lower_ + static_cast<int>(elements_.size()) - 1; }

  private:
    std::size_t offset(const Variant& index) const {
        // A fractional index rounds to the nearest integer, halves to even.
        const double position = std::nearbyint(index.toDouble());
        if (position < lower() || position > upper()) {
            throw RuntimeError(Fault::SubscriptOutOfRange);
        }
        return static_cast<std::size_t>(position - lower_);
    }

    int lower_;
    std::vector<Variant> elements_;
};

}  // namespace integral
