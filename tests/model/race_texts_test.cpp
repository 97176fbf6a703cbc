// SPDX-License-Identifier: GPL-3.0-or-later
// What the Compare window says about a race: a race stopped part way never reads as complete;
// a seed as typed.
#include "model/race_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>

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

TEST(RaceTextsTest, ASeedIsAWholeNumberThatFitsSixtyFourBits) {
    const std::string rule = "The seed is a whole number from 0 to 18446744073709551615; ";
    struct Case {
        const char* typed;
        std::variant<std::uint64_t, std::string> read;
    };
    for (const Case& c : {
             Case{"0", std::uint64_t{0}},
             Case{" 42\t", std::uint64_t{42}},
             Case{"007", std::uint64_t{7}},
             Case{"18446744073709551615", std::uint64_t{18446744073709551615u}},
             Case{"18446744073709551616", rule + "\"18446744073709551616\" is not one."},
             Case{"-1", rule + "\"-1\" is not one."},
             Case{"+1", rule + "\"+1\" is not one."},
             Case{"1e3", rule + "\"1e3\" is not one."},
             Case{"1 2", rule + "\"1 2\" is not one."},
             Case{"x", rule + "\"x\" is not one."},
             Case{"  ", std::string("Type a seed: a whole number from 0 to 18446744073709551615.")},
         }) {
        EXPECT_EQ(readSeed(c.typed), c.read) << c.typed;
    }
}

}  // namespace
}  // namespace integral
