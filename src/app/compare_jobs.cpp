// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_jobs.h"

#include <QtConcurrent/QtConcurrentRun>
#include <iterator>
#include <utility>

#include "integrands/typed_expression.h"
#include "runtime/stop_request.h"

namespace integral {

CompareJobs::CompareJobs(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcherBase::finished, this, &CompareJobs::finished);
}

CompareJobs::~CompareJobs() {
    waiting_.reset();
    if (stop_) {
        stop_->store(true);
    }
    watcher_.disconnect(this);
    watcher_.waitForFinished();
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

bool CompareJobs::busy() const {
    return launched_ || waiting_.has_value();
}

void CompareJobs::stop() {
    waiting_.reset();
    if (stop_) {
        stop_->store(true);
    }
}

void CompareJobs::start(Work work) {
    if (launched_) {
        // The new job waits for the old one to stop; only the latest asked for is kept.
        stop_->store(true);
        waiting_ = std::move(work);
        return;
    }
    launch(std::move(work));
    emit busyChanged(true);
}

void CompareJobs::launch(Work work) {
    launched_ = true;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    const std::uint64_t job = ++job_;
    // Called on the job's thread: the news crosses to the GUI thread queued, and is dropped
    // there once a newer job has started.
    Progress progress = [this, job, stop](std::size_t done, std::size_t total) {
        QMetaObject::invokeMethod(
            this,
            [this, job, done, total] {
                if (job == job_) {
                    emit progressed(done, total);
                }
            },
            Qt::QueuedConnection);
        return !stop->load();
    };
    watcher_.setFuture(
        QtConcurrent::run([work = std::move(work), stop, progress = std::move(progress)] {
            // Every evaluation of f looks at the request: Esc stops even a slow integrand at
            // once, inside a method as between two.
            const StopScope scope(*stop);
            try {
                return work(*stop, progress);
            } catch (const StopRequested&) {
                return std::function<void()>();
            }
        }));
}

void CompareJobs::finished() {
    launched_ = false;
    const std::function<void()> report = watcher_.result();
    if (waiting_) {
        Work next = std::move(*waiting_);
        waiting_.reset();
        launch(std::move(next));
    }
    if (report) {
        report();
    }
    if (!busy()) {
        emit busyChanged(false);
    }
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
