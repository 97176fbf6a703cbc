// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/race.h"

#include <algorithm>
#include <cmath>

#include "runtime/short_number.h"
#include "runtime/stop_request.h"

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
        const double floor = claimFloor(row.estimate, row.evaluations);
        entry.claimAtRoundingLevel = *claim < floor;
        entry.estimatedError = std::max(*claim, floor);
    }
    if (reference && std::isfinite(row.estimate - *reference)) {
        entry.error = row.estimate - *reference;
    }
    judgeClaim(entry, uncertainty + claimFloor(row.estimate, row.evaluations));
}

}  // namespace

namespace {

// What a method's race entry holds at every budget: its table's rows, how often their claims
// held, and what its sized runs are judged against.
struct TableOfMethod {
    RaceEntry entry;
    std::vector<RowAnalysis> rows;
    bool sized = false;
    std::optional<double> reference;
    double uncertainty = 0.0;
};

TableOfMethod tableOf(const Model& model, Method method, std::uint64_t seed, Race& inputs,
                      bool first) {
    Model scratch = model;
    scratch.useGenerator(RandomGenerator::seeded(seed, static_cast<std::uint32_t>(method)));
    AnalysedRun run{scratch.run(method), {}};
    run.analysis = analyse(run.run, false);
    if (first) {
        inputs.reference = run.analysis.reference;
        inputs.whyNoReference = run.analysis.divergence ? divergenceText(*run.analysis.divergence)
                                                        : run.analysis.whyNoReference;
    }
    TableOfMethod table;
    RaceEntry& entry = table.entry;
    entry.method = method;
    entry.fault = run.run.fault;
    const bool noBox = methodOf(method).samplesABox() &&
                       (model.ymax().isEmpty() || model.ymax().toDouble() == 0.0);
    if (noBox) {
        entry.noClaim = "no box to sample: every row is 0 until the box has a height";
    }
    // A method that runs at any size is shown at the largest its budget pays for; its table's
    // rows still say how often its claims held.
    table.sized = !noBox && methodOf(method).sizes().has_value();
    table.reference =
        run.analysis.reference ? std::optional(run.analysis.reference->value) : std::nullopt;
    // The truth is known only to within the reference's own uncertainty: a claim that misses by
    // no more than that is not counted against the method.
    table.uncertainty = run.analysis.reference ? run.analysis.reference->uncertainty : 0.0;
    for (const RowAnalysis& row : run.analysis.rows) {
        // Nor is a claim finer than a double can tell: a few ulps of the estimate.
        const double slack = table.uncertainty + claimFloor(row.estimate);
        if (table.reference && std::isfinite(row.estimate - *table.reference) &&
            row.estimatedError && !noBox) {
            ++entry.claimsJudged;
            entry.claimsHeld +=
                std::fabs(row.estimate - *table.reference) <= *row.estimatedError + slack ? 1 : 0;
        }
    }
    table.rows = std::move(run.analysis.rows);
    return table;
}

// The entry at one budget: the method at the largest size that fits, from its own stream of
// numbers, as its table's rows were; or, for one that runs only its table, the last row that
// fits (the rows cost more the further down they stand).
RaceEntry entryAt(const Model& model, const TableOfMethod& table, std::int64_t budget,
                  std::uint64_t seed) {
    RaceEntry entry = table.entry;
    const Method method = entry.method;
    if (table.sized) {
        Model scratch = model;
        scratch.useGenerator(RandomGenerator::seeded(seed, static_cast<std::uint32_t>(method)));
        const Model::SizedRun sized = scratch.runWithin(method, budget);
        if (sized.row || sized.fault) {
            judgeSized(entry, sized, table.reference, table.uncertainty);
        }
        return entry;
    }
    const bool noBox = !entry.noClaim.empty();
    for (const RowAnalysis& row : table.rows) {
        if (row.evaluations > budget) {
            continue;
        }
        entry.counter = row.counter;
        entry.evaluations = row.evaluations;
        entry.estimate = row.estimate;
        entry.estimatedError = noBox ? std::nullopt : row.estimatedError;
        entry.claimAtRoundingLevel = row.claimAtRoundingLevel;
        entry.error.reset();
        if (table.reference && std::isfinite(row.estimate - *table.reference)) {
            entry.error = row.estimate - *table.reference;
        }
        judgeClaim(entry, table.uncertainty + claimFloor(row.estimate));
    }
    return entry;
}

}  // namespace

Race race(const Model& model, std::int64_t budget, std::span<const Method> methods,
          const RaceProgress& progress, std::uint64_t seed) {
    Sweep one = sweep(model, std::span(&budget, 1), methods, progress, seed);
    return std::move(one.races.front());
}

Sweep sweep(const Model& model, std::span<const std::int64_t> budgets,
            std::span<const Method> methods, const RaceProgress& progress, std::uint64_t seed) {
    Race inputs;
    inputs.seed = seed;
    inputs.integrand = model.integrand();
    inputs.x1 = model.x1();
    inputs.x2 = model.x2();
    inputs.ymax = model.ymax();
    Sweep result;
    for (const std::int64_t budget : budgets) {
        result.races.push_back(inputs);
        result.races.back().budget = budget;
    }
    for (std::size_t m = 0; m < methods.size(); ++m) {
        try {
            const TableOfMethod table = tableOf(model, methods[m], seed, inputs, m == 0);
            std::vector<RaceEntry> entries;
            for (const Race& race : result.races) {
                entries.push_back(entryAt(model, table, race.budget, seed));
            }
            for (std::size_t b = 0; b < result.races.size(); ++b) {
                result.races[b].reference = inputs.reference;
                result.races[b].whyNoReference = inputs.whyNoReference;
                result.races[b].entries.push_back(std::move(entries[b]));
            }
        } catch (const StopRequested&) {
            // Asked to stop inside a method: the races keep the methods run whole.
            break;
        }
        if (progress && !progress(m + 1, methods.size())) {
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
