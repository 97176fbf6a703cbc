// SPDX-License-Identifier: GPL-3.0-or-later
// The layouts integral-table writes a run in. Text without details is exactly what the window
// shows; the details add what the window's tooltips say of each row. JSON always carries every
// figure, null where one does not exist:
//   {"version", "inputs": {"method", "integrand", "label", "lower", "upper", "ymax"},
//    "exact", "limit", "rows": [{"n", "text", "estimate", "error", "ratio", "order",
//    "evaluations", "sigma", "sigmas_from_limit", "rounding_level"}, ...],
//    "summary", "summary_value", "fault"}
#pragma once

#include <ostream>

#include "model/model.h"
#include "model/run_analysis.h"

namespace integral {

enum class Layout { Text, Tsv, Json };

void writeRun(std::ostream& out, const MethodRun& run, Layout layout, bool details);

// The evaluations of one row that the run made, replayed: columns x, fx, weight for the
// parabolic rule and Gauss (the row's estimate is the sum of weight * fx, in this order), and
// x, y, fx, hit for Monte Carlo. JSON: {"version", "inputs", "n", "estimate", "points": [...]}.
void writePoints(std::ostream& out, const MethodRun& run, std::size_t row, Layout layout);

}  // namespace integral
