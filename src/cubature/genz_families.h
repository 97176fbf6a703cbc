// SPDX-License-Identifier: GPL-3.0-or-later
// Genz's six test families on [0,1]^d and the unit d-ball, with their integrals in closed form.
// The parameters follow Genz's convention: w_k uniform in [0,1], c_k positive with
// sum c_k = difficulty, both drawn from a seed, so a seed names one member of a family.
// The default difficulties are those of Genz's test package (1987):
//   oscillatory 9.0, product peak 7.25, corner peak 1.85, Gaussian 7.03, continuous 20.4,
//   discontinuous 4.3
// where a larger difficulty makes a peak narrower, a wave faster or a corner sharper.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cubature/cube_function.h"

namespace integral {

enum class Family {
    Oscillatory,
    ProductPeak,
    CornerPeak,
    Gaussian,
    Continuous,
    Discontinuous,
    Ball,
};

struct FamilyInfo {
    Family family;
    std::string_view name;     // the command line's spelling
    std::string_view formula;  // as a person reads it
    double difficulty;         // sum c_k by default; 0 where the family has no parameters
};

inline constexpr auto kFamilies = std::to_array<FamilyInfo>({
    {Family::Oscillatory, "oscillatory", "cos(2 pi w1 + sum c_k x_k)", 9.0},
    {Family::ProductPeak, "product-peak", "prod 1/(c_k^-2 + (x_k - w_k)^2)", 7.25},
    {Family::CornerPeak, "corner-peak", "(1 + sum c_k x_k)^-(d+1)", 1.85},
    {Family::Gaussian, "gaussian", "exp(-sum c_k^2 (x_k - w_k)^2)", 7.03},
    {Family::Continuous, "continuous", "exp(-sum c_k |x_k - w_k|)", 20.4},
    {Family::Discontinuous, "discontinuous", "0 where x1 > w1 or x2 > w2, else exp(sum c_k x_k)",
     4.3},
    {Family::Ball, "ball", "1 inside the unit ball, 0 outside, on [-1,1]^d", 0.0},
});

constexpr const FamilyInfo& familyInfo(Family family) {
    return kFamilies.at(static_cast<std::size_t>(family));
}

// The family whose name is `name`, without regard to case.
std::optional<Family> familyNamed(std::string_view name);
// "oscillatory, product-peak, ... or ball".
std::string familyNames(std::string_view lastJoin = " or ");

// One member of a family: its d, c and w (empty for the ball).
struct GenzParameters {
    Family family = Family::Gaussian;
    int dimensions = 1;
    double difficulty = 0.0;
    std::uint64_t seed = 0;
    std::vector<double> c;
    std::vector<double> w;
};

// c and w from the seed: w_k uniform in [0,1), c_k = H u_k / sum u over u_k uniform in (0,1].
// The draws come from a stream of the seed that no method uses.
GenzParameters drawParameters(Family family, int dimensions, double difficulty, std::uint64_t seed);

// The member of the family as an integrand on its cube ([0,1]^d; [-1,1]^d for the ball).
std::unique_ptr<CubeFunction> familyFunction(const GenzParameters& parameters);

// The integral in closed form, evaluated in 50-digit arithmetic and rounded once.
double exactIntegral(const GenzParameters& parameters);

}  // namespace integral
