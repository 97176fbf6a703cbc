// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/row_replay.h"

#include <new>

#include "quadrature/evaluation_observer.h"
#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"

namespace integral {

namespace {

// Keeps the evaluations of one row, the row-th to start.
class OneRow : public EvaluationObserver {
  public:
    explicit OneRow(std::size_t row) : wanted_(row) {}

    void rowStarted(std::int64_t counter) override {
        ++started_;
        if (current()) {
            result_.counter = counter;
        }
    }
    void evaluated(double x, double fx, double weight) override {
        if (current()) {
            result_.points.push_back({x, fx, weight, 0.0, false});
        }
    }
    void sampled(double x, double y, double fx, bool hit) override {
        if (current()) {
            result_.points.push_back({x, fx, 0.0, y, hit});
        }
    }

    bool reached() const { return started_ > wanted_; }
    RowPoints take() { return std::move(result_); }

  private:
    bool current() const { return started_ == wanted_ + 1; }

    std::size_t wanted_;
    std::size_t started_ = 0;
    RowPoints result_;
};

}  // namespace

void runAgain(const MethodRun& run, EvaluationObserver& observer) {
    ResultsPanel scratch;
    VariantArray node = makeGaussArray();
    VariantArray weight = makeGaussArray();
    Variant hits;
    RandomGenerator random;
    MethodState state{run.x1, run.x2, run.ymax, &hits, &node, &weight, &random};
    methodOf(run.method).run(Integrand(run.integrand), state, scratch, &observer);
}

std::optional<RowPoints> replayRow(const MethodRun& run, std::size_t row) {
    if (row >= run.rows.size()) {
        return std::nullopt;
    }
    const NumericalMethod& method = methodOf(run.method);
    OneRow observer(method.statistical() ? 0 : row);
    try {
        if (method.statistical()) {
            if (!run.rowStarts || row >= run.rowStarts->size()) {
                return std::nullopt;
            }
            // That row alone, from the generator as the row found it.
            RandomGenerator random = (*run.rowStarts)[row];
            Variant hits;
            ResultsPanel scratch;
            VariantArray node = makeGaussArray();
            VariantArray weight = makeGaussArray();
            MethodState state{run.x1, run.x2, run.ymax, &hits, &node, &weight, &random};
            method.runRow(Integrand(run.integrand), state, run.figures[row].counter, scratch,
                          &observer);
        } else {
            runAgain(run, observer);
        }
    } catch (const RuntimeError&) {
        // A row the run completed completes again; a later fault ends what is not wanted.
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!observer.reached()) {
        return std::nullopt;
    }
    return observer.take();
}

}  // namespace integral
