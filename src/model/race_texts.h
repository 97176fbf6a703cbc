// SPDX-License-Identifier: GPL-3.0-or-later
// What the Compare window says about a race, in English and without a window: how far the race
// got, so that a race stopped part way never reads as complete, and the seed as it is typed.
#pragma once

#include <cstddef>
#include <cstdint>
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

}  // namespace integral
