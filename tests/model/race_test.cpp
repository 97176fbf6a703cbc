// SPDX-License-Identifier: GPL-3.0-or-later
// The race at equal cost: each method at the largest size its budget pays for, its claim beside
// its true error, and the claims that did not hold marked with the factor they missed by.
#include "model/race.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "runtime/stop_request.h"
#include "runtime/variant_array.h"
#include "support/typed.h"

namespace integral {
namespace {

// The model with integrand `row` of the list, or the typed one.
Model modelOf(int row, const char* typed, double lower, double upper) {
    Model model;
    if (typed != nullptr) {
        model.chooseExpression(test::parsed(typed));
    } else {
        model.chooseIntegrand(row);
    }
    model.setLower(Variant::real(lower));
    model.setUpper(Variant::real(upper));
    return model;
}

// 4/(x*x+1) on 0..1 for 50 evaluations: Gauss, which runs only its fixed rows, reaches its last
// (6 nodes); the trapezoid rule runs at the largest size it pays for, 48 subintervals (49
// evaluations, its own estimate from every other node among them); Sobol at 2 points of 16
// shifts. Each is judged against pi; the rows of each method's table say how often its claims
// held.
TEST(RaceTest, EachMethodAtTheLargestSizeItsBudgetPaysFor) {
    const Model model = modelOf(1, nullptr, 0, 1);
    const std::vector<Method> methods = {Method::Gauss, Method::Trapezoid, Method::Sobol};
    const Race race = integral::race(model, 50, methods);
    ASSERT_EQ(race.entries.size(), 3u);
    const RaceEntry& gauss = race.entries[0];
    EXPECT_EQ(gauss.counter, 20);
    EXPECT_EQ(gauss.evaluations, 39);  // and 19 more nodes for its own estimate
    Model scratch = model;
    EXPECT_EQ(gauss.estimate, scratch.runAt(Method::Gauss, 20).row->estimate);
    EXPECT_DOUBLE_EQ(*gauss.error, *gauss.estimate - 3.141592653589793);
    EXPECT_EQ(gauss.claimHeld, std::fabs(*gauss.error) <= *gauss.estimatedError);
    const RaceEntry& trapezoid = race.entries[1];
    EXPECT_EQ(trapezoid.counter, 48);
    EXPECT_EQ(trapezoid.evaluations, 49);
    EXPECT_EQ(trapezoid.estimate, scratch.runAt(Method::Trapezoid, 48).row->estimate);
    EXPECT_EQ(trapezoid.estimatedError, scratch.runAt(Method::Trapezoid, 48).row->ownError);
    EXPECT_EQ(trapezoid.claimsJudged, 9);  // every row of its table but the first has a claim
    // A size that costs exactly the budget is within it.
    for (const auto& [budget, counter] :
         {std::pair{48, 46}, std::pair{49, 48}, std::pair{50, 48}}) {
        EXPECT_EQ(integral::race(model, budget, std::vector{Method::Trapezoid}).entries[0].counter,
                  counter)
            << budget;
    }
    EXPECT_EQ(race.entries[2].counter, 32);
    EXPECT_EQ(race.entries[2].evaluations, 32);
    EXPECT_EQ(race.entries[2].claimsJudged, 10);
    EXPECT_EQ(claimsText(race.entries[2]),
              "claims held in " + std::to_string(race.entries[2].claimsHeld) + " of 10 rows");
}

// Every method that runs at any size uses at most its budget and, where its sizes reach, at
// least half of it: the largest size that fits, the next one not fitting.
TEST(RaceTest, ASizeUsesBetweenHalfTheBudgetAndTheBudget) {
    for (const MethodInfo& info : kMethods) {
        const std::optional<MethodSizes> sizes = methodOf(info.method).sizes();
        if (!sizes) {
            continue;
        }
        for (const std::int64_t budget : {10, 33, 100, 999, 1000, 12345, 100000, 1000000}) {
            SCOPED_TRACE(std::string(info.name) + " at " + std::to_string(budget));
            if (sizes->evaluations == nullptr) {
                // Only a run tells the cost: the next size's run costs more than the budget.
                Model model = modelOf(1, nullptr, 0, 1);
                const Model::SizedRun within = model.runWithin(info.method, budget);
                ASSERT_TRUE(within.row.has_value());
                EXPECT_LE(within.row->evaluations, budget);
                if (within.row->counter < sizes->largest) {
                    const std::int64_t next = within.row->counter + sizes->step;
                    EXPECT_GT(model.runAt(info.method, next).row->evaluations, budget);
                }
                continue;
            }
            const std::optional<std::int64_t> n = largestSizeWithin(*sizes, budget);
            if (!n) {
                EXPECT_GT(sizes->evaluations(sizes->step), budget);
                continue;
            }
            EXPECT_TRUE(sizes->has(*n));
            EXPECT_LE(sizes->evaluations(*n), budget);
            std::int64_t next = *n + sizes->step;
            while (next <= sizes->largest && !sizes->has(next)) {
                next += sizes->step;
            }
            if (next <= sizes->largest) {
                EXPECT_GT(sizes->evaluations(next), budget);
                EXPECT_GE(2 * sizes->evaluations(*n), budget);
            }
        }
    }
}

// A million values of f summed carry a thousand times a single rounding: the parabolic rule and
// Gauss are then exact but for that rounding, and claim it, which holds; no claim is 0.
TEST(RaceTest, AClaimAtTheRoundingLevelGrowsWithThePointsSummed) {
    const Model model = modelOf(4, nullptr, 0, 3);
    const std::vector<Method> methods = {Method::Zelbrin, Method::Gauss, Method::AdaptiveSimpson};
    for (const RaceEntry& entry : integral::race(model, 1000000, methods).entries) {
        SCOPED_TRACE(std::string(methodInfo(entry.method).name));
        ASSERT_TRUE(entry.claimHeld.has_value());
        EXPECT_TRUE(*entry.claimHeld);
        EXPECT_TRUE(entry.claimAtRoundingLevel);
        EXPECT_EQ(*entry.estimatedError, claimFloor(*entry.estimate, entry.evaluations));
    }
    const double eps = std::numeric_limits<double>::epsilon();
    for (const auto& [estimate, evaluations, ulps] :
         {std::tuple{1.0, 1, 4.0}, std::tuple{-2.0, 16, 8.0}, std::tuple{3.0, 1000000, 3000.0}}) {
        EXPECT_EQ(claimFloor(estimate, evaluations), ulps * eps) << evaluations;
    }
}

// Each budget of a sweep runs each method at its size from the start of the method's own stream
// for the seed, as one run at that size with that seed does; the tables' claims are the same at
// every budget.
TEST(RaceTest, ASweepRunsEachBudgetFromTheMethodsOwnStream) {
    Model model = modelOf(4, nullptr, 0, 3);
    model.setHeight(2.0f);
    const std::vector<Method> methods = {Method::Gauss, Method::MeanValue, Method::AdaptiveSimpson,
                                         Method::MonteCarlo};
    const std::vector<std::int64_t> budgets = {100, 5000};
    const Sweep sweep = integral::sweep(model, budgets, methods, {}, 7);
    ASSERT_EQ(sweep.races.size(), budgets.size());
    for (std::size_t b = 0; b < budgets.size(); ++b) {
        const Race& swept = sweep.races[b];
        EXPECT_EQ(swept.budget, budgets[b]);
        ASSERT_EQ(swept.entries.size(), methods.size());
        for (std::size_t m = 0; m < methods.size(); ++m) {
            const RaceEntry& entry = swept.entries[m];
            SCOPED_TRACE(std::string(methodInfo(methods[m]).name) + " at " +
                         std::to_string(budgets[b]));
            ASSERT_TRUE(entry.counter.has_value());
            Model alone = model;
            alone.useGenerator(RandomGenerator::seeded(7, static_cast<std::uint32_t>(methods[m])));
            const RowFigures row = *alone.runAt(methods[m], *entry.counter).row;
            EXPECT_EQ(entry.estimate, row.estimate);
            EXPECT_EQ(entry.evaluations, row.evaluations);
            EXPECT_LE(entry.evaluations, budgets[b]);
            EXPECT_EQ(entry.claimsHeld, sweep.races[0].entries[m].claimsHeld);
        }
    }
}

// A stop asked for from another thread ends every method at its next evaluation of f, typed
// integrands' fast paths included; a race keeps the methods it ran whole and ends at once.
TEST(RaceTest, AStopEndsEveryMethodAtItsNextEvaluation) {
    struct Stopping {
        std::atomic<bool>* stop;
        int calls = 0;
        Variant operator()(const Variant& x) {
            if (++calls == 10) {
                stop->store(true);
            }
            return Variant::real(1.0 + x.toDouble());
        }
    };
    for (const MethodInfo& info : kMethods) {
        SCOPED_TRACE(std::string(info.name));
        std::atomic<bool> stop = false;
        const StopScope scope(stop);
        Stopping f{&stop};
        Variant hits;
        VariantArray node(0, 10);
        VariantArray weight(0, 10);
        RandomGenerator random;
        MethodState state{Variant::real(0), Variant::real(1), Variant::single(4.0f), &hits, &node,
                          &weight,          &random};
        ResultsPanel panel;
        EXPECT_THROW(methodOf(info.method).run(Integrand(f), state, panel, nullptr), StopRequested);
        EXPECT_EQ(f.calls, 10);
        // A typed integrand, which the sampling methods evaluate in batches of plain doubles.
        Model typed = modelOf(0, "sqrt(x)+1", 0, 1);
        typed.setHeight(4.0f);
        EXPECT_THROW(typed.run(info.method), StopRequested);
    }
    // Stopped before it began, a race runs nothing; without a stop it runs every method.
    const Model model = modelOf(0, "sqrt(x)", 0, 1);
    const std::vector<Method> methods = {Method::Gauss, Method::MeanValue};
    std::atomic<bool> stop = true;
    {
        const StopScope scope(stop);
        EXPECT_TRUE(integral::race(model, 1000, methods).entries.empty());
    }
    EXPECT_EQ(integral::race(model, 1000, methods).entries.size(), 2u);
}

// Each example the handbook explains shows what it says, set up wholly by the example (box
// included) at one of the slider's budgets.
TEST(RaceTest, EachExampleShowsWhatTheHandbookSays) {
    const auto entryOf = [](const Race& race, Method method) {
        return *std::find_if(race.entries.begin(), race.entries.end(),
                             [method](const RaceEntry& e) { return e.method == method; });
    };
    const std::vector<Method> every = allMethods();
    for (std::size_t i = 0; i < std::size(kRacePresets); ++i) {
        const RacePreset& preset = kRacePresets[i];
        SCOPED_TRACE(std::string(preset.name));
        EXPECT_NE(std::find(std::begin(kSweepBudgets), std::end(kSweepBudgets), preset.budget),
                  std::end(kSweepBudgets));
        Model model = modelOf(0, std::string(preset.function).c_str(), preset.lower, preset.upper);
        model.setHeight(preset.ymax);
        const Race race = integral::race(model, preset.budget, every);
        switch (i) {
            case 0: {  // the parabolic rule claims an eighth of its error
                const RaceEntry zelbrin = entryOf(race, Method::Zelbrin);
                EXPECT_FALSE(*zelbrin.claimHeld);
                EXPECT_NEAR(*zelbrin.missedBy, 8.0, 0.5);
                break;
            }
            case 1: {  // 2 sigma holds in fewer than four rows of five; no box for hit-or-miss
                const RaceEntry meanValue = entryOf(race, Method::MeanValue);
                EXPECT_LT(5 * meanValue.claimsHeld, 4 * meanValue.claimsJudged);
                EXPECT_GE(meanValue.claimsJudged, 20);
                EXPECT_FALSE(entryOf(race, Method::MonteCarlo).noClaim.empty());
                break;
            }
            default:  // every claim but hit-or-miss's misses the whole integral
                for (const RaceEntry& entry : race.entries) {
                    SCOPED_TRACE(std::string(methodInfo(entry.method).name));
                    ASSERT_TRUE(entry.claimHeld.has_value());
                    EXPECT_EQ(*entry.claimHeld, entry.method == Method::MonteCarlo);
                }
        }
    }
}

// sqrt(x) on 0..1 has an infinite slope at 0: the rows are not yet in their asymptotic regime,
// and the parabolic rule's Richardson estimate, made for an error falling as n^-4, claims
// (2^1.5 - 1) / 15 of an error that falls as n^-1.5.
TEST(RaceTest, AClaimThatDidNotHoldSaysByHowMuch) {
    const Model model = modelOf(0, "sqrt(x)", 0, 1);
    const std::vector<Method> methods = {Method::Zelbrin};
    const Race race = integral::race(model, 100, methods);
    const RaceEntry& zelbrin = race.entries[0];
    ASSERT_TRUE(zelbrin.claimHeld.has_value());
    EXPECT_FALSE(*zelbrin.claimHeld);
    ASSERT_TRUE(zelbrin.missedBy.has_value());
    EXPECT_NEAR(*zelbrin.missedBy, std::fabs(*zelbrin.error) / *zelbrin.estimatedError, 1e-12);
    EXPECT_NEAR(*zelbrin.missedBy, 15.0 / (std::pow(2.0, 1.5) - 1.0), 0.3);
    EXPECT_LT(zelbrin.claimsHeld, zelbrin.claimsJudged);
}

// Hit-or-miss without a box has nothing to sample: its claims are not judged, and the race says
// why. With a box they are.
TEST(RaceTest, HitOrMissWithoutABoxHasNoClaims) {
    Model model = modelOf(1, nullptr, 0, 1);
    const std::vector<Method> methods = {Method::MonteCarlo};
    const RaceEntry none = integral::race(model, 100000, methods).entries[0];
    EXPECT_EQ(none.claimsJudged, 0);
    EXPECT_FALSE(none.estimatedError.has_value());
    EXPECT_FALSE(none.claimHeld.has_value());
    EXPECT_EQ(claimsText(none), "no box to sample: every row is 0 until the box has a height");
    model.setHeight(4.0f);
    const RaceEntry boxed = integral::race(model, 100000, methods).entries[0];
    EXPECT_TRUE(boxed.noClaim.empty());
    EXPECT_EQ(boxed.claimsJudged, 25);
}

// A miss is told in words that agree with its size: a factor where the error is twice the claim
// or more, else the amount beyond the claim.
TEST(RaceTest, AMissIsToldByHowMuch) {
    struct Case {
        double error;
        double claim;
        const char* told;
    };
    for (const Case& c :
         std::vector<Case>{{-3e-4, 1e-4, "by a factor 3"},
                           {2e-4, 1e-4, "by a factor 2"},
                           {-1.4e-4, 1e-4, "by 4e-05 more than it claimed"},
                           {1e-8 + 1.4e-16, 1e-8, "by 1.4e-16 more than it claimed"},
                           {5e-5, 1e-4, ""}}) {
        RaceEntry entry;
        entry.error = c.error;
        entry.estimatedError = c.claim;
        entry.claimHeld = std::fabs(c.error) <= c.claim;
        if (!*entry.claimHeld) {
            entry.missedBy = std::fabs(c.error) / c.claim;
        }
        EXPECT_EQ(missText(entry), c.told) << c.error;
    }
}

// The same seed gives the same race, another seed other numbers; the model's own generator is
// left where it was.
TEST(RaceTest, EachSeedGivesItsOwnNumbers) {
    Model model = modelOf(1, nullptr, 0, 1);
    model.setHeight(4.0f);
    const std::vector<Method> methods = {Method::MonteCarlo, Method::MeanValue, Method::Sobol};
    const auto estimates = [&](std::uint64_t seed) {
        std::vector<std::optional<double>> found;
        for (const RaceEntry& e : integral::race(model, 10000, methods, {}, seed).entries) {
            found.push_back(e.estimate);
        }
        return found;
    };
    EXPECT_EQ(estimates(5), estimates(5));
    const std::vector<std::optional<double>> five = estimates(5);
    const std::vector<std::optional<double>> six = estimates(6);
    for (std::size_t i = 0; i < methods.size(); ++i) {
        EXPECT_NE(five[i], six[i]) << methodInfo(methods[i]).name;
    }
    Model untouched = modelOf(1, nullptr, 0, 1);
    untouched.setHeight(4.0f);
    EXPECT_EQ(model.run(Method::MonteCarlo).rows, untouched.run(Method::MonteCarlo).rows);
}

// Over many seeds a statistical method's claim of 2 sigma misses as often as chance says it
// should, about one row in twenty: not the same rows on every input, as one fixed sequence for
// every method and integrand made it look.
TEST(RaceTest, TwoSigmaMissesAsOftenAsChanceSays) {
    for (const auto& [method, seeds] :
         {std::pair{Method::MeanValue, 60}, std::pair{Method::Sobol, 24}}) {
        SCOPED_TRACE(std::string(methodInfo(method).name));
        int judged = 0;
        int missed = 0;
        for (int seed = 0; seed < seeds; ++seed) {
            Model model = modelOf(3, nullptr, 0, 3);
            model.useGenerator(RandomGenerator::seeded(static_cast<std::uint64_t>(seed), 0));
            const AnalysedRun run = analysed(model.run(method));
            for (const RowAnalysis& row : run.analysis.rows) {
                ASSERT_TRUE(row.error && row.estimatedError);
                ++judged;
                missed += std::fabs(*row.error) > *row.estimatedError ? 1 : 0;
            }
        }
        const double share = static_cast<double>(missed) / judged;
        EXPECT_GT(share, 0.01) << missed << " of " << judged;
        EXPECT_LT(share, 0.12) << missed << " of " << judged;
    }
}

}  // namespace
}  // namespace integral
