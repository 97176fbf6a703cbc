// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/race_texts.h"

namespace integral {

std::string raceOutcomeText(const Race& race, std::size_t requested) {
    const std::string budget = std::to_string(race.budget) + " evaluations of f.";
    if (race.entries.size() >= requested) {
        return "At " + budget;
    }
    const std::size_t ran = race.entries.size();
    return "Stopped after " + std::to_string(ran) + " of " + std::to_string(requested) +
           (requested == 1 ? " method" : " methods") + " at " + budget;
}

}  // namespace integral
