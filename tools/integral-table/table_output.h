// SPDX-License-Identifier: GPL-3.0-or-later
// The layouts integral-table writes a run in. Text without details is exactly what the window
// shows; the details add the exact value, each row's error, its evaluations of f and, for Monte
// Carlo, its one-sigma uncertainty.
#pragma once

#include <ostream>

#include "model/model.h"
#include "model/run_analysis.h"

namespace integral {

enum class Layout { Text, Tsv, Json };

void writeRun(std::ostream& out, const MethodRun& run, Layout layout, bool details);

}  // namespace integral
