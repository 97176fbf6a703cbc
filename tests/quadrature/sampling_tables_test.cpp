// SPDX-License-Identifier: GPL-3.0-or-later
// The statistical methods beside hit-or-miss: the sigma each row claims is the spread that
// repeated rows show, their rows lie within a few sigma of the integral, and Sobol's points
// beat independent ones on a smooth integrand.
#include "quadrature/sampling_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "integrands/integrand_descriptor.h"
#include "model/model.h"
#include "model/run_analysis.h"

namespace integral {
namespace {

using Table = void (*)(Integrand, const Variant&, const Variant&, RandomGenerator&, ResultsPanel&,
                       EvaluationObserver*, std::int64_t);

struct SamplingCase {
    const char* name;
    Table table;
    std::int64_t counter;
};

// x sin x on 0..3, one row repeated 60 times from one generator: the standard deviation of
// the estimates against the mean of the claimed sigmas.
TEST(SamplingTablesTest, SigmaIsTheSpreadOfRepeatedRows) {
    const IntegrandDescriptor f(Variant::integer(4));
    for (const SamplingCase& c : std::vector<SamplingCase>{{"mean-value", meanValueTable, 2000},
                                                           {"stratified", stratifiedTable, 2000},
                                                           {"sobol", sobolTable, 128}}) {
        SCOPED_TRACE(c.name);
        RandomGenerator random;
        constexpr int kRepeats = 60;
        std::vector<double> estimates;
        double claimed = 0.0;
        for (int k = 0; k < kRepeats; ++k) {
            ResultsPanel panel;
            c.table(f, Variant::real(0), Variant::real(3), random, panel, nullptr, c.counter);
            ASSERT_EQ(panel.figures().size(), 1u);
            estimates.push_back(panel.figures()[0].estimate);
            claimed += *panel.figures()[0].sigma / kRepeats;
        }
        double mean = 0.0;
        for (const double e : estimates) {
            mean += e / kRepeats;
        }
        double squares = 0.0;
        for (const double e : estimates) {
            squares += (e - mean) * (e - mean);
        }
        const double spread = std::sqrt(squares / (kRepeats - 1));
        // 60 repeats tell a standard deviation to about 10 %; the bounds leave three of that.
        EXPECT_GT(spread / claimed, 0.7);
        EXPECT_LT(spread / claimed, 1.3);
        EXPECT_LT(std::fabs(mean - 3.1110974978612035939), 4 * claimed / std::sqrt(kRepeats));
    }
}

// Every row within four sigma of the integral, a sigma that is never 0, and the slope of the
// errors: near -1/2 for independent samples, steeper for stratified and Sobol's points.
TEST(SamplingTablesTest, RowsLieWithinTheirSigmaAndSobolFallsFaster) {
    for (const Method method : {Method::MeanValue, Method::Stratified, Method::Sobol}) {
        SCOPED_TRACE(std::string(methodInfo(method).name));
        Model model;
        model.chooseIntegrand(1);
        model.setLower(Variant::real(0));
        model.setUpper(Variant::real(1));
        const RunAnalysis analysis = analyse(model.run(method));
        ASSERT_EQ(analysis.rows.size(), static_cast<std::size_t>(methodInfo(method).rows));
        for (const RowAnalysis& row : analysis.rows) {
            ASSERT_TRUE(row.sigma.has_value());
            EXPECT_GT(*row.sigma, 0.0);
            ASSERT_TRUE(row.sigmasFromLimit.has_value());
            EXPECT_LT(std::fabs(*row.sigmasFromLimit), 4.0) << row.counter;
            EXPECT_EQ(*row.estimatedError, 2 * *row.sigma);
        }
        ASSERT_TRUE(analysis.observedSlope.has_value());
        if (method == Method::Sobol) {
            EXPECT_LT(*analysis.observedSlope, -0.75);
        }
    }
}

}  // namespace
}  // namespace integral
