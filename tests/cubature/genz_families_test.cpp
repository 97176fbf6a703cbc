// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/genz_families.h"

#include "cubature/cubature_methods.h"

#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss.hpp>
#include <cmath>
#include <numbers>
#include <tuple>

namespace integral {
namespace {

// An independent check of a closed form: Gauss-Legendre with 30 points on each piece of every
// axis, the axes cut at w_k, where the continuous family has its kink and the discontinuous
// its jump; smooth on each piece, so the sum is good to about 1e-13.
double piecewiseGauss(const CubeFunction& f, const std::vector<double>& cuts, int axis,
                      std::vector<double>& x) {
    if (axis == f.dimensions()) {
        return f(x.data());
    }
    const double cut = cuts.empty() ? 0.5 : cuts[static_cast<std::size_t>(axis)];
    double sum = 0.0;
    for (const std::pair<double, double>& piece : {std::pair{0.0, cut}, std::pair{cut, 1.0}}) {
        sum += boost::math::quadrature::gauss<double, 30>::integrate(
            [&](double t) {
                x[static_cast<std::size_t>(axis)] = t;
                return piecewiseGauss(f, cuts, axis + 1, x);
            },
            piece.first, piece.second);
    }
    return sum;
}

class ClosedForm : public testing::TestWithParam<std::tuple<Family, int, std::uint64_t>> {};

TEST_P(ClosedForm, AgreesWithGaussOnPiecesCutAtW) {
    const auto [family, d, seed] = GetParam();
    const GenzParameters p = drawParameters(family, d, familyInfo(family).difficulty, seed);
    const auto f = familyFunction(p);
    std::vector<double> x(static_cast<std::size_t>(d));
    const double sum = piecewiseGauss(*f, p.w, 0, x);
    EXPECT_NEAR(exactIntegral(p), sum, 1e-12 * std::fabs(sum)) << familyInfo(family).name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryFamily, ClosedForm,
    testing::Combine(testing::Values(Family::Oscillatory, Family::ProductPeak, Family::CornerPeak,
                                     Family::Gaussian, Family::Continuous, Family::Discontinuous),
                     testing::Values(1, 2, 3), testing::Values(1u, 20240607u)));

// The corner peak's 2^d alternating terms cancel most where d is largest: at d = 20 the 50
// digits must still leave the value that randomised quasi-Monte Carlo's average confirms.
TEST(ClosedForm, CornerPeakSurvivesTheCancellationAtTwentyDimensions) {
    for (const double difficulty : {1.85, 0.5}) {
        const GenzParameters p = drawParameters(Family::CornerPeak, 20, difficulty, 7);
        const CubatureRow row = runCubature(CubatureMethod::Sobol, *familyFunction(p), 1 << 16, 1);
        EXPECT_NEAR(exactIntegral(p), row.estimate, 4 * *row.sigma) << difficulty;
    }
}

TEST(ClosedForm, BallVolumes) {
    const struct {
        int d;
        double volume;
    } cases[] = {{1, 2.0},
                 {2, std::numbers::pi},
                 {3, 4.0 * std::numbers::pi / 3.0},
                 {4, std::numbers::pi * std::numbers::pi / 2.0},
                 {10, std::pow(std::numbers::pi, 5) / 120.0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(exactIntegral(drawParameters(Family::Ball, c.d, 0.0, 1)), c.volume) << c.d;
    }
}

TEST(Parameters, SumToTheDifficultyAndComeFromTheSeed) {
    const GenzParameters p = drawParameters(Family::Gaussian, 7, 7.03, 42);
    double sum = 0.0;
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_GT(p.c[k], 0.0);
        EXPECT_GE(p.w[k], 0.0);
        EXPECT_LT(p.w[k], 1.0);
        sum += p.c[k];
    }
    EXPECT_NEAR(sum, 7.03, 1e-13);
    EXPECT_EQ(drawParameters(Family::Gaussian, 7, 7.03, 42).w, p.w);
    EXPECT_NE(drawParameters(Family::Gaussian, 7, 7.03, 43).w, p.w);
}

}  // namespace
}  // namespace integral
