// The three tables on arbitrary limits, box height and integrand: never a crash; every row is
// a counter, three spaces and an estimate of its method's shape; a run either completes with
// all its rows and a summary, or stops on a fault with fewer rows and no summary.
#include <cmath>
#include <string>

#include "fuzz_checks.h"
#include "integrands/integrand_catalogue.h"
#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "quadrature/zelbrin_table.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"

namespace {

using integral::Variant;
using integral::fuzz::check;
using integral::fuzz::matches;

// A limit as the window can hold it: Empty, or a finite double.
Variant limit(integral::fuzz::Bytes& bytes) {
    const double value = bytes.take<double>();
    return std::isfinite(value) ? Variant::real(value) : Variant();
}

void checkRows(const integral::ResultsPanel& panel, const std::regex& counter,
               const std::regex& estimate) {
    for (const std::string& row : panel.rows()) {
        check(integral::fuzz::noInfOrNan(row), "no inf or nan in a row", row);
        const std::size_t gap = row.find("   ");
        check(gap != std::string::npos, "three spaces in a row", row);
        check(matches(row.substr(0, gap), counter), "counter shape", row);
        check(matches(row.substr(gap + 3), estimate), "estimate shape", row);
    }
    if (panel.summary()) {
        const std::string& summary = *panel.summary();
        check(summary.rfind("S = ", 0) == 0, "summary prefix", summary);
        check(matches(summary.substr(4), integral::fuzz::summaryShape()), "summary shape", summary);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    integral::fuzz::Bytes bytes(data, size);
    const auto method = bytes.take<std::uint8_t>() % 3;
    const Variant fnum =
        Variant::integer(static_cast<std::int16_t>(bytes.take<std::uint8_t>() % 7));
    Variant x1 = limit(bytes);
    Variant x2 = limit(bytes);
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    const float height = bytes.take<float>();
    const Variant ymax = std::isfinite(height) ? Variant::single(height) : Variant();
    auto f = [&fnum](const Variant& x) { return integral::evaluateIntegrand(fnum, x); };

    integral::ResultsPanel panel;
    bool faulted = false;
    std::size_t fullRows = 0;
    try {
        if (method == 0) {
            fullRows = 10;
            integral::zelbrinTable(f, x1, x2, panel);
        } else if (method == 1) {
            fullRows = 5;
            integral::VariantArray node = integral::makeGaussArray();
            integral::VariantArray weight = integral::makeGaussArray();
            integral::gaussTable(f, x1, x2, node, weight, panel);
        } else {
            // A few small rows instead of 650 000 samples keep each input fast.
            const integral::SampleCounts counts{1 + bytes.take<std::uint8_t>() % 16, 60,
                                                1 + bytes.take<std::uint8_t>() % 16};
            fullRows = static_cast<std::size_t>((counts.last - counts.first) / counts.step + 1);
            integral::RandomGenerator random;
            Variant hits;
            integral::monteCarloTable(f, x1, x2, ymax, hits, random, panel, counts);
        }
    } catch (const integral::RuntimeError&) {
        faulted = true;
    }

    if (faulted) {
        check(!panel.summary().has_value(), "no summary after a fault");
        check(panel.rows().size() < fullRows, "a fault stops the table early");
    } else {
        check(panel.summary().has_value(), "a summary after a complete run");
        check(panel.rows().size() == fullRows, "a complete run has every row");
    }
    if (method == 1) {
        checkRows(panel, integral::fuzz::plainShape(), integral::fuzz::plainShape());
    } else {
        checkRows(panel, integral::fuzz::counterShape(), integral::fuzz::estimateShape());
    }
    return 0;
}
