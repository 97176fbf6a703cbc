// SPDX-License-Identifier: GPL-3.0-or-later
// The message box text for a fault: its name first, as always, then where it arose, at which x,
// for which integrand, and what the student can do about it.
#pragma once

#include <QString>

#include "model/model.h"

namespace integral {

QString faultMessage(const FaultReport& report);

}  // namespace integral
