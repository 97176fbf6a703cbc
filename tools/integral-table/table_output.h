// SPDX-License-Identifier: GPL-3.0-or-later
// The layouts integral-table writes a run in. Text without details is exactly what the window
// shows; the details add what the window's tooltips say of each row. JSON always carries every
// figure, null where one does not exist, under the names of kRunKeys and kPointsKeys: the one
// list that the writer keeps to and --help shows.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "model/model.h"
#include "model/race.h"
#include "model/run_analysis.h"

namespace integral {

enum class Layout { Text, Tsv, Json };

// A name of the JSON documents, with the names inside it where it holds an object or, with
// `list`, an array of objects; a name `seldom` stands only where what it says applies.
struct JsonKey {
    std::string_view name;
    std::span<const JsonKey> inside = {};
    bool list = false;
    bool seldom = false;
};

inline constexpr JsonKey kInputKeys[] = {{"method"}, {"integrand"}, {"function"}, {"label"},
                                         {"lower"},  {"upper"},     {"ymax"}};
inline constexpr JsonKey kDivergenceKeys[] = {{"at"}, {"power"}};
inline constexpr JsonKey kRowKeys[] = {{"n"},
                                       {"text"},
                                       {"estimate"},
                                       {"error"},
                                       {"method_error"},
                                       {"rounding_error"},
                                       {"ratio"},
                                       {"order"},
                                       {"evaluations"},
                                       {"sigma"},
                                       {"sigmas_from_limit"},
                                       {"sigma_from_rule_of_three"},
                                       {"rounding_level"},
                                       {"estimated_error"},
                                       {"table"}};
inline constexpr JsonKey kRunKeys[] = {{"version"},
                                       {"inputs", kInputKeys},
                                       {"exact"},
                                       {"reference"},
                                       {"reference_error"},
                                       {"no_reference"},
                                       {"reference_note", {}, false, true},
                                       {"divergence", kDivergenceKeys},
                                       {"limit"},
                                       {"limit_off_exact"},
                                       {"observed_slope"},
                                       {"observed_slope_error"},
                                       {"rows", kRowKeys, true},
                                       {"summary"},
                                       {"summary_value"},
                                       {"fault"}};
// The points' own names are their columns: x, fx, weight, or x, y, fx, hit for Monte Carlo.
inline constexpr JsonKey kPointsKeys[] = {
    {"version"}, {"inputs", kInputKeys}, {"n"}, {"estimate"}, {"points"}, {"fault"}};

// --n: one method at one size.
inline constexpr JsonKey kSizedKeys[] = {{"version"},  {"inputs", kInputKeys},
                                         {"n"},        {"evaluations"},
                                         {"estimate"}, {"estimated_error"},
                                         {"sigma"},    {"reference"},
                                         {"error"},    {"fault"}};

inline constexpr JsonKey kRaceEntryKeys[] = {{"method"},
                                             {"row"},
                                             {"n"},
                                             {"evaluations"},
                                             {"estimate"},
                                             {"estimated_error"},
                                             {"claim_at_rounding_level"},
                                             {"error"},
                                             {"claim_held"},
                                             {"missed_by"},
                                             {"claims_held"},
                                             {"claims_judged"},
                                             {"no_claim"}};
inline constexpr JsonKey kRaceInputKeys[] = {{"integrand"}, {"function"}, {"label"},
                                             {"lower"},     {"upper"},    {"ymax"}};
inline constexpr JsonKey kRaceKeys[] = {
    {"version"},   {"inputs", kRaceInputKeys}, {"budget"},       {"seed"},
    {"reference"}, {"reference_error"},        {"no_reference"}, {"compare", kRaceEntryKeys, true}};
inline constexpr JsonKey kSweepRaceKeys[] = {{"budget"}, {"entries", kRaceEntryKeys, true}};
inline constexpr JsonKey kSweepKeys[] = {
    {"version"},      {"inputs", kRaceInputKeys},     {"seed"}, {"reference"}, {"reference_error"},
    {"no_reference"}, {"sweep", kSweepRaceKeys, true}};

// Words laid out in lines of at most 90 characters, each line indented by `indent` spaces.
std::string wrapped(const std::string& words, std::size_t indent);

// "version, inputs {method, ...}, ..., rows [{n, ...}], ...": the names as --help lists them.
std::string jsonKeysText(std::span<const JsonKey> keys);

void writeRun(std::ostream& out, const MethodRun& run, Layout layout, bool details);

// The race: a line (or tsv row, or JSON entry) per method, then in text how often each
// method's claims held.
void writeRace(std::ostream& out, const Race& race, Layout layout);

// The race's entries, or the sweep's races, as --compare's and --sweep's JSON hold them, for a
// document that holds them beside its own.
nlohmann::ordered_json raceEntriesJson(const Race& race);
nlohmann::ordered_json sweepRacesJson(const Sweep& sweep);

// The sweep: the race's lines at every budget, each after its budget, then in text how often
// each method's claims held over its table's rows.
void writeSweep(std::ostream& out, const Sweep& sweep, Layout layout);

// One method at one size (--n): in text the line "N   estimate" at full precision, then what it
// claims of its own error, its sigma where it measures one, its true error where a reference
// exists, and the evaluations; tsv the same as named columns; JSON under kSizedKeys.
void writeSized(std::ostream& out, const Model& model, Method method, const Model::SizedRun& sized,
                Layout layout);

// The evaluations of one row that the run made, replayed: columns x, fx, weight for the
// parabolic rule and Gauss (the row's estimate is the sum of weight * fx, in this order), and
// x, y, fx, hit for Monte Carlo. JSON: {"version", "inputs", "n", "estimate", "points": [...]}.
void writePoints(std::ostream& out, const MethodRun& run, std::size_t row, Layout layout);

}  // namespace integral
