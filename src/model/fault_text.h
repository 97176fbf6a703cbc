// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a fault, the same in the window's message box and on the table tool's error
// stream: the fault's name first, as always, then where it arose, at which x, for which
// integrand, and what the student can do about it.
//   Overflow
//
//   Where: shading the area between the limits.
//   At x = -1000.
//   Integrand: y = x*Exp(-x).
//
//   x*Exp(-x) grows beyond every bound to the left of the origin: ...
#pragma once

#include <string>

#include "model/model.h"

namespace integral {

std::string faultText(const FaultReport& report);

}  // namespace integral
