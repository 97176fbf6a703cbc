// SPDX-License-Identifier: GPL-3.0-or-later
// What the Compare window says about a race: a race stopped part way never reads as complete.
#include "model/race_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace integral {
namespace {

Race raceOf(std::int64_t budget, std::size_t entries) {
    Race race;
    race.budget = budget;
    race.entries.resize(entries);
    return race;
}

TEST(RaceTextsTest, AStoppedRaceSaysHowFarItGot) {
    struct Case {
        std::int64_t budget;
        std::size_t ran;
        std::size_t requested;
        std::string said;
    };
    for (const Case& c : {
             Case{1000, 11, 11, "At 1000 evaluations of f."},
             Case{1000000, 4, 11, "Stopped after 4 of 11 methods at 1000000 evaluations of f."},
             Case{100, 0, 3, "Stopped after 0 of 3 methods at 100 evaluations of f."},
             Case{10, 0, 1, "Stopped after 0 of 1 method at 10 evaluations of f."},
             Case{50, 0, 0, "At 50 evaluations of f."},
         }) {
        EXPECT_EQ(raceOutcomeText(raceOf(c.budget, c.ran), c.requested), c.said);
    }
}

}  // namespace
}  // namespace integral
