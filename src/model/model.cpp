// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include <memory>
#include <new>
#include <utility>

#include "canvas/plot_operations.h"
#include "quadrature/evaluation_observer.h"
#include "quadrature/gauss_table.h"
#include "quadrature/results_panel.h"
#include "runtime/text_to_number.h"

namespace integral {

namespace {

// Runs one action; a fault, or memory running out, ends it where it arose.
template <typename Action>
Outcome attempt(FaultReport context, Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const RuntimeError& error) {
        context.fault = error.fault();
        context.x = error.argument();
        return context;
    } catch (const std::bad_alloc&) {
        context.fault = Fault::OutOfMemory;
        return context;
    }
    return std::nullopt;
}

}  // namespace

Model::Model() : node_(makeGaussArray()), weight_(makeGaussArray()) {}

void Model::chooseExpression(std::shared_ptr<const TypedExpression> expression) {
    chosen_ = IntegrandDescriptor(std::move(expression));
}

void Model::chooseIntegrand(int row) {
    chosen_ = IntegrandDescriptor(Variant::integer(static_cast<std::int16_t>(row + 1)));
}

FaultReport Model::context(Activity activity) const {
    FaultReport report;
    report.activity = activity;
    report.integrand = chosen_;
    report.lower = x1_.toDouble();
    report.upper = x2_.toDouble();
    return report;
}

Outcome Model::enterLower(std::string_view text) {
    return attempt(context(Activity::EnteringLimit),
                   [&] { setLower(Variant::real(numericValue(text))); });
}

Outcome Model::enterUpper(std::string_view text) {
    return attempt(context(Activity::EnteringLimit),
                   [&] { setUpper(Variant::real(numericValue(text))); });
}

void Model::setUpper(const Variant& value) {
    x2_ = value;
    // An Empty lower limit counts as 0, so a negative upper limit alone becomes the lower one.
    if (x2_ < x1_) {
        std::swap(x1_, x2_);
    }
}

void Model::setHeight(float y) {
    ymax_ = Variant::single(y);
}

namespace {

// The generator as each row of a statistical run found it, so that a view can replay the row's
// very samples later instead of keeping them.
class RowStarts : public EvaluationObserver {
  public:
    explicit RowStarts(const RandomGenerator& random) : random_(random) {}
    void rowStarted(std::int64_t) override { starts_->push_back(random_); }
    bool wantsEvaluations() const override { return false; }
    std::shared_ptr<std::vector<RandomGenerator>> starts() const { return starts_; }

  private:
    const RandomGenerator& random_;
    std::shared_ptr<std::vector<RandomGenerator>> starts_ =
        std::make_shared<std::vector<RandomGenerator>>();
};

}  // namespace

MethodRun Model::run(Method method) {
    ResultsPanel panel;
    const Integrand f(chosen_);
    FaultReport where = context(Activity::Running);
    where.method = method;
    const NumericalMethod& numerical = methodOf(method);
    MethodState state{x1_, x2_, ymax_, &hits_, &node_, &weight_, &random_};
    std::shared_ptr<std::vector<RandomGenerator>> starts;
    Outcome fault = attempt(where, [&] {
        if (numerical.statistical()) {
            RowStarts observer(random_);
            starts = observer.starts();
            numerical.run(f, state, panel, &observer);
        } else {
            numerical.run(f, state, panel, nullptr);
        }
    });
    if (fault) {
        fault->rowCounter = rowCounter(method, static_cast<int>(panel.rows().size()));
    }
    // Moved, not copied: after memory ran out, a copy could fail again.
    return {.method = method,
            .rows = std::move(panel).rows(),
            .summary = std::move(panel).summary(),
            .fault = std::move(fault),
            .figures = std::move(panel).figures(),
            .integrand = chosen_,
            .x1 = x1_,
            .x2 = x2_,
            .ymax = ymax_,
            .rowStarts = std::move(starts)};
}

Model::SizedRun Model::runAt(Method method, std::int64_t n) {
    FaultReport where = context(Activity::Running);
    where.method = method;
    MethodState state{x1_, x2_, ymax_, &hits_, &node_, &weight_, &random_};
    SizedRun result;
    result.fault =
        attempt(where, [&] { result.row = methodOf(method).runAt(Integrand(chosen_), state, n); });
    return result;
}

Model::SizedRun Model::runWithin(Method method, std::int64_t budget) {
    FaultReport where = context(Activity::Running);
    where.method = method;
    MethodState state{x1_, x2_, ymax_, &hits_, &node_, &weight_, &random_};
    SizedRun result;
    result.fault = attempt(
        where, [&] { result.row = methodOf(method).runWithin(Integrand(chosen_), state, budget); });
    return result;
}

Outcome Model::ShadeArea(CanvasSurface& surface) const {
    return attempt(context(Activity::Shading),
                   [&] { integral::ShadeArea(surface, Integrand(chosen_), x1_, x2_); });
}

Outcome Model::DrawBox(CanvasSurface& surface) const {
    return attempt(context(Activity::DrawingBox),
                   [&] { integral::DrawBox(surface, x1_, x2_, ymax_); });
}

Outcome Model::Graph(CanvasSurface& surface, CurveGaps* gaps) const {
    return attempt(context(Activity::Plotting), [&] {
        if (chosen_.expression() != nullptr) {
            const CurveGaps drawn = drawGraphWithGaps(surface, Integrand(chosen_));
            if (gaps != nullptr) {
                *gaps = drawn;
            }
            return;
        }
        drawGraph(surface, Integrand(chosen_));
    });
}

}  // namespace integral
