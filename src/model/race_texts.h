// SPDX-License-Identifier: GPL-3.0-or-later
// What the Compare window says about a race, in English and without a window: how far the race
// got, so that a race stopped part way never reads as complete.
#pragma once

#include <cstddef>
#include <string>

#include "model/race.h"

namespace integral {

// The line under the race's table:
//   every method run:       "At 1000 evaluations of f."
//   stopped part way:       "Stopped after 4 of 11 methods at 1000000 evaluations of f."
// `requested` is how many methods were asked for; the race holds those that ran.
std::string raceOutcomeText(const Race& race, std::size_t requested);

}  // namespace integral
