// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/race.h"

#include <cmath>
#include <limits>

namespace integral {

Race race(const Model& model, std::int64_t budget, std::span<const Method> methods,
          const RaceProgress& progress) {
    Race result;
    result.budget = budget;
    result.integrand = model.integrand();
    result.x1 = model.x1();
    result.x2 = model.x2();
    result.ymax = model.ymax();
    for (const Method method : methods) {
        Model scratch = model;
        AnalysedRun run{scratch.run(method), {}};
        run.analysis = analyse(run.run, false);
        if (result.entries.empty()) {
            result.reference = run.analysis.reference;
            result.whyNoReference = run.analysis.divergence
                                        ? divergenceText(*run.analysis.divergence)
                                        : run.analysis.whyNoReference;
        }
        RaceEntry entry;
        entry.method = method;
        entry.fault = run.run.fault;
        const std::optional<double> reference =
            run.analysis.reference ? std::optional(run.analysis.reference->value) : std::nullopt;
        // The truth is known only to within the reference's own uncertainty: a claim that
        // misses by no more than that is not counted against the method.
        const double uncertainty =
            run.analysis.reference ? run.analysis.reference->uncertainty : 0.0;
        for (std::size_t i = 0; i < run.analysis.rows.size(); ++i) {
            const RowAnalysis& row = run.analysis.rows[i];
            // Nor is a claim finer than a double can tell: a few ulps of the estimate.
            const double slack = uncertainty + 4.0 * std::numeric_limits<double>::epsilon() *
                                                   std::fabs(row.estimate);
            std::optional<double> error;
            if (reference && std::isfinite(row.estimate - *reference)) {
                error = row.estimate - *reference;
            }
            if (error && row.estimatedError) {
                ++entry.claimsJudged;
                entry.claimsHeld += std::fabs(*error) <= *row.estimatedError + slack ? 1 : 0;
            }
            // The last row that fits: the rows cost more the further down they stand.
            if (row.evaluations <= budget) {
                entry.counter = row.counter;
                entry.evaluations = row.evaluations;
                entry.estimate = row.estimate;
                entry.estimatedError = row.estimatedError;
                entry.error = error;
                entry.claimHeld.reset();
                entry.missedBy.reset();
                if (error && row.estimatedError) {
                    entry.claimHeld = std::fabs(*error) <= *row.estimatedError + slack;
                    if (!*entry.claimHeld && *row.estimatedError > 0.0) {
                        entry.missedBy = std::fabs(*error) / *row.estimatedError;
                    }
                }
            }
        }
        result.entries.push_back(entry);
        if (progress && !progress(result.entries.size(), methods.size())) {
            break;
        }
    }
    return result;
}

std::string claimsText(const RaceEntry& entry) {
    if (entry.claimsJudged == 0) {
        return "no claim could be judged";
    }
    return "claims held in " + std::to_string(entry.claimsHeld) + " of " +
           std::to_string(entry.claimsJudged) + " rows";
}

}  // namespace integral
