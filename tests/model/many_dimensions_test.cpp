// SPDX-License-Identifier: GPL-3.0-or-later
// What the window "Many dimensions" says: inputs as typed turned into inputs or a sentence about
// the first box that is wrong, the title and the heading, and the race's rows as they read.
#include "model/many_dimensions.h"

#include "model/contrast.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <variant>

#include "integrands/typed_expression.h"
#include "runtime/stop_request.h"

namespace integral {
namespace {

std::string faultOf(const TypedDimensionsInputs& typed) {
    const auto read = readDimensionsInputs(typed);
    if (const auto* fault = std::get_if<std::string>(&read)) {
        return *fault;
    }
    const auto made = integrandOf(std::get<ManyDimensionsInputs>(read));
    const auto* fault = std::get_if<std::string>(&made);
    return fault != nullptr ? *fault : "";
}

TEST(ManyDimensionsTest, BadInputIsSaidInASentence) {
    const auto typed = [](int d, std::optional<Family> family, std::string function,
                          std::string lower, std::string upper, std::string difficulty,
                          std::string seed) {
        TypedDimensionsInputs t;
        t.dimensions = d;
        t.family = family;
        t.function = std::move(function);
        t.lower = std::move(lower);
        t.upper = std::move(upper);
        t.difficulty = std::move(difficulty);
        t.seed = std::move(seed);
        t.methods = {CubatureMethod::MonteCarlo};
        return t;
    };
    const auto gauss = Family::Gaussian;
    struct Case {
        TypedDimensionsInputs typed;
        std::string said;
    };
    for (const Case& c : {
             Case{typed(10, gauss, "", "", "", "", "1"), ""},
             Case{typed(10, Family::Ball, "", "", "", "abc", "1"), ""},  // the ball has none
             Case{typed(0, gauss, "", "", "", "", "1"),
                  "The dimension d is a whole number from 1 to 20, not 0."},
             Case{typed(21, gauss, "", "", "", "", "1"),
                  "The dimension d is a whole number from 1 to 20, not 21."},
             Case{typed(3, gauss, "", "", "", "0", "1"),
                  "The difficulty is a number above 0 and at most 1000; \"0\" is not one."},
             Case{typed(3, gauss, "", "", "", "1e4", "1"),
                  "The difficulty is a number above 0 and at most 1000; \"1e4\" is not one."},
             Case{typed(3, gauss, "", "", "", "7,5", "1"),
                  "The difficulty is a number above 0 and at most 1000; \"7,5\" is not one."},
             Case{typed(3, gauss, "", "", "", "", "-1"),
                  "The seed is a whole number from 0 to 18446744073709551615; \"-1\" is not "
                  "one."},
             Case{typed(2, std::nullopt, "x1*x2", "0", "1", "", "1"), ""},
             Case{typed(10, std::nullopt, "x11", "0", "1", "", "1"),
                  "f(x1..x10), column 1: \"x11\" is not known: the variables are x1 to x10, and "
                  "the functions are sin, cos, tan, asin, acos, atan, sinh, cosh, tanh, exp, ln, "
                  "log, log10, sqrt and abs"},
             Case{typed(2, std::nullopt, "x1", "1", "0", "", "1"),
                  "The lower limit must be below the upper one, and (upper - lower)^d within "
                  "the range of a double."},
             Case{typed(20, std::nullopt, "x1", "-1e300", "1e300", "", "1"),
                  "The lower limit must be below the upper one, and (upper - lower)^d within "
                  "the range of a double."},
             Case{typed(2, std::nullopt, "x1", "zero", "1", "", "1"),
                  "The lower limit is a number; \"zero\" is not one."},
             Case{typed(2, std::nullopt, "x1", "0", "", "", "1"),
                  "The upper limit is a number; \"\" is not one."},
         }) {
        SCOPED_TRACE(c.said);
        EXPECT_EQ(faultOf(c.typed), c.said);
    }
    TypedDimensionsInputs none;
    EXPECT_EQ(faultOf(none), "Tick at least one method.");
}

TEST(ManyDimensionsTest, TheTitleAndTheHeadingNameWhatIsRaced) {
    ManyDimensionsInputs gaussian;
    ManyDimensionsInputs ball;
    ball.family = Family::Ball;
    ball.dimensions = 1;
    ball.seed = 7;
    ManyDimensionsInputs hard = gaussian;
    hard.family = Family::ProductPeak;
    hard.difficulty = 12.5;
    hard.dimensions = 3;
    ManyDimensionsInputs typed;
    typed.family.reset();
    typed.function = "exp(-x1*x2)";
    typed.dimensions = 2;
    typed.lower = -0.5;
    typed.upper = 2;
    struct Case {
        const ManyDimensionsInputs& inputs;
        std::string title;
    };
    for (const Case& c : {
             Case{gaussian,
                  "Many dimensions: the Gaussian family in 10 dimensions, difficulty 7.03, seed 1"},
             Case{ball, "Many dimensions: the unit ball in 1 dimension, seed 7"},
             Case{hard,
                  "Many dimensions: the product peak family in 3 dimensions, difficulty 12.5, "
                  "seed 1"},
             Case{typed, "Many dimensions: f = exp(-x1*x2) on [-0.5,2]^2, seed 1"},
         }) {
        EXPECT_EQ(dimensionsTitle(c.inputs), c.title);
    }
    EXPECT_EQ(dimensionsHeading(std::nullopt, ball),
              "No race yet for the unit ball in 1 dimension, seed 7: Race (Ctrl+R) runs one.");
    EXPECT_EQ(dimensionsHeading(ball, ball), "For the unit ball in 1 dimension, seed 7.");
    ManyDimensionsInputs later = ball;
    later.budget = 10;
    EXPECT_EQ(dimensionsHeading(ball, later),
              "For the unit ball in 1 dimension, seed 7 \u2014 the inputs have changed since: "
              "Race again.");
}

TEST(ManyDimensionsTest, ARowReadsWithoutInfOrNan) {
    const double inf = std::numeric_limits<double>::infinity();
    const auto row = [](CubatureMethod method, std::optional<CubatureRow> r,
                        std::optional<double> error) {
        DimensionsRaceRow made;
        made.method = method;
        made.row = r;
        made.error = error;
        if (r && error && r->estimatedError) {
            made.covers = std::fabs(*error) <= *r->estimatedError;
        }
        return made;
    };
    CubatureRow grid;
    grid.n = 3;
    grid.pointsPerAxis = 3;
    grid.evaluations = 60073;
    grid.estimate = 0.0123456789012;
    grid.estimatedError = 1e-6;
    CubatureRow sampled;
    sampled.n = 4096;
    sampled.evaluations = 4096;
    sampled.estimate = inf;
    sampled.estimatedError = 2e-3;
    CubatureRow adaptive;
    adaptive.n = 1000;
    adaptive.evaluations = 999;
    adaptive.estimate = 1.5;
    CubatureRow level;
    level.n = 4;
    level.level = 4;
    level.evaluations = 3905;
    level.estimate = 2.0;
    level.estimatedError = 1e-4;
    using V = std::vector<std::string>;
    struct Case {
        DimensionsRaceRow row;
        V cells;
    };
    for (const Case& c : {
             Case{row(CubatureMethod::ProductGauss, grid, -1.2e-5),
                  V{"product-gauss", "3 per axis", "-1.2e-05", "1e-06", "no: 12\u00d7 short",
                    "60073", "0.012345679"}},
             Case{row(CubatureMethod::SparseGrid, level, 1.5e-4),
                  V{"sparse-grid", "level 4", "0.00015", "0.0001", "no", "3905", "2"}},
             Case{row(CubatureMethod::MonteCarlo, sampled, std::nullopt),
                  V{"monte-carlo", "4096 samples", "\u2014", "0.002", "\u2014", "4096", "\u2014"}},
             Case{
                 row(CubatureMethod::AdaptiveCubature, adaptive, 1e-9),
                 V{"adaptive-cubature", "at most 1000", "1e-09", "\u2014", "\u2014", "999", "1.5"}},
             Case{row(CubatureMethod::Sobol, std::nullopt, std::nullopt),
                  V{"sobol", "\u2014", "\u2014", "\u2014", "not run", "\u2014", "\u2014"}},
             Case{row(CubatureMethod::Vegas, level, -1e-5),
                  V{"vegas", "level 4", "-1e-05", "0.0001", "yes", "3905", "2"}},
         }) {
        EXPECT_EQ(raceRowCells(c.row), c.cells);
    }
}

TEST(ManyDimensionsTest, ARaceMeasuresAgainstTheTruthAndSaysHowFarItGot) {
    ManyDimensionsInputs inputs;
    inputs.dimensions = 3;
    inputs.budget = 1000;
    inputs.methods = {CubatureMethod::ProductGauss, CubatureMethod::Sobol,
                      CubatureMethod::HitOrMiss};
    auto made = integrandOf(inputs);
    const auto& integrand = std::get<DimensionsIntegrand>(made);
    const DimensionsTruth truth = truthOf(integrand);
    ASSERT_TRUE(truth.exact && truth.value);

    const DimensionsRace whole = raceInDimensions(inputs, integrand, truth);
    ASSERT_EQ(whole.rows.size(), 3u);
    EXPECT_EQ(*whole.rows[0].row->pointsPerAxis, 8);  // 8^3 + 7^3 = 855
    EXPECT_EQ(*whole.rows[0].error, whole.rows[0].row->estimate - *truth.value);
    EXPECT_TRUE(whole.rows[1].covers.has_value());
    EXPECT_FALSE(whole.rows[2].row);
    EXPECT_EQ(whole.rows[2].absence,
              "counts hits, so it integrates only a 0/1 function such as the ball");
    EXPECT_EQ(dimensionsOutcomeText(whole).substr(0, 29), "At 1000 evaluations of f. Exa");

    const DimensionsRace stopped = raceInDimensions(
        inputs, integrand, truth, [](std::size_t done, std::size_t) { return done < 1; });
    EXPECT_EQ(stopped.rows.size(), 1u);
    EXPECT_EQ(dimensionsOutcomeText(stopped).substr(0, 53),
              "Stopped after 1 of 3 methods at 1000 evaluations of f");

    DimensionsTruth none;
    none.absent = "the adaptive cubature did not reach its tolerance within its evaluations";
    EXPECT_EQ(truthText(none),
              "No reference: the adaptive cubature did not reach its tolerance within its "
              "evaluations; no errors are shown.");
    const DimensionsRace blind = raceInDimensions(inputs, integrand, none);
    EXPECT_FALSE(blind.rows[0].error);
    EXPECT_FALSE(blind.rows[0].covers);

    // Stopped within the second method: the first is kept.
    std::atomic<bool> stop{false};
    const StopScope scope(stop);
    const auto stopNow = [&stop](std::size_t, std::size_t) { return stop = true; };
    EXPECT_EQ(raceInDimensions(inputs, integrand, truth, stopNow).rows.size(), 1u);
}

// A typed f is measured against its reference, with the reference's uncertainty.
TEST(ManyDimensionsTest, ATypedFunctionHasAReference) {
    ManyDimensionsInputs inputs;
    inputs.family.reset();
    inputs.function = "x1*x2*x3";
    inputs.dimensions = 3;
    auto made = integrandOf(inputs);
    const DimensionsTruth truth = truthOf(std::get<DimensionsIntegrand>(made));
    ASSERT_TRUE(truth.value);
    EXPECT_FALSE(truth.exact);
    EXPECT_NEAR(*truth.value, 0.125, 1e-12);
    EXPECT_EQ(truthText(truth).substr(0, 16), "Reference 0.125 ");
}

// At d = 1 the methods of one dimension see the cube's f itself: the same values at the same
// points of the same interval, and a family's closed form as their reference there (elsewhere
// one made by quadrature); a typed f(x1) read as f(x) has the reference of a typed f.
TEST(ManyDimensionsTest, AtOneDimensionTheMethodsOfOneDimensionSeeTheSameF) {
    constexpr double kAt[] = {0.0, 0.1, 0.37, 0.5, 0.77, 1.0};
    for (const FamilyInfo& info : kFamilies) {
        const GenzParameters p = drawParameters(info.family, 1, info.difficulty, 7);
        const std::unique_ptr<CubeFunction> cube = familyFunction(p);
        const OneDimensionalIntegrand one = oneDimensionalFamily(p);
        EXPECT_EQ(one.lower, cube->lower()) << info.name;
        EXPECT_EQ(one.upper, cube->upper()) << info.name;
        for (const double t : kAt) {
            const double x = cube->lower() + t * (cube->upper() - cube->lower());
            EXPECT_EQ(one.integrand(Variant::real(x)).toDouble(), (*cube)(&x))
                << info.name << " at " << x;
        }
        const Reference reference = one.integrand.reference(one.lower, one.upper);
        ASSERT_TRUE(reference.value) << info.name;
        EXPECT_TRUE(reference.value->closedForm) << info.name;
        EXPECT_EQ(reference.value->value, exactIntegral(p)) << info.name;
        const Reference part = one.integrand.reference(one.lower, 0.5 * (one.lower + one.upper));
        EXPECT_FALSE(part.value && part.value->closedForm) << info.name;
    }

    const auto typed = TypedExpression::parse("exp(-x1^2)*sin(3*x1)", 1);
    const TypedCubeFunction cube(std::get<std::shared_ptr<const TypedExpression>>(typed), -1.0,
                                 2.0);
    const std::optional<OneDimensionalIntegrand> one =
        oneDimensionalFunction("exp(-x1^2)*sin(3*x1)", -1.0, 2.0);
    ASSERT_TRUE(one);
    for (const double t : kAt) {
        const double x = -1.0 + 3.0 * t;
        EXPECT_EQ(one->integrand(Variant::real(x)).toDouble(), cube(&x)) << x;
    }
    const Reference reference = one->integrand.reference(-1.0, 2.0);
    ASSERT_TRUE(reference.value);
    EXPECT_FALSE(reference.value->closedForm);
}

}  // namespace
}  // namespace integral

namespace integral {
namespace {

// Each example does what its name and the handbook promise: on the smooth Gaussian the sparse
// grid and Sobol beat plain Monte Carlo and the product rule; on the discontinuous family the
// grids (product and sparse) err more than every sampling method; in the ball hit-or-miss's
// own claim is over a tenth of the volume, where at d = 2 it is well under a hundredth.
TEST(ManyDimensionsTest, EachExampleShowsItsLesson) {
    const auto errorOf = [](const DimensionsRace& race, CubatureMethod method) {
        for (const DimensionsRaceRow& row : race.rows) {
            if (row.method == method && row.error) {
                return std::fabs(*row.error);
            }
        }
        ADD_FAILURE() << "no error for " << cubatureMethodInfo(method).name;
        return 0.0;
    };
    const auto raced = [](const DimensionsPreset& preset, std::optional<int> dimensions = {}) {
        ManyDimensionsInputs inputs;
        inputs.family = preset.family;
        inputs.dimensions = dimensions.value_or(preset.dimensions);
        inputs.budget = preset.budget;
        auto made = integrandOf(inputs);
        const auto& integrand = std::get<DimensionsIntegrand>(made);
        return raceInDimensions(inputs, integrand, truthOf(integrand));
    };
    using M = CubatureMethod;
    const DimensionsRace smooth = raced(kDimensionsPresets[0]);
    for (const M winner : {M::SparseGrid, M::Sobol}) {
        for (const M loser : {M::MonteCarlo, M::ProductGauss}) {
            EXPECT_LT(errorOf(smooth, winner), errorOf(smooth, loser));
        }
    }
    const DimensionsRace jump = raced(kDimensionsPresets[1]);
    for (const M grid : {M::ProductGauss, M::SparseGrid}) {
        for (const M sampler : {M::MonteCarlo, M::Sobol, M::Vegas, M::Miser}) {
            EXPECT_GT(errorOf(jump, grid), errorOf(jump, sampler));
        }
    }
    const auto hitOrMissClaim = [](const DimensionsRace& race) {
        for (const DimensionsRaceRow& row : race.rows) {
            if (row.method == M::HitOrMiss && row.row && race.truth.value) {
                return *row.row->estimatedError / *race.truth.value;
            }
        }
        ADD_FAILURE() << "hit-or-miss did not race the ball";
        return 0.0;
    };
    EXPECT_GT(hitOrMissClaim(raced(kDimensionsPresets[2])), 0.1);
    EXPECT_LT(hitOrMissClaim(raced(kDimensionsPresets[2], 2)), 0.01);
}

// The d-dimensional methods' colours, like the one-dimensional ones, stay apart pairwise by far
// more than an eye needs, and stand out from a plot's white.
TEST(ManyDimensionsTest, EveryMethodHasAColourOfItsOwn) {
    for (std::size_t i = 0; i < kCubatureMethods.size(); ++i) {
        EXPECT_GE(contrastRatio(kCubatureMethods[i].colour, 0xFFFFFF), 1.7)
            << kCubatureMethods[i].name;
        for (std::size_t j = i + 1; j < kCubatureMethods.size(); ++j) {
            EXPECT_GE(colourDistance(kCubatureMethods[i].colour, kCubatureMethods[j].colour), 25.0)
                << kCubatureMethods[i].name << " and " << kCubatureMethods[j].name;
        }
    }
}

}  // namespace
}  // namespace integral
