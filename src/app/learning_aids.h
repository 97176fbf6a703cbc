// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that teach from a run's rows, in English: a row's tooltip (its estimate at full
// precision, the exact value, the error, what it cost, how fast the error falls, and for
// Monte Carlo the statistical uncertainty) and the summary's.
#pragma once

#include <QString>
#include <cstddef>

#include "model/model.h"
#include "model/run_analysis.h"

namespace integral {

QString rowTooltip(const MethodRun& run, const RunAnalysis& analysis, std::size_t row);

// The summary box's tooltip: the last row's, introduced as the summary's source.
QString summaryTooltip(const MethodRun& run, const RunAnalysis& analysis);

}  // namespace integral
