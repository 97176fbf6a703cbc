// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/cubature_methods.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>

#include "cubature/cubature_race.h"
#include "cubature/genz_families.h"
#include "cubature/sparse_grid.h"

namespace integral {
namespace {

class Lambda : public CubeFunction {
  public:
    Lambda(int d, std::function<double(const double*)> f, double lower = 0.0, double upper = 1.0)
        : CubeFunction(d, lower, upper), f_(std::move(f)) {}
    double operator()(const double* x) const override { return f_(x); }

  private:
    std::function<double(const double*)> f_;
};

TEST(SparseGrid, PointsInTwoDimensionsAre1_5_13_29_65) {
    const std::int64_t expected[] = {1, 5, 13, 29, 65};
    for (int level = 0; level < 5; ++level) {
        EXPECT_EQ(sparseGridPoints(2, level), expected[level]) << level;
        EXPECT_EQ(static_cast<std::int64_t>(sparseGrid(2, level)->size()), expected[level]);
    }
    EXPECT_EQ(sparseGridPoints(10, 2), 221);
    EXPECT_EQ(static_cast<std::int64_t>(sparseGrid(10, 2)->size()), 221);
}

// Level 1 in two dimensions by hand: U1 x U2 + U2 x U1 - U1 x U1, with U1 the midpoint rule
// and U2 Simpson's: the centre weighs 2/3 + 2/3 - 1 = 1/3 and the four edge midpoints 1/6.
TEST(SparseGrid, LevelOneIsTheCombinationWrittenOut) {
    const Lambda f(2, [](const double* x) { return std::exp(x[0]) * std::cos(3 * x[1]); });
    const auto value = [&](double a, double b) {
        const double x[] = {a, b};
        return f(x);
    };
    const double byHand =
        value(0.5, 0.5) / 3 + (value(0, 0.5) + value(1, 0.5) + value(0.5, 0) + value(0.5, 1)) / 6;
    const CubatureRow row = runCubature(CubatureMethod::SparseGrid, f, 1, 0);
    EXPECT_NEAR(row.estimate, byHand, 1e-15);
    EXPECT_EQ(row.evaluations, 5);
    // The level below is the centre alone.
    EXPECT_NEAR(*row.estimatedError, std::fabs(byHand - value(0.5, 0.5)), 1e-15);
}

// Smolyak's grid of level l on Clenshaw-Curtis rules integrates every polynomial of total
// degree up to 2l + 1 exactly.
TEST(SparseGrid, ExactForPolynomialsOfItsDegree) {
    const struct {
        int d;
        int level;
        int degrees[3];
    } cases[] = {{2, 1, {3, 0, 0}}, {2, 2, {2, 3, 0}}, {3, 2, {1, 2, 2}},
                 {3, 3, {4, 2, 1}}, {2, 4, {9, 0, 0}}, {3, 4, {3, 3, 3}}};
    for (const auto& c : cases) {
        const Lambda f(c.d, [&c](const double* x) {
            double v = 1.0;
            for (int k = 0; k < c.d; ++k) {
                v *= std::pow(x[k], c.degrees[k]);
            }
            return v;
        });
        double exact = 1.0;
        for (int k = 0; k < c.d; ++k) {
            exact /= c.degrees[k] + 1;
        }
        EXPECT_NEAR(runCubature(CubatureMethod::SparseGrid, f, c.level, 0).estimate, exact, 1e-14)
            << c.d << " " << c.level;
    }
}

// Two Gauss points per axis in two dimensions, summed by hand: 0.5 +- 0.5/sqrt(3), weights 1/2.
TEST(ProductGauss, TwoPointsPerAxisByHand) {
    const Lambda f(
        2, [](const double* x) { return std::exp(x[0] - 2 * x[1]) + x[0] * x[1]; }, 0.0, 1.0);
    const double t[] = {0.5 - 0.5 / std::sqrt(3.0), 0.5 + 0.5 / std::sqrt(3.0)};
    double byHand = 0.0;
    for (const double a : t) {
        for (const double b : t) {
            const double x[] = {a, b};
            byHand += 0.25 * f(x);
        }
    }
    const CubatureRow row = runCubature(CubatureMethod::ProductGauss, f, 2, 0);
    EXPECT_NEAR(row.estimate, byHand, 1e-15);
    EXPECT_EQ(row.evaluations, 4 + 1);
    EXPECT_EQ(*row.pointsPerAxis, 2);
}

TEST(ProductGauss, CostsAndExactnessOnOtherCubes) {
    // m points per axis integrate degree 2m - 1 on each axis exactly, on any cube.
    const Lambda f(
        3, [](const double* x) { return std::pow(x[0], 5) * x[1] * x[1] * x[2]; }, -1.0, 2.0);
    const CubatureRow row = runCubature(CubatureMethod::ProductGauss, f, 3, 0);
    // (2^6 - 1)/6 * (8 + 1)/3 * (4 - 1)/2
    EXPECT_NEAR(row.estimate, 63.0 / 6 * 3 * 1.5, 1e-12);
    EXPECT_EQ(row.evaluations, 27 + 8);
    EXPECT_EQ(*cubatureEvaluations(CubatureMethod::ProductGauss, 10, 3), 59049 + 1024);
}

TEST(AdaptiveCubature, KeepsWithinItsBudget) {
    const auto f2 = familyFunction(drawParameters(Family::Gaussian, 2, 7.03, 3));
    const auto f6 = familyFunction(drawParameters(Family::ProductPeak, 6, 7.25, 3));
    for (const CubeFunction* f : {f2.get(), f6.get()}) {
        for (const std::int64_t budget : {adaptiveRegionPoints(f->dimensions()), std::int64_t{1000},
                                          std::int64_t{4321}, std::int64_t{100000}}) {
            const CubatureRow row = runCubature(CubatureMethod::AdaptiveCubature, *f, budget, 0);
            EXPECT_LE(row.evaluations, budget) << f->dimensions();
            EXPECT_GT(row.evaluations, budget / 2 - adaptiveRegionPoints(f->dimensions()));
        }
    }
}

double peak(const double* x, int d) {
    double sum = 0.0;
    for (int k = 0; k < d; ++k) {
        sum += (x[k] - 0.3) * (x[k] - 0.3);
    }
    return std::exp(-100.0 * sum);
}

// The regions rebuilt from what libcubature evaluated are the ones it ended with: as many as
// its evaluations count (the cube, then two per split), and together they tile the cube.
TEST(AdaptiveCubature, ItsRegionsTileTheCube) {
    struct Case {
        int d;
        std::int64_t budget;
        double lower;
        double upper;
    };
    for (const Case& c : {Case{1, 1000, 0.0, 1.0}, Case{2, 5000, -1.0, 2.0},
                          Case{3, 4000, 0.0, 1.0}, Case{6, 100000, 0.0, 1.0}}) {
        SCOPED_TRACE(c.d);
        const Lambda f(
            c.d, [&](const double* x) { return peak(x, c.d); }, c.lower, c.upper);
        CubatureTrace trace;
        const CubatureRow row =
            runCubature(CubatureMethod::AdaptiveCubature, f, c.budget, 0, &trace);
        const std::int64_t region = adaptiveRegionPoints(c.d);
        ASSERT_EQ(row.evaluations % region, 0);
        ASSERT_EQ(static_cast<std::int64_t>(trace.regions.size()),
                  (row.evaluations / region + 1) / 2);
        ASSERT_GT(trace.regions.size(), 10u);
        double volume = 0.0;
        for (const CubeRegion& r : trace.regions) {
            double v = 1.0;
            for (std::size_t k = 0; k < r.centre.size(); ++k) {
                ASSERT_GE(r.centre[k] - r.halfwidth[k], c.lower);
                ASSERT_LE(r.centre[k] + r.halfwidth[k], c.upper);
                v *= 2.0 * r.halfwidth[k];
            }
            volume += v;
        }
        EXPECT_NEAR(volume, f.volume(), 1e-12 * f.volume());
        // Touching is allowed, overlapping is not: two boxes overlap where they overlap on
        // every axis.
        for (std::size_t i = 0; i < trace.regions.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                const CubeRegion& a = trace.regions[i];
                const CubeRegion& b = trace.regions[j];
                bool apart = false;
                for (std::size_t k = 0; k < a.centre.size() && !apart; ++k) {
                    apart = std::fabs(a.centre[k] - b.centre[k]) >=
                            (a.halfwidth[k] + b.halfwidth[k]) * (1.0 - 1e-12);
                }
                ASSERT_TRUE(apart) << i << " overlaps " << j;
            }
        }
    }
}

// VEGAS's grid after adapting: bins + 1 edges on each axis from lower to upper, narrow near a
// peak and wide far from it. Per iteration GSL aims at 2 calls per box, boxes =
// floor((calls / 2)^(1/d)); from 25 boxes on it stratifies, one bin per box up to 50 bins, and
// below that it keeps 50 bins.
TEST(Vegas, ItsGridCrowdsNearAPeak) {
    struct Case {
        int d;
        std::int64_t n;
        std::size_t bins;
    };
    for (const Case& c : {Case{2, 9000, 30}, Case{3, 100000, 50}, Case{6, 100000, 50}}) {
        SCOPED_TRACE(c.d);
        const Lambda f(
            c.d, [&](const double* x) { return peak(x, c.d); }, -1.0, 1.0);
        CubatureTrace trace;
        runCubature(CubatureMethod::Vegas, f, c.n, 1, &trace);
        EXPECT_TRUE(trace.regions.empty());
        ASSERT_EQ(trace.edges.size(), static_cast<std::size_t>(c.d));
        for (const std::vector<double>& edges : trace.edges) {
            ASSERT_EQ(edges.size(), c.bins + 1);
            EXPECT_EQ(edges.front(), -1.0);
            EXPECT_EQ(edges.back(), 1.0);
            EXPECT_TRUE(std::adjacent_find(edges.begin(), edges.end(), std::greater_equal<>()) ==
                        edges.end());
            const auto widthAt = [&](double x) {
                const auto above = std::upper_bound(edges.begin(), edges.end(), x);
                return *above - *(above - 1);
            };
            EXPECT_LT(4.0 * widthAt(0.3), widthAt(-0.7));
        }
    }
}

// The statistical methods' two sigma covers the error about 95 times in 100; over 40 seeds at
// least 33 covered (a 1e-4 chance to fail for honest sigmas), and sigma not inflated either:
// the error reaches half a sigma in at least 12 of them.
TEST(StatisticalMethods, TwoSigmaCoversTheErrorOverSeeds) {
    const struct {
        CubatureMethod method;
        Family family;
        int d;
        std::int64_t n;
    } cases[] = {
        {CubatureMethod::MonteCarlo, Family::Gaussian, 5, 4000},
        {CubatureMethod::MonteCarlo, Family::Continuous, 3, 4000},
        {CubatureMethod::Sobol, Family::Gaussian, 5, 256},
        {CubatureMethod::Sobol, Family::Oscillatory, 8, 256},
        {CubatureMethod::Vegas, Family::Gaussian, 4, 20000},
        {CubatureMethod::Miser, Family::ProductPeak, 3, 20000},
        {CubatureMethod::HitOrMiss, Family::Ball, 4, 4000},
    };
    for (const auto& c : cases) {
        int covered = 0;
        int reachesHalfSigma = 0;
        for (std::uint64_t seed = 1; seed <= 40; ++seed) {
            const GenzParameters p =
                drawParameters(c.family, c.d, familyInfo(c.family).difficulty, 99);
            const auto f = familyFunction(p);
            const CubatureRow row = runCubature(c.method, *f, c.n, seed);
            const double error = std::fabs(row.estimate - exactIntegral(p));
            covered += error <= *row.estimatedError;
            reachesHalfSigma += error >= 0.5 * *row.sigma;
        }
        EXPECT_GE(covered, 33) << cubatureMethodInfo(c.method).name;
        EXPECT_GE(reachesHalfSigma, 12) << cubatureMethodInfo(c.method).name;
    }
}

TEST(StatisticalMethods, EachMethodHasItsOwnNumbers) {
    const auto f = familyFunction(drawParameters(Family::Gaussian, 3, 7.03, 5));
    const double mc = runCubature(CubatureMethod::MonteCarlo, *f, 1000, 8).estimate;
    EXPECT_EQ(mc, runCubature(CubatureMethod::MonteCarlo, *f, 1000, 8).estimate);
    EXPECT_NE(mc, runCubature(CubatureMethod::MonteCarlo, *f, 1000, 9).estimate);
    EXPECT_NE(runCubature(CubatureMethod::HitOrMiss,
                          *familyFunction(drawParameters(Family::Ball, 3, 0, 5)), 1000, 8)
                  .estimate,
              runCubature(CubatureMethod::MonteCarlo,
                          *familyFunction(drawParameters(Family::Ball, 3, 0, 5)), 1000, 8)
                  .estimate);
}

double relativeError(CubatureMethod method, Family family, int d, std::int64_t budget,
                     std::uint64_t seed) {
    const GenzParameters p = drawParameters(family, d, familyInfo(family).difficulty, seed);
    const auto f = familyFunction(p);
    const auto n = largestCubatureSize(method, d, budget);
    const double exact = exactIntegral(p);
    return std::fabs(runCubature(method, *f, *n, seed).estimate - exact) / std::fabs(exact);
}

// Why the methods exist: in ten dimensions a product rule affords three points per axis and
// quasi-Monte Carlo wins; in one dimension the product rule wins by far.
TEST(TheLesson, SobolBeatsProductGaussInTenDimensions) {
    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        EXPECT_LT(relativeError(CubatureMethod::Sobol, Family::Gaussian, 10, 100000, seed),
                  relativeError(CubatureMethod::ProductGauss, Family::Gaussian, 10, 100000, seed))
            << seed;
    }
}

TEST(TheLesson, ProductGaussBeatsMonteCarloInOneDimension) {
    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        EXPECT_LT(relativeError(CubatureMethod::ProductGauss, Family::Gaussian, 1, 1000, seed),
                  1e-3 * relativeError(CubatureMethod::MonteCarlo, Family::Gaussian, 1, 1000, seed))
            << seed;
    }
}

TEST(Race, EachMethodSpendsAtMostItsBudgetAndAtLeastHalfWhereItsSizesAllow) {
    const auto f = familyFunction(drawParameters(Family::Gaussian, 4, 7.03, 1));
    const std::int64_t budget = 50000;
    for (const CubatureEntry& entry : raceCubature(*f, budget, 1)) {
        const std::string_view name = cubatureMethodInfo(entry.method).name;
        if (entry.method == CubatureMethod::HitOrMiss) {
            EXPECT_FALSE(entry.row);
            continue;
        }
        ASSERT_TRUE(entry.row) << name;
        EXPECT_LE(entry.row->evaluations, budget) << name;
        const bool coarseSizes = entry.method == CubatureMethod::ProductGauss ||
                                 entry.method == CubatureMethod::SparseGrid;
        if (!coarseSizes) {
            EXPECT_GE(entry.row->evaluations, budget / 2) << name;
        }
    }
}

TEST(Race, AMethodThatCostsTooMuchSaysSo) {
    const auto f = familyFunction(drawParameters(Family::Gaussian, 20, 7.03, 1));
    const auto entries = raceCubature(*f, 1000, 1, {CubatureMethod::AdaptiveCubature});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_FALSE(entries[0].row);
    EXPECT_NE(entries[0].absence.find("at least 1049417"), std::string::npos) << entries[0].absence;
}

// Esc reaches every method, those inside a C library too, which must hand the stop back
// rather than return an estimate; each is stopped after some of its evaluations.
class Stopping : public testing::TestWithParam<CubatureMethod> {};

TEST_P(Stopping, EveryMethodStopsWhenAsked) {
    const CubatureMethod method = GetParam();
    std::atomic<bool> stop = false;
    int calls = 0;
    const Lambda f(3, [&](const double* x) {
        stop = ++calls == 100;
        return x[0] * x[0] < 0.5 ? 1.0 : 0.0;
    });
    const StopScope scope(stop);
    const std::int64_t n = method == CubatureMethod::SparseGrid     ? 6
                           : method == CubatureMethod::ProductGauss ? 10
                           : method == CubatureMethod::Sobol        ? 1024
                                                                    : 20000;
    EXPECT_THROW((void)runCubature(method, f, n, 1), StopRequested)
        << cubatureMethodInfo(method).name;
}

INSTANTIATE_TEST_SUITE_P(AllMethods, Stopping,
                         testing::Values(CubatureMethod::ProductGauss, CubatureMethod::SparseGrid,
                                         CubatureMethod::AdaptiveCubature,
                                         CubatureMethod::MonteCarlo, CubatureMethod::Sobol,
                                         CubatureMethod::Vegas, CubatureMethod::Miser,
                                         CubatureMethod::HitOrMiss));

// A grid is built once per (d, l): the second request is the same grid.
TEST(SparseGrid, KeptOncePerDimensionAndLevelAndWeighsToOne) {
    const auto grid = sparseGrid(10, 3);
    EXPECT_EQ(grid.get(), sparseGrid(10, 3).get());
    double sum = 0.0;
    double coarser = 0.0;
    for (std::size_t p = 0; p < grid->size(); ++p) {
        sum += grid->weights[p];
        coarser += grid->coarserWeights[p];
    }
    EXPECT_NEAR(sum, 1.0, 1e-13);
    EXPECT_NEAR(coarser, 1.0, 1e-13);

    // Past the limit the grids least recently used go; the one just asked for stays.
    limitKeptSparseGrids(0);
    const auto fourth = sparseGrid(10, 4);
    EXPECT_EQ(fourth.get(), sparseGrid(10, 4).get());
    const auto fifth = sparseGrid(10, 5);
    EXPECT_EQ(keptSparseGridBytes(), fifth->coordinates.size() * sizeof(double) +
                                         fifth->positions.size() * 2 +
                                         fifth->size() * 2 * sizeof(double));
    EXPECT_NE(fourth.get(), sparseGrid(10, 4).get());  // let go, and made anew
    limitKeptSparseGrids(kKeptSparseGridBytes);
}

}  // namespace
}  // namespace integral
