// SPDX-License-Identifier: GPL-3.0-or-later
// What the window "Many dimensions" shows, without a window: the integrand its inputs name (a
// member of one of Genz's families, the ball, or a typed f(x1, ..., xd)), the value errors are
// measured against, the race of the methods in d dimensions at one budget, and the texts around
// it. A race is the cubature layer's, run one method at a time so that it can say how far it
// got; nothing here draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cubature/cubature_race.h"
#include "cubature/genz_families.h"
#include "cubature/typed_cube_function.h"
#include "integrands/integrand_descriptor.h"

namespace integral {

struct ManyDimensionsInputs {
    int dimensions = 10;
    std::optional<Family> family = Family::Gaussian;  // nothing: the typed f below
    std::string function;                             // in x1 ... xd
    double lower = 0.0;
    double upper = 1.0;
    std::optional<double> difficulty;  // the family's own default where nothing is given
    std::uint64_t seed = 1;
    std::vector<CubatureMethod> methods;  // every method where empty
    std::int64_t budget = 100000;
    bool operator==(const ManyDimensionsInputs&) const = default;
};

// Three races the handbook's chapter on many dimensions tells of, one lesson each: where f is
// smooth the sparse grid and Sobol points win; where it jumps the grids lose their edge; and
// hits grow rare in the ball. Every method that suits the integrand races, with seed 1.
struct DimensionsPreset {
    std::string_view name;
    Family family;
    int dimensions;
    std::int64_t budget;
};
inline constexpr DimensionsPreset kDimensionsPresets[] = {
    {"Smooth: the Gaussian family in 10 dimensions (sparse grid and Sobol win)", Family::Gaussian,
     10, 100000},
    {"A jump: the discontinuous family in 10 dimensions (the grids lose their edge)",
     Family::Discontinuous, 10, 100000},
    {"Hits grow rare: the unit ball in 10 dimensions", Family::Ball, 10, 100000},
};

// The inputs as the window's boxes hold them, as typed.
struct TypedDimensionsInputs {
    int dimensions = 10;
    std::optional<Family> family = Family::Gaussian;
    std::string function;
    std::string lower = "0";
    std::string upper = "1";
    std::string difficulty;  // empty: the family's default
    std::string seed = "1";
    std::vector<CubatureMethod> methods;
    std::int64_t budget = 100000;
};
// The inputs, or what is wrong with the first box that is wrong, in a sentence:
//   difficulty "abc" -> "The difficulty is a number above 0 and at most 1000; \"abc\" is not one."
//   no method ticked -> "Tick at least one method."
// Whether a typed f reads as one is integrandOf()'s to say.
std::variant<ManyDimensionsInputs, std::string> readDimensionsInputs(
    const TypedDimensionsInputs& typed);

// The methods a race of `inputs` runs, in the table's order.
std::vector<CubatureMethod> dimensionsMethods(const ManyDimensionsInputs& inputs);

// The integrand the inputs name, ready for the methods.
struct DimensionsIntegrand {
    std::unique_ptr<CubeFunction> f;
    std::optional<GenzParameters> parameters;  // a family's member; nothing for a typed f
};

// The integrand, or what is wrong with the inputs in a sentence:
//   d = 0            -> "The dimension d is a whole number from 1 to 20, not 0."
//   "x11" at d = 10  -> "f(x1..x10), column 1: \"x11\" is not known; the variables are x1 to x10"
// A typed f's evaluator is its own: each thread that integrates builds its own from the inputs.
std::variant<DimensionsIntegrand, std::string> integrandOf(const ManyDimensionsInputs& inputs);

// What errors are measured against: a family's closed form, or a typed f's reference with its
// uncertainty, or nothing with the reason.
struct DimensionsTruth {
    std::optional<double> value;
    bool exact = false;
    std::optional<double> uncertainty;
    std::string absent;  // why there is no value
};
// A typed f's reference costs up to kReferenceEvaluations evaluations: not for the GUI thread.
DimensionsTruth truthOf(const DimensionsIntegrand& integrand);

// "Exact integral 0.0123457, from its closed form."; "Reference 1.30176 ± 1.2e-10, from adaptive
// cubature."; "No reference: the cubature did not converge ...; no errors are shown."
std::string truthText(const DimensionsTruth& truth);

struct DimensionsRaceRow {
    CubatureMethod method = CubatureMethod::ProductGauss;
    std::optional<CubatureRow> row;
    std::string absence;          // why there is no row
    std::optional<double> error;  // the estimate minus the truth
    // Whether the method's own error estimate is at least its true error.
    std::optional<bool> covers;
};

struct DimensionsRace {
    ManyDimensionsInputs inputs;
    DimensionsTruth truth;
    std::vector<DimensionsRaceRow> rows;
    std::size_t requested = 0;  // more than rows.size() where the race was stopped
    // A fault of f that ended a method: the race stops there and says so.
    std::string fault;
};

// Called after each method with (done, total); returns whether to go on.
using DimensionsProgress = std::function<bool(std::size_t, std::size_t)>;

DimensionsRace raceInDimensions(const ManyDimensionsInputs& inputs,
                                const DimensionsIntegrand& integrand, const DimensionsTruth& truth,
                                const DimensionsProgress& progress = {});

// A row of the race's table as it reads: method, size, error, own estimate of the error, whether
// that covers the error ("yes", "no: 12× short", "—"), evaluations, estimate; what the lesson
// needs first, where a narrow window shows only the first columns. No cell is "inf" or "nan".
std::vector<std::string> raceRowCells(const DimensionsRaceRow& row);

// At d = 1, f as the methods of one dimension take it, on the same interval: a family's member
// as a function of x measured against the same closed form the cube's methods are, or a typed
// f(x1) read as f(x), with the reference those methods make for a typed f.
struct OneDimensionalIntegrand {
    IntegrandDescriptor integrand;
    double lower = 0.0;
    double upper = 1.0;
};
// `parameters` of d = 1.
OneDimensionalIntegrand oneDimensionalFamily(const GenzParameters& parameters);
// Nothing where `function` is no expression of x1 alone.
std::optional<OneDimensionalIntegrand> oneDimensionalFunction(std::string_view function,
                                                              double lower, double upper);

// "the Gaussian family in 10 dimensions, difficulty 7.03, seed 1";
// "the unit ball in 3 dimensions, seed 1"; "f = exp(-x1*x2) on [0,1]^2, seed 1".
std::string dimensionsInputsText(const ManyDimensionsInputs& inputs);
// "Many dimensions: " and the inputs' text.
std::string dimensionsTitle(const ManyDimensionsInputs& inputs);
// The line above the table, as the Compare window's: no race yet, the race for these inputs,
// or a race for inputs that have changed since.
std::string dimensionsHeading(const std::optional<ManyDimensionsInputs>& shown,
                              const ManyDimensionsInputs& now);
// "At 100000 evaluations of f." or "Stopped after 3 of 7 methods at ..."; a fault is said too.
std::string dimensionsOutcomeText(const DimensionsRace& race);

}  // namespace integral
