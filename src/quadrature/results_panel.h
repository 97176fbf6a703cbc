// SPDX-License-Identifier: GPL-3.0-or-later
// What a method run shows: its rows in order and, once the run completes, the summary
// "S = <estimate>". A run that stops on a fault keeps the rows made before it and produces no
// summary, so whoever shows the panel keeps the summary it showed before.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quadrature/number_format.h"

namespace integral {

class ResultsPanel {
  public:
    // A row is the counter text, three spaces and the estimate text.
    void addRow(std::string_view counter, std::string_view estimate) {
        std::string row(counter);
        row += "   ";
        row += estimate;
        rows_.push_back(std::move(row));
    }
    void setSummary(double estimate) {
        summary_ = "S = " + formatNumber(estimate, NumberPattern::Summary);
    }

    const std::vector<std::string>& rows() const& { return rows_; }
    std::vector<std::string> rows() && { return std::move(rows_); }
    // Empty until a run completes.
    const std::optional<std::string>& summary() const& { return summary_; }
    std::optional<std::string> summary() && { return std::move(summary_); }

  private:
    std::vector<std::string> rows_;
    std::optional<std::string> summary_;
};

}  // namespace integral
