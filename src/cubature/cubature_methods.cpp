// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/cubature_methods.h"

#include <cubature.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_monte_miser.h>
#include <gsl/gsl_monte_vegas.h>
#include <gsl/gsl_rng.h>

#include <algorithm>
#include <boost/math/special_functions/legendre.hpp>
#include <boost/random/sobol.hpp>
#include <cmath>
#include <exception>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <random>

#include "cubature/sparse_grid.h"
#include "runtime/random_generator.h"

namespace integral {

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
// Beyond this many points per axis a product rule's nodes cost more to find than they repay.
constexpr std::int64_t kMaxPointsPerAxis = 1024;
constexpr int kShifts = 16;
// The evaluations a table of every size may spend, its rows together, before its rows thin out.
constexpr std::int64_t kEveryRowEvaluations = 1'000'000'000;

std::int64_t saturatingPower(std::int64_t base, int exponent) {
    std::int64_t result = 1;
    for (int i = 0; i < exponent; ++i) {
        if (base != 0 && result > kInt64Max / base) {
            return kInt64Max;
        }
        result *= base;
    }
    return result;
}

std::int64_t productGaussEvaluations(int d, std::int64_t m) {
    const std::int64_t here = saturatingPower(m, d);
    const std::int64_t fewer = saturatingPower(m - 1, d);
    return here > kInt64Max - fewer ? kInt64Max : here + fewer;
}

// The stream of the seed a method takes its numbers from: its place in the table.
RandomGenerator methodStream(CubatureMethod method, std::uint64_t seed) {
    return RandomGenerator::seeded(seed, static_cast<std::uint32_t>(method));
}

double uniform(RandomGenerator& random) {
    // Two draws of 24 bits make 48: enough that no two of a million points coincide.
    const double high = random.next();
    const double low = random.next();
    return high + low * 0x1p-24;
}

// Never below the rounding a sum of `terms` carries.
double atLeastRounding(double error, double estimate, std::int64_t terms) {
    return std::max(error, std::fabs(estimate) * std::numeric_limits<double>::epsilon() *
                               std::sqrt(static_cast<double>(terms)));
}

// Gauss-Legendre nodes and weights on [-1, 1], kept per m once found.
struct LegendreRule {
    std::vector<double> nodes;
    std::vector<double> weights;
};

std::shared_ptr<const LegendreRule> legendreRule(int m) {
    static std::mutex mutex;
    static std::map<int, std::shared_ptr<const LegendreRule>> rules;
    const std::lock_guard lock(mutex);
    auto& rule = rules[m];
    if (!rule) {
        auto made = std::make_shared<LegendreRule>();
        const std::vector<double> zeros = boost::math::legendre_p_zeros<double>(m);
        for (auto it = zeros.rbegin(); it != zeros.rend(); ++it) {
            if (*it != 0.0) {
                made->nodes.push_back(-*it);
            }
        }
        for (const double z : zeros) {
            made->nodes.push_back(z);
        }
        for (const double t : made->nodes) {
            const double slope = boost::math::legendre_p_prime(m, t);
            made->weights.push_back(2.0 / ((1.0 - t * t) * slope * slope));
        }
        rule = std::move(made);
    }
    return rule;
}

// The tensor rule of m points per axis, its points visited as an odometer turns.
double productGauss(CountedFunction& f, int m) {
    if (m == 0) {
        return 0.0;
    }
    const auto rule = legendreRule(m);
    const CubeFunction& g = f.function();
    const int d = g.dimensions();
    const double half = (g.upper() - g.lower()) / 2.0;
    const double middle = (g.upper() + g.lower()) / 2.0;
    std::vector<int> index(static_cast<std::size_t>(d), 0);
    std::vector<double> x(static_cast<std::size_t>(d), middle + half * rule->nodes[0]);
    double sum = 0.0;
    while (true) {
        double weight = 1.0;
        for (int k = 0; k < d; ++k) {
            weight *= rule->weights[static_cast<std::size_t>(index[static_cast<std::size_t>(k)])];
        }
        sum += weight * f(x.data());
        int k = 0;
        for (; k < d; ++k) {
            auto& i = index[static_cast<std::size_t>(k)];
            if (++i < m) {
                x[static_cast<std::size_t>(k)] =
                    middle + half * rule->nodes[static_cast<std::size_t>(i)];
                break;
            }
            i = 0;
            x[static_cast<std::size_t>(k)] = middle + half * rule->nodes[0];
        }
        if (k == d) {
            break;
        }
    }
    return sum * g.volume() / std::pow(2.0, d);
}

CubatureRow runProductGauss(const CubeFunction& g, std::int64_t m) {
    CountedFunction f(g);
    const double estimate = productGauss(f, static_cast<int>(m));
    CubatureRow row;
    row.n = m;
    row.pointsPerAxis = static_cast<int>(m);
    if (m > 1) {
        const double fewer = productGauss(f, static_cast<int>(m - 1));
        row.estimatedError =
            atLeastRounding(std::fabs(estimate - fewer), estimate, f.evaluations());
    }
    row.estimate = estimate;
    row.evaluations = f.evaluations();
    return row;
}

CubatureRow runSparseGrid(const CubeFunction& g, std::int64_t level) {
    const auto grid = sparseGrid(g.dimensions(), static_cast<int>(level));
    CountedFunction f(g);
    const auto d = static_cast<std::size_t>(g.dimensions());
    const double width = g.upper() - g.lower();
    std::vector<double> x(d);
    double fine = 0.0;
    double coarse = 0.0;
    for (std::size_t p = 0; p < grid->size(); ++p) {
        for (std::size_t k = 0; k < d; ++k) {
            x[k] = g.lower() + width * grid->coordinates[grid->positions[p * d + k]];
        }
        const double value = f(x.data());
        fine += grid->weights[p] * value;
        coarse += grid->coarserWeights[p] * value;
    }
    CubatureRow row;
    row.n = level;
    row.level = static_cast<int>(level);
    row.estimate = fine * g.volume();
    if (level > 0) {
        row.estimatedError =
            atLeastRounding(std::fabs(fine - coarse) * g.volume(), row.estimate, f.evaluations());
    }
    row.evaluations = f.evaluations();
    return row;
}

// A C library calls f: what f throws waits here until the library has returned, as no
// exception may cross its frames.
struct Caller {
    explicit Caller(const CubeFunction& g) : f(g) {}

    CountedFunction f;
    std::exception_ptr thrown;
    // Where a picture asks: the coordinates of the first of every `stride` points.
    std::vector<double>* firsts = nullptr;
    std::int64_t stride = 1;

    double call(const double* x) {
        if (thrown) {
            return 0.0;
        }
        if (firsts != nullptr && f.evaluations() % stride == 0) {
            firsts->insert(firsts->end(), x, x + f.function().dimensions());
        }
        try {
            return f(x);
        } catch (...) {
            thrown = std::current_exception();
            return 0.0;
        }
    }
    void rethrow() const {
        if (thrown) {
            std::rethrow_exception(thrown);
        }
    }
};

// After a fault every value is NaN: hcubature counts a NaN error as converged and stops at
// its next test. Its own way to stop, a nonzero return, leaks the regions it holds.
int cubatureCall(unsigned, const double* x, void* data, unsigned, double* value) {
    auto* caller = static_cast<Caller*>(data);
    *value = caller->call(x);
    if (caller->thrown) {
        *value = std::numeric_limits<double>::quiet_NaN();
    }
    return 0;
}

// hcubature's regions rebuilt from the centres it evaluated, in its order: the whole cube
// first, then two at a time the halves of the region it split, the lower one first, as its
// cut_region makes them: the halfwidth along the axis halved and each centre moved by it. The
// same arithmetic here finds every parent exactly, and nothing is returned where a centre
// does not follow that order.
std::vector<CubeRegion> adaptiveRegions(const std::vector<double>& centres, const CubeFunction& g) {
    const auto d = static_cast<std::size_t>(g.dimensions());
    const std::size_t count = centres.size() / d;
    const CubeRegion cube{std::vector<double>(d, 0.5 * (g.lower() + g.upper())),
                          std::vector<double>(d, 0.5 * (g.upper() - g.lower()))};
    if (count % 2 == 0 || !std::equal(cube.centre.begin(), cube.centre.end(), centres.begin())) {
        return {};
    }
    std::vector<CubeRegion> leaves{cube};
    for (std::size_t k = 1; k < count; k += 2) {
        const double* a = &centres[k * d];
        const double* b = &centres[(k + 1) * d];
        bool found = false;
        for (std::size_t l = 0; l < leaves.size() && !found; ++l) {
            CubeRegion& parent = leaves[l];
            std::size_t axis = d;
            bool others = true;
            for (std::size_t j = 0; j < d && others; ++j) {
                if (a[j] != parent.centre[j]) {
                    others = axis == d;
                    axis = j;
                } else {
                    others = b[j] == parent.centre[j];
                }
            }
            if (!others || axis == d) {
                continue;
            }
            const double half = parent.halfwidth[axis] * 0.5;
            if (parent.centre[axis] - half != a[axis] || parent.centre[axis] + half != b[axis]) {
                continue;
            }
            parent.halfwidth[axis] = half;
            parent.centre[axis] = a[axis];
            CubeRegion upper = parent;
            upper.centre[axis] = b[axis];
            leaves.push_back(std::move(upper));
            found = true;
        }
        if (!found) {
            return {};
        }
    }
    return leaves;
}

CubatureRow runAdaptive(const CubeFunction& g, std::int64_t n, CubatureTrace* trace) {
    Caller caller(g);
    const auto d = static_cast<std::size_t>(g.dimensions());
    const std::vector<double> lower(d, g.lower());
    const std::vector<double> upper(d, g.upper());
    // hcubature splits one region into two per step, evaluating both, while it has evaluated
    // fewer than maxEval: a limit of n - 2r + 1 keeps the last step within n. 0 would mean no
    // limit, so 1 stands for "the first region alone".
    const std::int64_t region = adaptiveRegionPoints(g.dimensions());
    const std::int64_t limit = std::max<std::int64_t>(n - 2 * region + 1, 1);
    // Each region's points start with its centre.
    std::vector<double> centres;
    if (trace != nullptr) {
        caller.firsts = &centres;
        caller.stride = region;
    }
    double value = 0.0;
    double error = 0.0;
    const int status =
        hcubature(1, cubatureCall, &caller, static_cast<unsigned>(d), lower.data(), upper.data(),
                  static_cast<std::size_t>(limit), 0.0, 0.0, ERROR_INDIVIDUAL, &value, &error);
    caller.rethrow();
    if (status != 0) {
        throw CubeFault("the adaptive cubature failed (out of memory)");
    }
    if (trace != nullptr) {
        trace->regions = adaptiveRegions(centres, g);
    }
    CubatureRow row;
    row.n = n;
    row.estimate = value;
    row.evaluations = caller.f.evaluations();
    row.estimatedError = atLeastRounding(error, value, row.evaluations);
    return row;
}

CubatureRow statisticalRow(std::int64_t n, std::int64_t evaluations, double estimate,
                           double sigma) {
    CubatureRow row;
    row.n = n;
    row.evaluations = evaluations;
    row.estimate = estimate;
    row.sigma = sigma;
    row.estimatedError = 2.0 * sigma;
    return row;
}

CubatureRow runMonteCarlo(const CubeFunction& g, std::int64_t n, std::uint64_t seed) {
    CountedFunction f(g);
    RandomGenerator random = methodStream(CubatureMethod::MonteCarlo, seed);
    const auto d = static_cast<std::size_t>(g.dimensions());
    const double width = g.upper() - g.lower();
    std::vector<double> x(d);
    // Welford's running mean and squared deviations: no cancellation for a large mean.
    double mean = 0.0;
    double squares = 0.0;
    for (std::int64_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < d; ++k) {
            x[k] = g.lower() + width * uniform(random);
        }
        const double value = f(x.data());
        const double delta = value - mean;
        mean += delta / static_cast<double>(i + 1);
        squares += delta * (value - mean);
    }
    const double variance = n > 1 ? squares / static_cast<double>(n - 1) : 0.0;
    return statisticalRow(n, f.evaluations(), mean * g.volume(),
                          std::sqrt(variance / static_cast<double>(n)) * g.volume());
}

CubatureRow runHitOrMiss(const CubeFunction& g, std::int64_t n, std::uint64_t seed) {
    CountedFunction f(g);
    RandomGenerator random = methodStream(CubatureMethod::HitOrMiss, seed);
    const auto d = static_cast<std::size_t>(g.dimensions());
    const double width = g.upper() - g.lower();
    std::vector<double> x(d);
    std::int64_t hits = 0;
    for (std::int64_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < d; ++k) {
            x[k] = g.lower() + width * uniform(random);
        }
        if (f(x.data()) > 0.5) {
            ++hits;
        }
    }
    const double share = static_cast<double>(hits) / static_cast<double>(n);
    // No hit at all says only that the share is below about 3/n (the rule of three): a sigma
    // of 0 would claim the estimate exact.
    const double sigma = hits == 0 ? 1.5 / static_cast<double>(n)
                                   : std::sqrt(share * (1.0 - share) / static_cast<double>(n));
    return statisticalRow(n, f.evaluations(), share * g.volume(), sigma * g.volume());
}

// The same n Sobol points under 16 random shifts (modulo 1): 16 independent unbiased
// estimates, whose spread is the error estimate. Each point is made once and evaluated under
// every shift, so nothing is stored.
CubatureRow runSobol(const CubeFunction& g, std::int64_t n, std::uint64_t seed) {
    CountedFunction f(g);
    RandomGenerator random = methodStream(CubatureMethod::Sobol, seed);
    const auto d = static_cast<std::size_t>(g.dimensions());
    const double width = g.upper() - g.lower();
    std::vector<double> shifts(d * kShifts);
    for (double& s : shifts) {
        s = uniform(random);
    }
    boost::random::sobol engine(static_cast<unsigned>(d));
    std::vector<std::uint64_t> bits(d);
    std::vector<double> point(d);
    std::vector<double> x(d);
    std::array<double, kShifts> sums{};
    for (std::int64_t i = 0; i < n; ++i) {
        engine.generate(bits.begin(), bits.end());
        for (std::size_t k = 0; k < d; ++k) {
            point[k] = static_cast<double>(bits[k] >> 11) * 0x1p-53;
        }
        for (std::size_t s = 0; s < kShifts; ++s) {
            for (std::size_t k = 0; k < d; ++k) {
                double y = point[k] + shifts[s * d + k];
                y -= y >= 1.0 ? 1.0 : 0.0;
                x[k] = g.lower() + width * y;
            }
            sums[s] += f(x.data());
        }
    }
    double mean = 0.0;
    for (double& sum : sums) {
        sum /= static_cast<double>(n);
        mean += sum / kShifts;
    }
    double squares = 0.0;
    for (const double sum : sums) {
        squares += (sum - mean) * (sum - mean);
    }
    const double sigma = std::sqrt(squares / (kShifts - 1) / kShifts);
    return statisticalRow(n, f.evaluations(), mean * g.volume(), sigma * g.volume());
}

// After a stop, GSL's samplers still run through every call they were given, though f is no
// longer evaluated: their draws then cost nothing, so that they reach the end within
// milliseconds. Until then each draw is the Mersenne twister's own, to the bit.
struct StoppableDraws {
    gsl_rng* twister;
    const std::exception_ptr* thrown;
};

void noSeed(void*, unsigned long) {}

unsigned long stoppableGet(void* state) {
    const auto& draws = *static_cast<const StoppableDraws*>(state);
    return *draws.thrown ? 0 : gsl_rng_get(draws.twister);
}

double stoppableUniform(void* state) {
    const auto& draws = *static_cast<const StoppableDraws*>(state);
    return *draws.thrown ? 0.5 : gsl_rng_uniform(draws.twister);
}

const gsl_rng_type* stoppableType() {
    static const gsl_rng_type type{"stoppable mt19937",
                                   gsl_rng_mt19937->max,
                                   gsl_rng_mt19937->min,
                                   sizeof(StoppableDraws),
                                   &noSeed,
                                   &stoppableGet,
                                   &stoppableUniform};
    return &type;
}

struct GslRng {
    GslRng(std::uint64_t seed, CubatureMethod method, const std::exception_ptr& thrown)
        : twister(gsl_rng_alloc(gsl_rng_mt19937)), rng(gsl_rng_alloc(stoppableType())) {
        if (twister == nullptr || rng == nullptr) {
            release();
            throw std::bad_alloc();
        }
        std::seed_seq sequence{static_cast<std::uint32_t>(seed),
                               static_cast<std::uint32_t>(seed >> 32),
                               static_cast<std::uint32_t>(method)};
        std::array<std::uint32_t, 1> word{};
        sequence.generate(word.begin(), word.end());
        gsl_rng_set(twister, word[0]);
        *static_cast<StoppableDraws*>(rng->state) = {twister, &thrown};
    }
    ~GslRng() { release(); }
    void release() {
        for (gsl_rng* r : {rng, twister}) {
            if (r != nullptr) {
                gsl_rng_free(r);
            }
        }
    }
    GslRng(const GslRng&) = delete;
    GslRng& operator=(const GslRng&) = delete;
    gsl_rng* twister;
    gsl_rng* rng;
};

// GSL's default handler aborts the program; its status codes are checked instead.
void quietGsl() {
    static std::once_flag once;
    std::call_once(once, [] { gsl_set_error_handler_off(); });
}

struct GslRun {
    int status = GSL_SUCCESS;
    double value = 0.0;
    double error = 0.0;
    std::int64_t evaluations = 0;
    double largest = 0.0;  // the largest |f| met
};

struct ScaledCaller {
    Caller caller;
    int exponent = 0;  // f enters scaled by 2^-exponent, which is exact
    double largest = 0.0;
};

double gslScaledCall(double* x, std::size_t, void* data) {
    auto& scaled = *static_cast<ScaledCaller*>(data);
    const double value = scaled.caller.call(x);
    scaled.largest = std::max(scaled.largest, std::fabs(value));
    return std::ldexp(value, -scaled.exponent);
}

GslRun gslOnce(CubatureMethod method, const CubeFunction& g, std::int64_t n, std::uint64_t seed,
               int exponent, CubatureTrace* trace) {
    ScaledCaller scaled{Caller(g), exponent, 0.0};
    const auto d = static_cast<std::size_t>(g.dimensions());
    std::vector<double> lower(d, g.lower());
    std::vector<double> upper(d, g.upper());
    gsl_monte_function function{&gslScaledCall, d, &scaled};
    GslRng random(seed, method, scaled.caller.thrown);
    GslRun run;
    if (method == CubatureMethod::Vegas) {
        std::unique_ptr<gsl_monte_vegas_state, void (*)(gsl_monte_vegas_state*)> state(
            gsl_monte_vegas_alloc(d), gsl_monte_vegas_free);
        if (!state) {
            throw std::bad_alloc();
        }
        // VEGAS spends its calls on every one of its iterations: each gets a share, so that
        // all of them together stay within n. They run one at a time, so that a stop ends the
        // run after the iteration it comes in rather than after all the calls left: stage 2
        // goes on with the grid, the bins and the weighted average of the iterations before,
        // to the bit as one run of all does.
        gsl_monte_vegas_params params;
        gsl_monte_vegas_params_get(state.get(), &params);
        params.iterations = 1;
        const auto calls = static_cast<std::size_t>(n / kVegasIterations);
        for (std::int64_t iteration = 0;
             iteration < kVegasIterations && run.status == GSL_SUCCESS && !scaled.caller.thrown;
             ++iteration) {
            params.stage = iteration == 0 ? 0 : 2;
            gsl_monte_vegas_params_set(state.get(), &params);
            run.status = gsl_monte_vegas_integrate(&function, lower.data(), upper.data(), d, calls,
                                                   random.rng, state.get(), &run.value, &run.error);
        }
        if (trace != nullptr && run.status == GSL_SUCCESS) {
            // Its grid lives on the unit cube: edge i of axis j at xi[i * d + j].
            const gsl_monte_vegas_state& grid = *state;
            trace->edges.assign(d, {});
            for (std::size_t j = 0; j < d; ++j) {
                for (std::size_t i = 0; i <= grid.bins; ++i) {
                    trace->edges[j].push_back(lower[j] +
                                              (upper[j] - lower[j]) * grid.xi[i * d + j]);
                }
            }
        }
    } else {
        std::unique_ptr<gsl_monte_miser_state, void (*)(gsl_monte_miser_state*)> state(
            gsl_monte_miser_alloc(d), gsl_monte_miser_free);
        if (!state) {
            throw std::bad_alloc();
        }
        run.status = gsl_monte_miser_integrate(&function, lower.data(), upper.data(), d,
                                               static_cast<std::size_t>(n), random.rng, state.get(),
                                               &run.value, &run.error);
    }
    scaled.caller.rethrow();
    run.value = std::ldexp(run.value, exponent);
    run.error = std::ldexp(run.error, exponent);
    run.evaluations = scaled.caller.f.evaluations();
    run.largest = scaled.largest;
    return run;
}

CubatureRow runGsl(CubatureMethod method, const CubeFunction& g, std::int64_t n, std::uint64_t seed,
                   CubatureTrace* trace) {
    quietGsl();
    GslRun run = gslOnce(method, g, n, seed, 0, trace);
    // The samplers square f's values for their variances: past about 1e150 those overflow,
    // and VEGAS then claims an error of 0, MISER none at all. The same draw with f scaled down
    // by a power of two keeps them finite.
    if (run.status == GSL_SUCCESS && run.largest > 0x1p500) {
        run = gslOnce(method, g, n, seed, std::ilogb(run.largest), trace);
    }
    const std::string name(cubatureMethodInfo(method).name);
    if (run.status != GSL_SUCCESS) {
        throw CubeFault(name + " failed: " + gsl_strerror(run.status));
    }
    if (!std::isfinite(run.value) || !std::isfinite(run.error)) {
        throw CubeFault(name + "'s estimate or its error is beyond the range of a double");
    }
    return statisticalRow(n, run.evaluations, run.value, run.error);
}

// The smallest size of each method in d dimensions.
std::int64_t smallestSize(CubatureMethod method, int d) {
    switch (method) {
        case CubatureMethod::ProductGauss:
            return 1;
        case CubatureMethod::SparseGrid:
            return 0;
        case CubatureMethod::AdaptiveCubature:
            return adaptiveRegionPoints(d);
        case CubatureMethod::MonteCarlo:
        case CubatureMethod::HitOrMiss:
            return 2;
        case CubatureMethod::Sobol:
            return 2;
        case CubatureMethod::Vegas:
        case CubatureMethod::Miser:
            // Below this GSL's samplers have too few calls per box to estimate a variance.
            return 64 * static_cast<std::int64_t>(d);
    }
    return 1;
}

}  // namespace

double CubeFunction::volume() const {
    return std::pow(upper_ - lower_, dimensions_);
}

void CountedFunction::fail(const double* x) const {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", x[0]);
    throw CubeFault(std::string("f has no finite value at a point with x1 = ") + text);
}

std::optional<CubatureMethod> cubatureMethodNamed(std::string_view name) {
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        if (std::equal(
                info.name.begin(), info.name.end(), name.begin(), name.end(),
                [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); })) {
            return info.method;
        }
    }
    return std::nullopt;
}

std::string cubatureMethodNames(std::string_view lastJoin) {
    std::string names;
    for (std::size_t i = 0; i < kCubatureMethods.size(); ++i) {
        if (i > 0) {
            names += i + 1 == kCubatureMethods.size() ? lastJoin : std::string_view(", ");
        }
        names += kCubatureMethods[i].name;
    }
    return names;
}

bool cubatureMethodSuits(CubatureMethod method, const CubeFunction& f) {
    return !cubatureMethodInfo(method).indicatorsOnly || f.indicator();
}

std::int64_t adaptiveRegionPoints(int dimensions) {
    if (dimensions == 1) {
        return 15;  // one-dimensional: Gauss-Kronrod 7-15
    }
    const std::int64_t d = dimensions;
    return 1 + 4 * d + 2 * d * (d - 1) + (std::int64_t{1} << d);
}

std::optional<std::int64_t> cubatureEvaluations(CubatureMethod method, int dimensions,
                                                std::int64_t n) {
    if (dimensions < 1 || dimensions > kMaxDimensions || n < smallestSize(method, dimensions)) {
        return std::nullopt;
    }
    switch (method) {
        case CubatureMethod::ProductGauss:
            if (n > kMaxPointsPerAxis) {
                return std::nullopt;
            }
            return productGaussEvaluations(dimensions, n);
        case CubatureMethod::SparseGrid: {
            if (n > 15) {
                return std::nullopt;
            }
            const std::int64_t points = sparseGridPoints(dimensions, static_cast<int>(n));
            if (points > kMaxSparseGridPoints) {
                return std::nullopt;
            }
            return points;
        }
        case CubatureMethod::Sobol:
            if ((n & (n - 1)) != 0 || n > kInt64Max / kShifts) {
                return std::nullopt;
            }
            return n * kShifts;
        case CubatureMethod::AdaptiveCubature:
        case CubatureMethod::MonteCarlo:
        case CubatureMethod::Vegas:
        case CubatureMethod::Miser:
        case CubatureMethod::HitOrMiss:
            return n;
    }
    return std::nullopt;
}

std::vector<std::int64_t> cubatureRows(CubatureMethod method, int dimensions, std::int64_t budget) {
    const CubatureMethodInfo& info = cubatureMethodInfo(method);
    std::vector<std::int64_t> rows;
    const auto fits = [&](std::int64_t size) {
        const std::optional<std::int64_t> cost = cubatureEvaluations(method, dimensions, size);
        return cost && *cost <= budget;
    };
    std::int64_t spent = 0;
    std::int64_t n = std::max(info.firstRow, smallestSize(method, dimensions));
    while (fits(n)) {
        rows.push_back(n);
        if (!info.rowsCount && n > kInt64Max / 2) {
            break;
        }
        if (!info.rowsCount) {
            n *= 2;
            continue;
        }
        // A row for every size costs the table about size / (d + 1) times the budget: past
        // kEveryRowEvaluations (a product rule at d = 3 and a budget of 1e8 would spend 1e10)
        // each row costs at least twice the one before, the last the largest within the budget.
        const std::int64_t cost = *cubatureEvaluations(method, dimensions, n);
        spent = cost > kInt64Max - spent ? kInt64Max : spent + cost;
        std::int64_t next = n + 1;
        if (spent > kEveryRowEvaluations) {
            while (fits(next + 1) && *cubatureEvaluations(method, dimensions, next) < 2 * cost) {
                ++next;
            }
        }
        n = next;
    }
    return rows;
}

std::optional<std::int64_t> largestCubatureSize(CubatureMethod method, int dimensions,
                                                std::int64_t budget) {
    const std::int64_t smallest = smallestSize(method, dimensions);
    const std::optional<std::int64_t> cost = cubatureEvaluations(method, dimensions, smallest);
    if (!cost || *cost > budget) {
        return std::nullopt;
    }
    switch (method) {
        case CubatureMethod::ProductGauss:
        case CubatureMethod::SparseGrid: {
            std::int64_t n = smallest;
            while (true) {
                const auto next = cubatureEvaluations(method, dimensions, n + 1);
                if (!next || *next > budget) {
                    return n;
                }
                ++n;
            }
        }
        case CubatureMethod::Sobol: {
            std::int64_t n = smallest;
            while (n <= kInt64Max / 2 && cubatureEvaluations(method, dimensions, 2 * n) &&
                   *cubatureEvaluations(method, dimensions, 2 * n) <= budget) {
                n *= 2;
            }
            return n;
        }
        case CubatureMethod::AdaptiveCubature:
        case CubatureMethod::MonteCarlo:
        case CubatureMethod::Vegas:
        case CubatureMethod::Miser:
        case CubatureMethod::HitOrMiss:
            return budget;
    }
    return std::nullopt;
}

CubatureRow runCubature(CubatureMethod method, const CubeFunction& f, std::int64_t n,
                        std::uint64_t seed, CubatureTrace* trace) {
    if (!cubatureEvaluations(method, f.dimensions(), n)) {
        throw std::invalid_argument("no such size of the method");
    }
    switch (method) {
        case CubatureMethod::ProductGauss:
            return runProductGauss(f, n);
        case CubatureMethod::SparseGrid:
            return runSparseGrid(f, n);
        case CubatureMethod::AdaptiveCubature:
            return runAdaptive(f, n, trace);
        case CubatureMethod::MonteCarlo:
            return runMonteCarlo(f, n, seed);
        case CubatureMethod::Sobol:
            return runSobol(f, n, seed);
        case CubatureMethod::Vegas:
        case CubatureMethod::Miser:
            return runGsl(method, f, n, seed, trace);
        case CubatureMethod::HitOrMiss:
            return runHitOrMiss(f, n, seed);
    }
    return {};
}

}  // namespace integral
