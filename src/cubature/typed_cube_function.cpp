// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/typed_cube_function.h"

#include <boost/random/sobol.hpp>

#include <cubature.h>

#include <cmath>
#include <exception>
#include <limits>
#include <vector>

namespace integral {

TypedCubeFunction::TypedCubeFunction(std::shared_ptr<const TypedExpression> expression,
                                     double lower, double upper)
    : CubeFunction(expression->variables(), lower, upper), expression_(std::move(expression)) {}

const char* noReferenceText(NoReference reason) {
    switch (reason) {
        case NoReference::NotFinite:
            return "f has no finite value at a point of the cube";
        case NoReference::NotConverged:
            return "the adaptive cubature did not reach its tolerance within its evaluations";
    }
    return "";
}

namespace {

struct Call {
    CountedFunction f;
    bool finite = true;
    std::exception_ptr thrown;
};

// After a fault every value is NaN, which hcubature counts as converged, so that it stops at
// its next test: a nonzero return would stop it too, but leaks the regions it holds.
int referenceCall(unsigned, const double* x, void* data, unsigned, double* value) {
    auto* call = static_cast<Call*>(data);
    *value = std::numeric_limits<double>::quiet_NaN();
    if (!call->finite || call->thrown) {
        return 0;
    }
    try {
        *value = call->f(x);
    } catch (const CubeFault&) {
        call->finite = false;
    } catch (...) {
        call->thrown = std::current_exception();
    }
    return 0;
}

// What f's own rounding may cost its integral where f loses most of its digits to
// cancellation ((1+x1)^2 - 1 near 0, computed as 0): the mean of how far the rounding of its
// functions and operators moves f, over Sobol points, times the volume, twice. Elsewhere an
// ulp or two of f is within the rule's own error already, and nothing is added.
double cancellationFloor(const CubeFunction& f) {
    constexpr int kPoints = 4096;
    constexpr double kLost = 1e8;  // half of a double's digits
    const auto d = static_cast<std::size_t>(f.dimensions());
    boost::random::sobol engine(static_cast<unsigned>(d));
    std::vector<std::uint64_t> bits(d);
    std::vector<double> x(d);
    double moved = 0.0;
    int lossy = 0;
    for (int i = 0; i < kPoints; ++i) {
        engine.generate(bits.begin(), bits.end());
        for (std::size_t k = 0; k < d; ++k) {
            x[k] = f.lower() +
                   (f.upper() - f.lower()) * (static_cast<double>(bits[k] >> 11) + 0.5) * 0x1p-53;
        }
        const double by = f.roundingAt(x.data());
        const double value = f(x.data());
        if (!std::isfinite(by) || !std::isfinite(value)) {
            continue;
        }
        moved += by;
        if (by > kLost * std::numeric_limits<double>::epsilon() * std::fabs(value)) {
            ++lossy;
        }
    }
    if (lossy < kPoints / 100) {
        return 0.0;
    }
    return 2.0 * moved / kPoints * f.volume();
}

}  // namespace

CubeReference cubeReference(const CubeFunction& f) {
    Call call{CountedFunction(f), true, nullptr};
    const auto d = static_cast<std::size_t>(f.dimensions());
    const std::vector<double> lower(d, f.lower());
    const std::vector<double> upper(d, f.upper());
    double value = 0.0;
    double error = 0.0;
    // An absolute tolerance scaled to the cube, so that an integral of 0 can converge too.
    const double absolute = kReferenceTolerance * 1e-3 * f.volume();
    const int status = hcubature(1, referenceCall, &call, static_cast<unsigned>(d), lower.data(),
                                 upper.data(), kReferenceEvaluations, absolute, kReferenceTolerance,
                                 ERROR_INDIVIDUAL, &value, &error);
    if (call.thrown) {
        std::rethrow_exception(call.thrown);
    }
    CubeReference reference;
    reference.evaluations = call.f.evaluations();
    if (!call.finite) {
        reference.absent = NoReference::NotFinite;
        return reference;
    }
    // The library stops at its evaluation limit whether or not it converged: only an error
    // estimate within the tolerance is taken as one.
    if (status != 0 || !std::isfinite(value) || !std::isfinite(error) ||
        error > std::max(10 * kReferenceTolerance * std::fabs(value), 10 * absolute)) {
        reference.absent = NoReference::NotConverged;
        return reference;
    }
    reference.value = value;
    reference.uncertainty =
        std::max(error, 4 * std::numeric_limits<double>::epsilon() * std::fabs(value)) +
        cancellationFloor(f);
    return reference;
}

}  // namespace integral
