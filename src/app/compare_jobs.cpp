// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_jobs.h"

#include <iterator>
#include <utility>

#include "integrands/typed_expression.h"

namespace integral {

CompareJobs::CompareJobs(QObject* parent) : BackgroundJobs(parent) {}

CompareJobs::~CompareJobs() {
    stopAndWait();
}

Model CompareJobs::copyForJob(const Model& model) {
    Model copy = model;
    if (const TypedExpression* expression = copy.integrand().expression()) {
        auto parsed = TypedExpression::parse(expression->text());
        if (auto* own = std::get_if<std::shared_ptr<const TypedExpression>>(&parsed)) {
            copy.chooseExpression(*own);
        }
    }
    return copy;
}

void CompareJobs::runMethod(const Model& model, Method method) {
    start([this, method, copy = copyForJob(model)](const std::atomic<bool>& stop,
                                                   const Progress&) mutable {
        AnalysedRun run = analysed(copy.run(method));
        // A run asked to stop is no longer waited for: its rows are not shown.
        if (stop.load()) {
            return std::function<void()>();
        }
        return std::function<void()>([this, run = std::move(run)] { emit methodRan(run); });
    });
}

void CompareJobs::runRace(const Model& model, std::int64_t budget, std::vector<Method> methods,
                          std::uint64_t seed) {
    start([this, budget, methods = std::move(methods), seed, copy = copyForJob(model)](
              const std::atomic<bool>&, const Progress& progress) {
        Race result = race(copy, budget, methods, progress, seed);
        // A race that was stopped still shows the methods it ran, and says that it stopped.
        return std::function<void()>(
            [this, requested = methods.size(), result = std::move(result)] {
                emit raced(result, requested);
            });
    });
}

void CompareJobs::runClaimsPlot(const Model& model, std::vector<Method> methods,
                                std::uint64_t seed) {
    start([this, methods = std::move(methods), seed, copy = copyForJob(model)](
              const std::atomic<bool>&, const Progress& progress) {
        const Sweep swept = sweep(copy, kSweepBudgets, methods, progress, seed);
        if (swept.races.front().entries.size() < methods.size()) {
            return std::function<void()>([this] { emit plotStopped(); });
        }
        return std::function<void()>([this, plot = sweepPlot(swept)] { emit plotted(plot); });
    });
}

}  // namespace integral
