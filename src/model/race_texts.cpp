// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/race_texts.h"

#include <charconv>

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

std::variant<std::uint64_t, std::string> readSeed(std::string_view text) {
    constexpr std::string_view kRange = "a whole number from 0 to 18446744073709551615";
    std::string_view digits = text;
    while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t')) {
        digits.remove_prefix(1);
    }
    while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t')) {
        digits.remove_suffix(1);
    }
    if (digits.empty()) {
        return "Type a seed: " + std::string(kRange) + ".";
    }
    std::uint64_t seed = 0;
    // from_chars takes no sign and no blanks: what it reads must be the whole text.
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return "The seed is " + std::string(kRange) + "; \"" + std::string(text) + "\" is not one.";
    }
    return seed;
}

}  // namespace integral
