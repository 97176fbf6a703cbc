// SPDX-License-Identifier: GPL-3.0-or-later
// The three methods on arbitrary limits, box height and integrand, given to the model as a user
// would: never a crash; every row is a counter, three spaces and an estimate of its method's
// shape; a run either completes with all its rows and a summary, or stops on a fault with fewer
// rows and no summary. Monte Carlo runs the table itself with a few small rows.
#include <cmath>
#include <string>

#include "fuzz_checks.h"
#include "fuzz_model.h"
#include "integrands/integrand_descriptor.h"
#include "model/model.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "runtime/random_generator.h"
#include "runtime/variant.h"

namespace {

using integral::Variant;
using integral::fuzz::check;
using integral::fuzz::matches;

// A limit as the window can hold it: Empty, or a finite double.

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
    const auto method = static_cast<integral::Method>(bytes.take<std::uint8_t>() % 3);
    integral::Model model = integral::fuzz::modelFrom(bytes);

    integral::ResultsPanel panel;
    bool faulted = false;
    std::size_t fullRows = static_cast<std::size_t>(integral::methodInfo(method).rows);
    if (method != integral::Method::MonteCarlo) {
        const integral::MethodRun run = model.run(method);
        for (const std::string& row : run.rows) {
            const std::size_t gap = row.find("   ");
            panel.addRow(row.substr(0, gap), gap == std::string::npos ? "" : row.substr(gap + 3));
        }
        faulted = run.fault.has_value();
        if (run.summary) {
            check(!faulted, "no summary after a fault");
            check(run.summary->rfind("S = ", 0) == 0, "summary prefix", *run.summary);
            check(matches(run.summary->substr(4), integral::fuzz::summaryShape()), "summary shape",
                  *run.summary);
        }
        check(faulted != run.summary.has_value(), "a summary exactly when the run completed");
    } else {
        // A few small rows instead of 650 000 samples keep each input fast.
        const integral::SampleCounts counts{1 + bytes.take<std::uint8_t>() % 16, 60,
                                            1 + bytes.take<std::uint8_t>() % 16};
        fullRows = static_cast<std::size_t>((counts.last - counts.first) / counts.step + 1);
        integral::RandomGenerator random;
        Variant hits;
        try {
            const integral::IntegrandDescriptor f(model.fnum());
            integral::monteCarloTable(f, model.x1(), model.x2(), model.ymax(), hits, random, panel,
                                      counts);
        } catch (const integral::RuntimeError&) {
            faulted = true;
        }
        check(faulted != panel.summary().has_value(), "a summary exactly when the run completed");
    }

    if (faulted) {
        check(panel.rows().size() < fullRows, "a fault stops the table early");
    } else {
        check(panel.rows().size() == fullRows, "a complete run has every row");
    }
    if (method == integral::Method::Gauss) {
        checkRows(panel, integral::fuzz::plainShape(), integral::fuzz::plainShape());
    } else {
        checkRows(panel, integral::fuzz::counterShape(), integral::fuzz::estimateShape());
    }
    return 0;
}
