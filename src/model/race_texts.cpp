// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/race_texts.h"

#include <charconv>

#include "runtime/short_number.h"

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

bool RaceInputs::operator==(const RaceInputs& other) const {
    return integrand.same(other.integrand) && x1.identical(other.x1) && x2.identical(other.x2) &&
           ymax.identical(other.ymax) && seed == other.seed;
}

RaceInputs inputsOf(const Model& model, std::optional<std::uint64_t> seed) {
    return {model.integrand(), model.x1(), model.x2(), model.ymax(), seed};
}

RaceInputs inputsOf(const Race& race) {
    return {race.integrand, race.x1, race.x2, race.ymax, race.seed};
}

std::string inputsText(const RaceInputs& inputs) {
    std::string integrand = "no integrand";
    if (inputs.integrand.chosen()) {
        // The formula alone: the title has no room for "y = ".
        integrand = inputs.integrand.name();
        for (const std::string_view prefix : {"y = ", "f(x) = "}) {
            if (integrand.starts_with(prefix)) {
                integrand.erase(0, prefix.size());
            }
        }
    }
    const double height = inputs.ymax.toDouble();
    return integrand + " on " + shortNumber(inputs.x1.toDouble(), 10) + ".." +
           shortNumber(inputs.x2.toDouble(), 10) + ", " +
           (height > 0.0 ? "box height " + shortNumber(height, 7) : std::string("no box")) + ", " +
           (inputs.seed ? "seed " + std::to_string(*inputs.seed) : std::string("no seed"));
}

std::string compareTitle(const RaceInputs& now) {
    return "Compare the methods: " + inputsText(now);
}

std::string raceHeading(const std::optional<RaceInputs>& shown, const RaceInputs& now) {
    if (!shown) {
        return "No race yet for " + inputsText(now) + ": Race (Ctrl+R) runs one.";
    }
    if (*shown == now) {
        return "For " + inputsText(*shown) + ".";
    }
    return "For " + inputsText(*shown) + " \u2014 the inputs have changed since: Race again.";
}

}  // namespace integral
