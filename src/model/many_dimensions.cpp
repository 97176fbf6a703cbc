// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/many_dimensions.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "integrands/typed_expression.h"
#include "model/race_texts.h"
#include "runtime/short_number.h"
#include "runtime/stop_request.h"
#include "runtime/text_to_number.h"

namespace integral {

namespace {

// As a sentence names a family; the command line's names are for typing.
std::string familyWords(Family family) {
    switch (family) {
        case Family::Oscillatory:
            return "the oscillatory family";
        case Family::ProductPeak:
            return "the product peak family";
        case Family::CornerPeak:
            return "the corner peak family";
        case Family::Gaussian:
            return "the Gaussian family";
        case Family::Continuous:
            return "the continuous family";
        case Family::Discontinuous:
            return "the discontinuous family";
        case Family::Ball:
            return "the unit ball";
    }
    return "";
}

std::string dimensionsWords(int d) {
    return std::to_string(d) + (d == 1 ? " dimension" : " dimensions");
}

std::string figure(std::optional<double> value, int digits = 6) {
    return value && std::isfinite(*value) ? shortNumber(*value, digits) : "\u2014";
}

std::string sizeText(const CubatureRow& row, CubatureMethod method) {
    if (row.pointsPerAxis) {
        return std::to_string(*row.pointsPerAxis) + " per axis";
    }
    if (row.level) {
        return "level " + std::to_string(*row.level);
    }
    if (method == CubatureMethod::AdaptiveCubature) {
        return "at most " + std::to_string(row.n);
    }
    return std::to_string(row.n) + " " + std::string(cubatureMethodInfo(method).sizeWord);
}

}  // namespace

std::variant<ManyDimensionsInputs, std::string> readDimensionsInputs(
    const TypedDimensionsInputs& typed) {
    ManyDimensionsInputs inputs;
    inputs.dimensions = typed.dimensions;
    inputs.family = typed.family;
    inputs.budget = typed.budget;
    inputs.methods = typed.methods;
    if (typed.methods.empty()) {
        return std::string("Tick at least one method.");
    }
    const auto seed = readSeed(typed.seed);
    if (const auto* fault = std::get_if<std::string>(&seed)) {
        return *fault;
    }
    inputs.seed = std::get<std::uint64_t>(seed);
    if (typed.family) {
        if (*typed.family != Family::Ball && !typed.difficulty.empty()) {
            const std::optional<double> difficulty = parseCompleteNumber(typed.difficulty);
            if (!difficulty || !(*difficulty > 0.0 && *difficulty <= 1000.0)) {
                return "The difficulty is a number above 0 and at most 1000; \"" +
                       typed.difficulty + "\" is not one.";
            }
            inputs.difficulty = difficulty;
        }
        return inputs;
    }
    inputs.function = typed.function;
    for (const auto& [box, value, name] : {std::tuple{&typed.lower, &inputs.lower, "lower"},
                                           std::tuple{&typed.upper, &inputs.upper, "upper"}}) {
        const std::optional<double> read = parseCompleteNumber(*box);
        if (!read || !std::isfinite(*read)) {
            return "The " + std::string(name) + " limit is a number; \"" + *box + "\" is not one.";
        }
        *value = *read;
    }
    return inputs;
}

std::vector<CubatureMethod> dimensionsMethods(const ManyDimensionsInputs& inputs) {
    std::vector<CubatureMethod> methods;
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        if (inputs.methods.empty() || std::find(inputs.methods.begin(), inputs.methods.end(),
                                                info.method) != inputs.methods.end()) {
            methods.push_back(info.method);
        }
    }
    return methods;
}

std::variant<DimensionsIntegrand, std::string> integrandOf(const ManyDimensionsInputs& inputs) {
    const int d = inputs.dimensions;
    if (d < 1 || d > kMaxDimensions) {
        return "The dimension d is a whole number from 1 to " + std::to_string(kMaxDimensions) +
               ", not " + std::to_string(d) + ".";
    }
    DimensionsIntegrand made;
    if (inputs.family) {
        double difficulty = familyInfo(*inputs.family).difficulty;
        if (inputs.difficulty && *inputs.family != Family::Ball) {
            difficulty = *inputs.difficulty;
            if (!(difficulty > 0.0 && difficulty <= 1000.0)) {
                return "The difficulty (the sum of the c_k) is above 0 and at most 1000, not " +
                       shortNumber(difficulty) + ".";
            }
        }
        made.parameters = drawParameters(*inputs.family, d, difficulty, inputs.seed);
        made.f = familyFunction(*made.parameters);
        return made;
    }
    if (!(inputs.lower < inputs.upper) ||
        !std::isfinite(std::pow(inputs.upper - inputs.lower, d))) {
        return "The lower limit must be below the upper one, and (upper - lower)^d within the "
               "range of a double.";
    }
    auto parsed = TypedExpression::parse(inputs.function, d);
    if (const auto* problem = std::get_if<ExpressionProblem>(&parsed)) {
        return std::string("f(x1..x") + std::to_string(d) + "), column " +
               std::to_string(problem->column) + ": " + problem->message;
    }
    made.f = std::make_unique<TypedCubeFunction>(
        std::get<std::shared_ptr<const TypedExpression>>(std::move(parsed)), inputs.lower,
        inputs.upper);
    return made;
}

DimensionsTruth truthOf(const DimensionsIntegrand& integrand) {
    DimensionsTruth truth;
    if (integrand.parameters) {
        const double exact = exactIntegral(*integrand.parameters);
        if (std::isfinite(exact)) {
            truth.value = exact;
            truth.exact = true;
        } else {
            truth.absent = "the exact integral is beyond the range of a double";
        }
        return truth;
    }
    const CubeReference reference = cubeReference(*integrand.f);
    truth.value = reference.value;
    truth.uncertainty = reference.uncertainty;
    if (!reference.value) {
        truth.absent = reference.absent ? noReferenceText(*reference.absent)
                                        : "the adaptive cubature gave no value";
    }
    return truth;
}

std::string truthText(const DimensionsTruth& truth) {
    if (!truth.value) {
        return "No reference: " + truth.absent + "; no errors are shown.";
    }
    if (truth.exact) {
        return "Exact integral " + shortNumber(*truth.value, 10) + ", from its closed form.";
    }
    return "Reference " + shortNumber(*truth.value, 10) +
           (truth.uncertainty ? " \u00b1 " + shortNumber(*truth.uncertainty, 2) : "") +
           ", from adaptive cubature.";
}

DimensionsRace raceInDimensions(const ManyDimensionsInputs& inputs,
                                const DimensionsIntegrand& integrand, const DimensionsTruth& truth,
                                const DimensionsProgress& progress) {
    DimensionsRace race;
    race.inputs = inputs;
    race.truth = truth;
    const std::vector<CubatureMethod> methods = dimensionsMethods(inputs);
    race.requested = methods.size();
    // One method at a time, so that a race stopped between two keeps the rows it made.
    for (const CubatureMethod method : methods) {
        std::vector<CubatureEntry> entry;
        try {
            entry = raceCubature(*integrand.f, inputs.budget, inputs.seed, {method});
        } catch (const CubeFault& fault) {
            race.fault = std::string(cubatureMethodInfo(method).name) + ": " + fault.what();
            return race;
        } catch (const StopRequested&) {
            // Stopped within a method: the methods run by then are still shown, as stopped.
            break;
        }
        DimensionsRaceRow row;
        row.method = method;
        row.row = entry.front().row;
        row.absence = entry.front().absence;
        if (row.row && truth.value) {
            const double error = row.row->estimate - *truth.value;
            if (std::isfinite(error)) {
                row.error = error;
                if (row.row->estimatedError) {
                    row.covers = std::fabs(error) <= *row.row->estimatedError;
                }
            }
        }
        race.rows.push_back(std::move(row));
        if (progress && !progress(race.rows.size(), race.requested)) {
            break;
        }
    }
    return race;
}

std::vector<std::string> raceRowCells(const DimensionsRaceRow& r) {
    const std::string name(cubatureMethodInfo(r.method).name);
    if (!r.row) {
        return {name, "\u2014", "\u2014", "\u2014", "not run", "\u2014", "\u2014"};
    }
    const CubatureRow& row = *r.row;
    std::string covers = "\u2014";
    if (r.covers && *r.covers) {
        covers = "yes";
    } else if (r.covers) {
        const double short_ = std::fabs(*r.error) / *row.estimatedError;
        covers = std::isfinite(short_) && short_ >= 2.0
                     ? "no: " + shortNumber(short_, 3) + "\u00d7 short"
                     : "no";
    }
    return {name,
            sizeText(row, r.method),
            figure(r.error, 3),
            figure(row.estimatedError, 3),
            covers,
            std::to_string(row.evaluations),
            figure(row.estimate, 8)};
}

std::string dimensionsInputsText(const ManyDimensionsInputs& inputs) {
    const std::string seed = "seed " + std::to_string(inputs.seed);
    if (!inputs.family) {
        return "f = " + inputs.function + " on [" + shortNumber(inputs.lower, 10) + "," +
               shortNumber(inputs.upper, 10) + "]^" + std::to_string(inputs.dimensions) + ", " +
               seed;
    }
    std::string said = familyWords(*inputs.family) + " in " + dimensionsWords(inputs.dimensions);
    if (*inputs.family != Family::Ball) {
        said += ", difficulty " +
                shortNumber(inputs.difficulty.value_or(familyInfo(*inputs.family).difficulty), 6);
    }
    return said + ", " + seed;
}

OneDimensionalIntegrand oneDimensionalFamily(const GenzParameters& parameters) {
    const std::shared_ptr<const CubeFunction> cube = familyFunction(parameters);
    ManyDimensionsInputs named;
    named.dimensions = parameters.dimensions;
    named.family = parameters.family;
    named.difficulty = parameters.difficulty;
    named.seed = parameters.seed;
    auto function = std::make_shared<ClosedFormFunction>();
    function->label = dimensionsInputsText(named);
    function->f = [cube](double x) { return (*cube)(&x); };
    function->lower = cube->lower();
    function->upper = cube->upper();
    function->integral = exactIntegral(parameters);
    return {IntegrandDescriptor(std::move(function)), cube->lower(), cube->upper()};
}

std::optional<OneDimensionalIntegrand> oneDimensionalFunction(std::string_view function,
                                                              double lower, double upper) {
    auto parsed = TypedExpression::parseOfX1(function);
    if (std::holds_alternative<ExpressionProblem>(parsed)) {
        return std::nullopt;
    }
    return OneDimensionalIntegrand{
        IntegrandDescriptor(std::get<std::shared_ptr<const TypedExpression>>(std::move(parsed))),
        lower, upper};
}

std::string dimensionsTitle(const ManyDimensionsInputs& inputs) {
    return "Many dimensions: " + dimensionsInputsText(inputs);
}

std::string dimensionsHeading(const std::optional<ManyDimensionsInputs>& shown,
                              const ManyDimensionsInputs& now) {
    if (!shown) {
        return "No race yet for " + dimensionsInputsText(now) + ": Race (Ctrl+R) runs one.";
    }
    if (*shown == now) {
        return "For " + dimensionsInputsText(*shown) + ".";
    }
    return "For " + dimensionsInputsText(*shown) +
           " \u2014 the inputs have changed since: Race again.";
}

std::string dimensionsOutcomeText(const DimensionsRace& race) {
    const std::string budget = std::to_string(race.inputs.budget) + " evaluations of f.";
    std::string said;
    if (race.rows.size() >= race.requested) {
        said = "At " + budget;
    } else {
        said = "Stopped after " + std::to_string(race.rows.size()) + " of " +
               std::to_string(race.requested) + (race.requested == 1 ? " method" : " methods") +
               " at " + budget;
    }
    if (!race.fault.empty()) {
        said += " The race ended on a fault of f: " + race.fault + ".";
    }
    return said + " " + truthText(race.truth);
}

}  // namespace integral
