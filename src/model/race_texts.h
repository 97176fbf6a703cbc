// SPDX-License-Identifier: GPL-3.0-or-later
// What the Compare window says about a race, in English and without a window: how far the race
// got, so that a race stopped part way never reads as complete; the seed as it is typed; and
// what the race compares, so that a race shown after the main window's inputs have changed
// never passes for one of the new inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "model/race.h"

namespace integral {

// The line under the race's table:
//   every method run:       "At 1000 evaluations of f."
//   stopped part way:       "Stopped after 4 of 11 methods at 1000000 evaluations of f."
// `requested` is how many methods were asked for; the race holds those that ran.
std::string raceOutcomeText(const Race& race, std::size_t requested);

// A seed as typed: a whole number from 0 to 2^64 - 1, blanks around it allowed, or what is
// wrong with the text:
//   " 42 " -> 42        "18446744073709551615" -> 18446744073709551615
//   "-1", "1e3", "18446744073709551616", "" -> "The seed is a whole number from 0 to
//   18446744073709551615; \"-1\" is not one."  (or, empty: "Type a seed: a whole number ...")
std::variant<std::uint64_t, std::string> readSeed(std::string_view text);

// What a race runs on: the main window's integrand, limits and box, and the seed (nothing
// while the seed typed is no number).
struct RaceInputs {
    IntegrandDescriptor integrand;
    Variant x1;
    Variant x2;
    Variant ymax;
    std::optional<std::uint64_t> seed;
    bool operator==(const RaceInputs& other) const;
};
RaceInputs inputsOf(const Model& model, std::optional<std::uint64_t> seed);
RaceInputs inputsOf(const Race& race);

// "x*sin(x) on 0..3, box height 2, seed 1"; "no box" where the box has no height, "no
// integrand" where none is chosen, "no seed" where the seed typed is no number.
std::string inputsText(const RaceInputs& inputs);

// The Compare window's title: "Compare the methods: x*sin(x) on 0..3, box height 2, seed 1".
std::string compareTitle(const RaceInputs& now);

// The line above the race's table, for the race `shown` (nothing before the first) while the
// main window and the seed stand at `now`:
//   "No race yet for x*sin(x) on 0..3, box height 2, seed 1: Race (Ctrl+R) runs one."
//   "For x*sin(x) on 0..3, box height 2, seed 1."
//   "For x*sin(x) on 0..3, box height 2, seed 1 — the inputs have changed since: Race again."
std::string raceHeading(const std::optional<RaceInputs>& shown, const RaceInputs& now);

}  // namespace integral
