// SPDX-License-Identifier: GPL-3.0-or-later
// The message box text for a fault: the model's fault text, the same the table tool prints.
#pragma once

#include <QString>

#include "model/model.h"

namespace integral {

QString faultMessage(const FaultReport& report);

}  // namespace integral
