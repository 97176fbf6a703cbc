// SPDX-License-Identifier: GPL-3.0-or-later
// What the Compare window says about a race: a race stopped part way never reads as complete;
// a seed as typed.
#include "model/race_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "support/typed.h"

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

Model modelOf(int row, double lower, double upper, std::optional<float> height) {
    Model model;
    model.chooseIntegrand(row);
    model.setLower(Variant::real(lower));
    model.setUpper(Variant::real(upper));
    if (height) {
        model.setHeight(*height);
    }
    return model;
}

// The title and the line above the race name what is compared; a race shown for inputs that
// have changed since says so until it is run again.
TEST(RaceTextsTest, TheRaceIsNamedAndMarkedWhenItsInputsChange) {
    const Model xsinx = modelOf(3, 0, 3, 2.0f);
    const RaceInputs now = inputsOf(xsinx, 1);
    EXPECT_EQ(compareTitle(now), "Compare the methods: x*sin(x) on 0..3, box height 2, seed 1");
    EXPECT_EQ(inputsText(inputsOf(Model(), std::nullopt)), "no integrand on 0..0, no box, no seed");
    Model typed = modelOf(3, -0.5, 1e-3, std::nullopt);
    typed.chooseExpression(test::parsed("x^4"));
    EXPECT_EQ(inputsText(inputsOf(typed, 18446744073709551615u)),
              "x^4 on -0.5..0.001, no box, seed 18446744073709551615");

    Race race = integral::race(xsinx, 10, std::vector<Method>{Method::Trapezoid}, {}, 1);
    const std::string same = "For x*sin(x) on 0..3, box height 2, seed 1.";
    const std::string stale =
        "For x*sin(x) on 0..3, box height 2, seed 1 \u2014 the inputs have changed since: Race "
        "again.";
    struct Case {
        const char* what;
        RaceInputs now;
        std::string heading;
    };
    for (const Case& c : {
             Case{"the same", now, same},
             Case{"another integrand", inputsOf(modelOf(1, 0, 3, 2.0f), 1), stale},
             Case{"another lower limit", inputsOf(modelOf(3, 0.5, 3, 2.0f), 1), stale},
             Case{"another upper limit", inputsOf(modelOf(3, 0, 2, 2.0f), 1), stale},
             Case{"another box", inputsOf(modelOf(3, 0, 3, 2.5f), 1), stale},
             Case{"no box", inputsOf(modelOf(3, 0, 3, std::nullopt), 1), stale},
             Case{"another seed", inputsOf(xsinx, 2), stale},
             Case{"a seed that is no number", inputsOf(xsinx, std::nullopt), stale},
         }) {
        EXPECT_EQ(raceHeading(inputsOf(race), c.now), c.heading) << c.what;
    }
    EXPECT_EQ(raceHeading(std::nullopt, now),
              "No race yet for x*sin(x) on 0..3, box height 2, seed 1: Race (Ctrl+R) runs one.");
}

}  // namespace
}  // namespace integral
