// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fault_message.h"

#include "model/fault_text.h"

namespace integral {

QString faultMessage(const FaultReport& report) {
    return QString::fromStdString(faultText(report));
}

}  // namespace integral
