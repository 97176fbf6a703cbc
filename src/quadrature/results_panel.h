// SPDX-License-Identifier: GPL-3.0-or-later
// What a method run shows: its rows in order and, once the run completes, the summary
// "S = <estimate>". A run that stops on a fault keeps the rows made before it and produces no
// summary, so whoever shows the panel keeps the summary it showed before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quadrature/number_format.h"

namespace integral {

// The numbers behind a row, for those who learn from it: the estimate at full precision (the
// rows of the parabolic rule and Monte Carlo show five decimals), what it cost, and for Monte
// Carlo the hits among its samples.
struct RowFigures {
    std::int64_t counter = 0;  // panels, nodes or samples
    double estimate = 0.0;
    std::int64_t evaluations = 0;  // calls of f
    std::int64_t hits = 0;         // Monte Carlo only
    // The error the method estimates for itself where it makes one as it runs (adaptive
    // Simpson); the others' come from their rows, afterwards.
    std::optional<double> ownError = std::nullopt;
    // The statistical methods that measure their own spread: the row's one-sigma uncertainty.
    std::optional<double> sigma = std::nullopt;
};

class ResultsPanel {
  public:
    // A row is the counter text, three spaces and the estimate text.
    void addRow(std::string_view counter, std::string_view estimate,
                const RowFigures& figures = {}) {
        std::string row(counter);
        row += "   ";
        row += estimate;
        rows_.push_back(std::move(row));
        figures_.push_back(figures);
    }
    void setSummary(double estimate) {
        summary_ = "S = " + formatNumber(estimate, NumberPattern::Summary);
    }

    const std::vector<std::string>& rows() const& { return rows_; }
    std::vector<std::string> rows() && { return std::move(rows_); }
    // Empty until a run completes.
    const std::optional<std::string>& summary() const& { return summary_; }
    std::optional<std::string> summary() && { return std::move(summary_); }
    const std::vector<RowFigures>& figures() const& { return figures_; }
    std::vector<RowFigures> figures() && { return std::move(figures_); }

  private:
    std::vector<std::string> rows_;
    std::vector<RowFigures> figures_;
    std::optional<std::string> summary_;
};

}  // namespace integral
