// SPDX-License-Identifier: GPL-3.0-or-later
// The methods in d dimensions, one descriptor each: what a size means, how the method judges
// its own error, and one entry point that runs it at any size on any CubeFunction. A method's
// every evaluation is counted, its own error estimate's included; the statistical ones take
// their numbers from a seed, each method its own stream of it, each row from the stream's
// start, so a row is the same whatever else runs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cubature/cube_function.h"

namespace integral {

enum class CubatureMethod {
    ProductGauss,
    SparseGrid,
    AdaptiveCubature,
    MonteCarlo,
    Sobol,
    Vegas,
    Miser,
    HitOrMiss,
};

// How a method in d dimensions estimates its own error:
//   Difference  |Q_n - Q_(n-1)|: the rule one size smaller (product Gauss with m - 1 points
//               per axis, the sparse grid one level down)
//   AsItRuns    what the adaptive rule accumulates over its regions
//   TwoSigma    two standard deviations of a statistical estimate
enum class CubeOwnError { Difference, AsItRuns, TwoSigma };

struct CubatureMethodInfo {
    CubatureMethod method;
    std::string_view name;  // the command line's spelling
    std::string_view description;
    std::string_view sizeWord;  // what a size n counts
    CubeOwnError ownError;
    std::int64_t firstRow;  // the size of a table's first row; each next one doubles it
    bool rowsCount;         // rows at firstRow, firstRow + 1, ... rather than doubling
    bool indicatorsOnly;    // counts hits, so only a 0/1 integrand (the ball) suits it
    // Its colour in plots (0xRRGGBB): together Okabe and Ito's palette, which eyes with any of
    // the common colour deficiencies still tell apart.
    std::uint32_t colour;
};

inline constexpr auto kCubatureMethods = std::to_array<CubatureMethodInfo>({
    {CubatureMethod::ProductGauss, "product-gauss",
     "Gauss-Legendre with m points on every axis, m^d evaluations", "points per axis",
     CubeOwnError::Difference, 1, true, false, 0xD55E00},
    {CubatureMethod::SparseGrid, "sparse-grid",
     "Smolyak's sparse grid on nested Clenshaw-Curtis rules, level l", "level",
     CubeOwnError::Difference, 0, true, false, 0x0072B2},
    {CubatureMethod::AdaptiveCubature, "adaptive-cubature",
     "h-adaptive Genz-Malik cubature (libcubature's hcubature)", "evaluations at most",
     CubeOwnError::AsItRuns, 0, false, false, 0xCC79A7},
    {CubatureMethod::MonteCarlo, "monte-carlo", "mean-value Monte Carlo", "samples",
     CubeOwnError::TwoSigma, 128, false, false, 0x009E73},
    {CubatureMethod::Sobol, "sobol", "randomised quasi-Monte Carlo, Sobol points times 16 shifts",
     "points", CubeOwnError::TwoSigma, 8, false, false, 0xE69F00},
    {CubatureMethod::Vegas, "vegas", "VEGAS adaptive importance sampling (GSL)", "calls",
     CubeOwnError::TwoSigma, 1024, false, false, 0x56B4E9},
    {CubatureMethod::Miser, "miser", "MISER recursive stratified sampling (GSL)", "calls",
     CubeOwnError::TwoSigma, 1024, false, false, 0x000000},
    {CubatureMethod::HitOrMiss, "hit-or-miss", "hit-or-miss Monte Carlo, for the ball", "samples",
     CubeOwnError::TwoSigma, 128, false, true, 0x999999},
});

constexpr bool cubatureMethodsInOrder() {
    for (std::size_t i = 0; i < kCubatureMethods.size(); ++i) {
        if (static_cast<std::size_t>(kCubatureMethods[i].method) != i) {
            return false;
        }
    }
    return true;
}
static_assert(cubatureMethodsInOrder(), "kCubatureMethods must follow CubatureMethod");

constexpr const CubatureMethodInfo& cubatureMethodInfo(CubatureMethod method) {
    return kCubatureMethods.at(static_cast<std::size_t>(method));
}

std::optional<CubatureMethod> cubatureMethodNamed(std::string_view name);
// "product-gauss, sparse-grid, ... or hit-or-miss".
std::string cubatureMethodNames(std::string_view lastJoin = " or ");

// Whether the method can integrate f at all (hit-or-miss needs a 0/1 integrand).
bool cubatureMethodSuits(CubatureMethod method, const CubeFunction& f);

// The evaluations a run at size n makes, or at most makes (adaptive cubature, VEGAS, MISER);
// saturates at INT64_MAX. Nothing where n is no size of the method in d dimensions.
std::optional<std::int64_t> cubatureEvaluations(CubatureMethod method, int dimensions,
                                                std::int64_t n);

// The sizes of a table of the method, in rising order, whose evaluations are at most `budget`.
std::vector<std::int64_t> cubatureRows(CubatureMethod method, int dimensions, std::int64_t budget);

// The largest size whose evaluations are at most `budget`; nothing where even the smallest
// costs more.
std::optional<std::int64_t> largestCubatureSize(CubatureMethod method, int dimensions,
                                                std::int64_t budget);

struct CubatureRow {
    std::int64_t n = 0;
    std::optional<int> level;          // the sparse grid's
    std::optional<int> pointsPerAxis;  // product Gauss's
    std::int64_t evaluations = 0;
    double estimate = 0.0;
    std::optional<double> estimatedError;  // the method's own, without the exact value
    std::optional<double> sigma;           // a statistical method's one-sigma uncertainty
};

// VEGAS's iterations per run (GSL's default): each takes an equal share of the calls, and the
// grid adapts after each.
inline constexpr std::int64_t kVegasIterations = 5;

// A box of the cube: centre +- halfwidth on each axis.
struct CubeRegion {
    std::vector<double> centre;
    std::vector<double> halfwidth;
};

// What a run leaves behind besides its row, for a picture to show; a run that is not handed
// one keeps nothing. Each field is filled by the method it names, left empty by the others.
struct CubatureTrace {
    // Adaptive cubature's regions at its end, those it never split. libcubature keeps them to
    // itself; they are rebuilt from the centres it evaluates, so they cost n / (its points per
    // region) centres on the way. Empty where its order of evaluation was not the one expected.
    std::vector<CubeRegion> regions;
    // VEGAS's bin edges on each axis after its last iteration, from lower to upper.
    std::vector<std::vector<double>> edges;
};

// The method at size n (one of its sizes) on f, its random numbers from `seed`. Throws
// CubeFault where f has no finite value at a point it needs, StopRequested where asked to stop.
CubatureRow runCubature(CubatureMethod method, const CubeFunction& f, std::int64_t n,
                        std::uint64_t seed, CubatureTrace* trace = nullptr);

// Genz and Malik's rule's points in one region: the fewest adaptive cubature evaluates.
std::int64_t adaptiveRegionPoints(int dimensions);

}  // namespace integral
