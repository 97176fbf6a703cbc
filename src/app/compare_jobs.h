// SPDX-License-Identifier: GPL-3.0-or-later
// The Compare window's work off the GUI thread: one method's table, a race, or the sweep behind
// the claims plot, with what it teaches analysed there too, so that the windows answer while a
// slow integrand or a large budget runs. One job at a time: asking for another while one runs
// stops that one, and the new one starts as soon as it has stopped, so a request is never
// dropped. Each job runs on its own copy of the model.
#pragma once

#include "app/background_jobs.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/convergence_plot.h"
#include "model/race.h"
#include "model/run_analysis.h"

namespace integral {

class CompareJobs : public BackgroundJobs {
    Q_OBJECT

  public:
    explicit CompareJobs(QObject* parent = nullptr);
    // Stops the job under way and waits for it: nothing it reports to may go first.
    ~CompareJobs() override;

    void runMethod(const Model& model, Method method);
    void runRace(const Model& model, std::int64_t budget, std::vector<Method> methods,
                 std::uint64_t seed);
    // The race at every budget of kSweepBudgets, then its picture of the methods' claimed and
    // true errors against the cost.
    void runClaimsPlot(const Model& model, std::vector<Method> methods, std::uint64_t seed);

    // The copy a job runs on: a typed integrand's expression is parsed anew, as the parser's
    // evaluator is not to be shared between threads.
    static Model copyForJob(const Model& model);

  signals:
    void methodRan(const integral::AnalysedRun& run);
    // A race, whole or as far as it got before it was stopped: `requested` methods were asked
    // for.
    void raced(const integral::Race& race, std::size_t requested);
    void plotted(const integral::ConvergencePlot& plot);
    // A plot stopped before its end: there is nothing to show.
    void plotStopped();
};

}  // namespace integral
