// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/genz_families.h"

#include <bit>
#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <numbers>

#include "runtime/random_generator.h"

namespace integral {

namespace {

namespace bmp = boost::multiprecision;
using Real = bmp::number<bmp::cpp_bin_float<50>, bmp::et_off>;

// The parameters' own stream: the methods take theirs from 0 upwards.
constexpr std::uint32_t kParameterStream = 0xC0BE;

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

class GenzFunction : public CubeFunction {
  public:
    explicit GenzFunction(const GenzParameters& p)
        : CubeFunction(p.dimensions, 0.0, 1.0), family_(p.family), c_(p.c), w_(p.w) {
        for (const double ck : c_) {
            cSquared_.push_back(ck * ck);
            cToMinus2_.push_back(1.0 / (ck * ck));
        }
        twoPiW1_ = w_.empty() ? 0.0 : 2.0 * std::numbers::pi * w_[0];
    }

    double operator()(const double* x) const override {
        const auto d = static_cast<std::size_t>(dimensions());
        switch (family_) {
            case Family::Oscillatory: {
                double sum = twoPiW1_;
                for (std::size_t k = 0; k < d; ++k) {
                    sum += c_[k] * x[k];
                }
                return std::cos(sum);
            }
            case Family::ProductPeak: {
                double product = 1.0;
                for (std::size_t k = 0; k < d; ++k) {
                    const double t = x[k] - w_[k];
                    product /= cToMinus2_[k] + t * t;
                }
                return product;
            }
            case Family::CornerPeak: {
                double sum = 1.0;
                for (std::size_t k = 0; k < d; ++k) {
                    sum += c_[k] * x[k];
                }
                return std::pow(sum, -static_cast<double>(d + 1));
            }
            case Family::Gaussian: {
                double sum = 0.0;
                for (std::size_t k = 0; k < d; ++k) {
                    const double t = x[k] - w_[k];
                    sum += cSquared_[k] * t * t;
                }
                return std::exp(-sum);
            }
            case Family::Continuous: {
                double sum = 0.0;
                for (std::size_t k = 0; k < d; ++k) {
                    sum += c_[k] * std::fabs(x[k] - w_[k]);
                }
                return std::exp(-sum);
            }
            case Family::Discontinuous: {
                if (x[0] > w_[0] || (d > 1 && x[1] > w_[1])) {
                    return 0.0;
                }
                double sum = 0.0;
                for (std::size_t k = 0; k < d; ++k) {
                    sum += c_[k] * x[k];
                }
                return std::exp(sum);
            }
            case Family::Ball:
                break;
        }
        return 0.0;
    }

  private:
    Family family_;
    std::vector<double> c_;
    std::vector<double> w_;
    std::vector<double> cSquared_;
    std::vector<double> cToMinus2_;
    double twoPiW1_ = 0.0;
};

class BallFunction : public CubeFunction {
  public:
    explicit BallFunction(int dimensions) : CubeFunction(dimensions, -1.0, 1.0) {}
    double operator()(const double* x) const override {
        double sum = 0.0;
        for (int k = 0; k < dimensions(); ++k) {
            sum += x[k] * x[k];
        }
        return sum <= 1.0 ? 1.0 : 0.0;
    }
    bool indicator() const override { return true; }
};

// Inclusion-exclusion over the 2^d corners:
//   I = sum over S of (-1)^|S| / (1 + sum_{k in S} c_k), divided by d! prod c_k.
// The terms are of order 1 and their sum of order d! prod c_k I, so up to about 15 of the 50
// digits cancel at d = 20 with the default difficulty: the 35 left are ample. The corners are
// visited in Gray-code order, each sum one addition or subtraction from the one before.
Real cornerPeak(const std::vector<double>& c) {
    const std::size_t d = c.size();
    Real sum = 1;  // the empty set
    Real partial = 0;
    std::uint32_t gray = 0;
    for (std::uint32_t i = 1; i < (std::uint32_t{1} << d); ++i) {
        const std::uint32_t next = i ^ (i >> 1);
        const std::uint32_t changed = next ^ gray;
        const int k = std::countr_zero(changed);
        if ((next & changed) != 0) {
            partial += Real(c[static_cast<std::size_t>(k)]);
        } else {
            partial -= Real(c[static_cast<std::size_t>(k)]);
        }
        gray = next;
        const Real term = 1 / (1 + partial);
        if (std::popcount(gray) % 2 == 0) {
            sum += term;
        } else {
            sum -= term;
        }
    }
    Real denominator = 1;
    for (std::size_t k = 0; k < d; ++k) {
        denominator *= Real(c[k]) * Real(k + 1);
    }
    return sum / denominator;
}

}  // namespace

std::optional<Family> familyNamed(std::string_view name) {
    for (const FamilyInfo& info : kFamilies) {
        if (sameLetters(info.name, name)) {
            return info.family;
        }
    }
    return std::nullopt;
}

std::string familyNames(std::string_view lastJoin) {
    std::string names;
    for (std::size_t i = 0; i < kFamilies.size(); ++i) {
        if (i > 0) {
            names += i + 1 == kFamilies.size() ? lastJoin : std::string_view(", ");
        }
        names += kFamilies[i].name;
    }
    return names;
}

GenzParameters drawParameters(Family family, int dimensions, double difficulty,
                              std::uint64_t seed) {
    GenzParameters p;
    p.family = family;
    p.dimensions = dimensions;
    p.seed = seed;
    if (family == Family::Ball) {
        return p;
    }
    p.difficulty = difficulty;
    RandomGenerator random = RandomGenerator::seeded(seed, kParameterStream);
    std::vector<double> u;
    double total = 0.0;
    for (int k = 0; k < dimensions; ++k) {
        p.w.push_back(random.next());
        // 1 - u lies in (0, 1]: no c_k is 0, so every closed form divides safely.
        u.push_back(1.0 - static_cast<double>(random.next()));
        total += u.back();
    }
    for (const double uk : u) {
        p.c.push_back(difficulty * uk / total);
    }
    return p;
}

std::unique_ptr<CubeFunction> familyFunction(const GenzParameters& parameters) {
    if (parameters.family == Family::Ball) {
        return std::make_unique<BallFunction>(parameters.dimensions);
    }
    return std::make_unique<GenzFunction>(parameters);
}

double exactIntegral(const GenzParameters& p) {
    const std::size_t d = static_cast<std::size_t>(p.dimensions);
    const Real pi = boost::math::constants::pi<Real>();
    Real result = 1;
    switch (p.family) {
        case Family::Oscillatory: {
            // The real part of e^(2 pi i w1) prod (e^(i c_k) - 1)/(i c_k).
            Real phase = 2 * pi * Real(p.w[0]);
            for (std::size_t k = 0; k < d; ++k) {
                const Real c(p.c[k]);
                phase += c / 2;
                result *= 2 * sin(c / 2) / c;
            }
            result *= cos(phase);
            break;
        }
        case Family::ProductPeak:
            for (std::size_t k = 0; k < d; ++k) {
                const Real c(p.c[k]);
                const Real w(p.w[k]);
                result *= c * (atan(c * (1 - w)) + atan(c * w));
            }
            break;
        case Family::CornerPeak:
            result = cornerPeak(p.c);
            break;
        case Family::Gaussian:
            for (std::size_t k = 0; k < d; ++k) {
                const Real c(p.c[k]);
                const Real w(p.w[k]);
                result *=
                    sqrt(pi) / (2 * c) * (boost::math::erf(c * (1 - w)) + boost::math::erf(c * w));
            }
            break;
        case Family::Continuous:
            for (std::size_t k = 0; k < d; ++k) {
                const Real c(p.c[k]);
                const Real w(p.w[k]);
                result *= (2 - exp(-c * w) - exp(-c * (1 - w))) / c;
            }
            break;
        case Family::Discontinuous:
            for (std::size_t k = 0; k < d; ++k) {
                const Real c(p.c[k]);
                const Real upper = k < 2 ? Real(p.w[k]) : Real(1);
                result *= expm1(c * upper) / c;
            }
            break;
        case Family::Ball: {
            const Real half = Real(p.dimensions) / 2;
            result = pow(pi, half) / boost::math::tgamma(half + 1);
            break;
        }
    }
    return static_cast<double>(result);
}

}  // namespace integral
