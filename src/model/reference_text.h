// SPDX-License-Identifier: GPL-3.0-or-later
// What a typed integrand's reference says beside its number, or instead of one, in words: the
// reference itself gives codes and the figures they need.
#pragma once

#include <string>

#include "integrands/integrand_descriptor.h"

namespace integral {

// "f has no value between x = 0.2 and x = 0.3, inside the limits", "two independent
// quadratures disagree (...), so not even the first digit can be trusted", ...
std::string noReferenceText(const WhyNoReference& why);

// "f loses up to 16 of its 16 digits to cancellation between x = 0 and x = 1e-09: ..."
std::string cancellationText(const Cancellation& cancellation);

// "f has no value at x = 6.1e-163 (0/0, ...), but it is exactly 0 over the decades before ..."
std::string vanishingText(const Vanishing& vanishing);

}  // namespace integral
