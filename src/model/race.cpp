// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/race.h"

#include <algorithm>
#include <cmath>

#include "runtime/short_number.h"

namespace integral {

namespace {

// Whether the entry's claim held, and where not by how much; `slack` is what the truth and the
// doubles cannot tell.
void judgeClaim(RaceEntry& entry, double slack) {
    entry.claimHeld.reset();
    entry.missedBy.reset();
    if (entry.error && entry.estimatedError) {
        entry.claimHeld = std::fabs(*entry.error) <= *entry.estimatedError + slack;
        if (!*entry.claimHeld && *entry.estimatedError > 0.0) {
            entry.missedBy = std::fabs(*entry.error) / *entry.estimatedError;
        }
    }
}

// The entry of a method run at one size: its claim (its own estimate, or 2 sigma, never below
// the rounding of its estimate) against its error.
void judgeSized(RaceEntry& entry, const Model::SizedRun& sized, std::optional<double> reference,
                double uncertainty) {
    if (sized.fault) {
        entry.fault = sized.fault;
        return;
    }
    const RowFigures& row = *sized.row;
    entry.counter = row.counter;
    entry.evaluations = row.evaluations;
    entry.estimate = row.estimate;
    std::optional<double> claim = row.ownError;
    if (row.sigma) {
        claim = 2.0 * *row.sigma;
    }
    if (claim && std::isfinite(*claim)) {
        const double floor = claimFloor(row.estimate);
        entry.claimAtRoundingLevel = *claim < floor;
        entry.estimatedError = std::max(*claim, floor);
    }
    if (reference && std::isfinite(row.estimate - *reference)) {
        entry.error = row.estimate - *reference;
    }
    judgeClaim(entry, uncertainty + claimFloor(row.estimate));
}

}  // namespace

Race race(const Model& model, std::int64_t budget, std::span<const Method> methods,
          const RaceProgress& progress, std::uint64_t seed) {
    Race result;
    result.budget = budget;
    result.seed = seed;
    result.integrand = model.integrand();
    result.x1 = model.x1();
    result.x2 = model.x2();
    result.ymax = model.ymax();
    for (const Method method : methods) {
        Model scratch = model;
        scratch.useGenerator(RandomGenerator::seeded(seed, static_cast<std::uint32_t>(method)));
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
        const bool noBox = methodOf(method).samplesABox() &&
                           (model.ymax().isEmpty() || model.ymax().toDouble() == 0.0);
        if (noBox) {
            entry.noClaim = "no box to sample: every row is 0 until the box has a height";
        }
        // A method that runs at any size is shown at the largest its budget pays for; its
        // table's rows still say how often its claims held.
        const std::optional<MethodSizes> sizes = noBox ? std::nullopt : methodOf(method).sizes();
        const std::optional<double> reference =
            run.analysis.reference ? std::optional(run.analysis.reference->value) : std::nullopt;
        // The truth is known only to within the reference's own uncertainty: a claim that
        // misses by no more than that is not counted against the method.
        const double uncertainty =
            run.analysis.reference ? run.analysis.reference->uncertainty : 0.0;
        for (std::size_t i = 0; i < run.analysis.rows.size(); ++i) {
            const RowAnalysis& row = run.analysis.rows[i];
            // Nor is a claim finer than a double can tell: a few ulps of the estimate.
            const double slack = uncertainty + claimFloor(row.estimate);
            std::optional<double> error;
            if (reference && std::isfinite(row.estimate - *reference)) {
                error = row.estimate - *reference;
            }
            const bool judged = error && row.estimatedError && !noBox;
            if (judged) {
                ++entry.claimsJudged;
                entry.claimsHeld += std::fabs(*error) <= *row.estimatedError + slack ? 1 : 0;
            }
            // Else the last row that fits: the rows cost more the further down they stand.
            if (!sizes && row.evaluations <= budget) {
                entry.counter = row.counter;
                entry.evaluations = row.evaluations;
                entry.estimate = row.estimate;
                entry.estimatedError = noBox ? std::nullopt : row.estimatedError;
                entry.claimAtRoundingLevel = row.claimAtRoundingLevel;
                entry.error = error;
                judgeClaim(entry, slack);
            }
        }
        // From its own stream of numbers, as its table's rows were.
        if (sizes) {
            if (const std::optional<std::int64_t> n = largestSizeWithin(*sizes, budget)) {
                scratch.useGenerator(
                    RandomGenerator::seeded(seed, static_cast<std::uint32_t>(method)));
                judgeSized(entry, scratch.runAt(method, *n), reference, uncertainty);
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
    if (!entry.noClaim.empty()) {
        return entry.noClaim;
    }
    if (entry.claimsJudged == 0) {
        return "no claim could be judged";
    }
    return "claims held in " + std::to_string(entry.claimsHeld) + " of " +
           std::to_string(entry.claimsJudged) + " rows";
}

std::string missText(const RaceEntry& entry) {
    if (!entry.claimHeld || *entry.claimHeld || !entry.error || !entry.estimatedError) {
        return {};
    }
    if (entry.missedBy && *entry.missedBy >= 2.0) {
        return "by a factor " + shortNumber(*entry.missedBy, 3);
    }
    return "by " + shortNumber(std::fabs(*entry.error) - *entry.estimatedError, 2) +
           " more than it claimed";
}

}  // namespace integral
