// SPDX-License-Identifier: GPL-3.0-or-later
// The race at equal cost: every chosen method on the same integrand and limits, each at the
// largest size whose evaluations of f fit within a budget, with the error it claims for that row
// (its own estimate, made without the exact value) beside the error it has (against the exact
// integral or the reference), and whether the claim held. Over all of a method's rows, how
// often its claims held: "claims held in 9 of 10 rows".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.h"
#include "model/run_analysis.h"

namespace integral {

struct RaceEntry {
    Method method = Method::Zelbrin;
    // The row reached within the budget; nothing when even the first row costs more.
    std::optional<std::int64_t> counter;
    std::int64_t evaluations = 0;
    std::optional<double> estimate;
    std::optional<double> estimatedError;  // what the method claims
    bool claimAtRoundingLevel = false;     // the claim is the rounding its estimate carries
    std::optional<double> error;           // what it has: estimate - exact (or reference)
    std::optional<bool> claimHeld;         // |error| <= estimatedError
    // By what factor the claim was wrong, |error| / estimatedError, where it did not hold.
    std::optional<double> missedBy;
    // Over all the method's rows that have both a claim and an error.
    int claimsHeld = 0;
    int claimsJudged = 0;
    // Why the method's claims cannot be judged at all, where they cannot: hit-or-miss with no
    // box has nothing to sample, and its every row is 0.
    std::string noClaim;
    std::optional<FaultReport> fault;
};

// The seed of a race where none is given.
inline constexpr std::uint64_t kDefaultSeed = 1;

struct Race {
    std::int64_t budget = 0;
    std::uint64_t seed = kDefaultSeed;
    // The inputs every method ran on.
    IntegrandDescriptor integrand;
    Variant x1;
    Variant x2;
    Variant ymax;
    std::optional<ReferenceValue> reference;
    std::string whyNoReference;  // where there is none: no true error can be told
    std::vector<RaceEntry> entries;
};

// Hears after each method how far the race has got; returning false stops it there, with the
// entries made so far.
using RaceProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Runs each method on a copy of the model, so that the model's own state, its generator
// included, stays as it was. Each statistical method draws from a stream of its own, derived
// from `seed` and the method: no two methods and no two seeds share their numbers, and the
// same seed gives the same race.
Race race(const Model& model, std::int64_t budget, std::span<const Method> methods,
          const RaceProgress& progress = {}, std::uint64_t seed = kDefaultSeed);

// The race at several budgets: every method's true and claimed error against the cost. Each
// method's table is run once, its sized runs once per budget, each from the start of its own
// stream of numbers.
struct Sweep {
    std::vector<Race> races;  // one per budget, in the order given
};
Sweep sweep(const Model& model, std::span<const std::int64_t> budgets,
            std::span<const Method> methods, const RaceProgress& progress = {},
            std::uint64_t seed = kDefaultSeed);

// 10, 20, 50, 100, ..., 10^6: the sweep's budgets, evenly spread on a log scale.
inline constexpr std::int64_t kSweepBudgets[] = {10,     20,     50,     100,    200,   500,
                                                 1000,   2000,   5000,   10000,  20000, 50000,
                                                 100000, 200000, 500000, 1000000};

// The examples the handbook explains claims that fail with, one of each kind, set up at a
// click: an integrand a student could type, its limits, the Monte Carlo box (0: none) and the
// budget to race them at, one of the slider's.
struct RacePreset {
    std::string_view name;
    std::string_view function;
    double lower;
    double upper;
    float ymax;
    std::int64_t budget;
};
inline constexpr RacePreset kRacePresets[] = {
    {"Not yet asymptotic: sqrt(x) on 0..1 (an infinite slope at 0)", "sqrt(x)", 0.0, 1.0, 1.0f,
     100},
    {"Sigma is itself estimated: x^(-0.9) on 0..1 (an infinite variance)", "x^(-0.9)", 0.0, 1.0,
     0.0f, 5000},
    {"A narrow peak missed by every rule: exp(-1e6*(x-0.37)^2) on 0..1", "exp(-1e6*(x-0.37)^2)",
     0.0, 1.0, 1.0f, 50},
};

// "claims held in 9 of 10 rows", or that none could be judged, and why.
std::string claimsText(const RaceEntry& entry);

// How far a claim that did not hold missed, in words: "by a factor 3.2", or where the error is
// less than twice the claim, "by 1.4e-08 more than it claimed"; "" where it held.
std::string missText(const RaceEntry& entry);

// What decides whether a claim held, for the help and the handbook.
inline constexpr std::string_view kClaimSlack =
    "a claim holds where |error| <= claim + the reference's uncertainty + the rounding the "
    "estimate carries (4 ulps of it, or eps sqrt(N) of it for a sum of N values of f where that "
    "is more)";

}  // namespace integral
