// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dimensions_plots.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "cubature/sparse_grid.h"
#include "runtime/short_number.h"

namespace integral {

namespace {

bool plottable(double value) {
    return std::isfinite(value) && value > 0.0;
}

std::string methodName(CubatureMethod method) {
    return std::string(cubatureMethodInfo(method).name);
}

// Decades around what is drawn on each logarithmic axis; the words instead where nothing is.
void frame(DimensionsPlot& plot) {
    std::vector<double> xs;
    std::vector<double> ys;
    for (const DimensionsSeries& s : plot.series) {
        for (const std::vector<PlotPoint>* points : {&s.points, &s.claimed}) {
            for (const PlotPoint& p : *points) {
                xs.push_back(p.x);
                ys.push_back(p.y);
            }
        }
    }
    if (ys.empty()) {
        plot.nothingToPlot =
            "Nothing to plot: no method has a figure that a logarithmic axis "
            "can show.";
    }
    if (plot.xLogarithmic) {
        plot.x = decadesAround(xs);
    }
    plot.y = decadesAround(ys);
}

}  // namespace

DimensionsPlot errorCostPlot(const std::vector<CubatureSweep>& sweeps,
                             const DimensionsTruth& truth) {
    DimensionsPlot plot;
    plot.title = "Error against cost: |error| (solid) and each method's own estimate (dashed)";
    plot.xLabel = "evaluations of f (log scale)";
    plot.yLabel = "|estimate - exact| (log scale)";
    if (!truth.value) {
        plot.notes.push_back("No true errors: " + truth.absent + "; only the own estimates.");
    } else if (!truth.exact) {
        plot.yLabel = "|estimate - reference| (log scale)";
    }
    for (const CubatureSweep& sweep : sweeps) {
        DimensionsSeries s;
        s.method = sweep.method;
        bool zero = false;
        for (const CubatureRow& row : sweep.rows) {
            const auto x = static_cast<double>(row.evaluations);
            if (truth.value) {
                const double error = std::fabs(row.estimate - *truth.value);
                // Below the reference's own uncertainty an error says nothing.
                if (error == 0.0 || (truth.uncertainty && error <= *truth.uncertainty)) {
                    zero = true;
                } else if (plottable(x) && plottable(error)) {
                    s.points.push_back({x, error});
                }
            }
            if (row.estimatedError && plottable(x) && plottable(*row.estimatedError)) {
                s.claimed.push_back({x, *row.estimatedError});
            }
        }
        if (zero) {
            plot.notes.push_back(methodName(sweep.method) +
                                 ": some errors are not plotted, as they are 0 or within the "
                                 "reference's own uncertainty.");
        }
        if (sweep.rows.empty()) {
            plot.notes.push_back(methodName(sweep.method) +
                                 ": the first row of its table costs more than the budget.");
        }
        plot.series.push_back(std::move(s));
    }
    frame(plot);
    return plot;
}

std::optional<DimensionsPlot> sweepInDimensions(const ManyDimensionsInputs& inputs,
                                                const DimensionsIntegrand& integrand,
                                                const DimensionsTruth& truth,
                                                const DimensionsProgress& progress) {
    std::vector<CubatureSweep> sweeps;
    std::string fault;
    const std::vector<CubatureMethod> methods = dimensionsMethods(inputs);
    for (std::size_t i = 0; i < methods.size(); ++i) {
        try {
            auto one = sweepCubature(*integrand.f, inputs.budget, inputs.seed, {methods[i]});
            sweeps.insert(sweeps.end(), one.begin(), one.end());
        } catch (const CubeFault& error) {
            fault = methodName(methods[i]) + ": " + error.what();
            break;
        }
        if (progress && !progress(i + 1, methods.size())) {
            return std::nullopt;
        }
    }
    DimensionsPlot plot = errorCostPlot(sweeps, truth);
    if (!fault.empty()) {
        plot.notes.push_back("The sweep ended on a fault of f: " + fault + ".");
    }
    return plot;
}

std::optional<DimensionsPlot> cursePlot(const ManyDimensionsInputs& inputs,
                                        const DimensionsProgress& progress) {
    DimensionsPlot plot;
    plot.title = "The curse of dimensionality: evaluations for a relative error of " +
                 shortNumber(kCurseTolerance) + ", d = 1 to " + std::to_string(kCurseDimensions);
    plot.xLabel = "dimensions d";
    plot.yLabel = "evaluations of f (log scale)";
    plot.xLogarithmic = false;
    plot.xLow = 1;
    plot.xHigh = kCurseDimensions;
    if (!inputs.family) {
        plot.nothingToPlot =
            "The curse plot changes d, so it needs one of the families: a typed f has its d "
            "fixed by its variables.";
        return plot;
    }
    const std::vector<CubatureMethod> methods = dimensionsMethods(inputs);
    const std::size_t total = methods.size() * static_cast<std::size_t>(kCurseDimensions);
    for (std::size_t m = 0; m < methods.size(); ++m) {
        const CubatureMethod method = methods[m];
        DimensionsSeries s;
        s.method = method;
        bool suits = true;
        for (int d = 1; d <= kCurseDimensions; ++d) {
            ManyDimensionsInputs at = inputs;
            at.dimensions = d;
            auto made = integrandOf(at);
            auto* integrand = std::get_if<DimensionsIntegrand>(&made);
            if (integrand == nullptr) {
                plot.nothingToPlot = std::get<std::string>(made);
                return plot;
            }
            if (!cubatureMethodSuits(method, *integrand->f)) {
                suits = false;
                break;
            }
            const double exact = exactIntegral(*integrand->parameters);
            // Relative where the integral is not 0; absolute where it is.
            const double goal = kCurseTolerance * (exact != 0.0 ? std::fabs(exact) : 1.0);
            std::optional<std::int64_t> reached;
            try {
                for (const std::int64_t n : cubatureRows(method, d, kCurseEvaluations)) {
                    const CubatureRow row = runCubature(method, *integrand->f, n, inputs.seed);
                    // The method must know it too: a statistical estimate that lands near
                    // the integral by luck, its sigma still wide, has not reached the goal.
                    if (std::fabs(row.estimate - exact) <= goal && row.estimatedError &&
                        *row.estimatedError <= goal) {
                        reached = row.evaluations;
                        break;
                    }
                }
            } catch (const CubeFault&) {
                // f has no value at a point: the goal is not reached, and the note says why.
                plot.notes.push_back(methodName(method) + " at d = " + std::to_string(d) +
                                     ": f had no finite value at a point it needed.");
            }
            if (reached) {
                s.points.push_back({static_cast<double>(d), static_cast<double>(*reached)});
            } else {
                s.notReachedAt.push_back(static_cast<double>(d));
            }
            const std::size_t done =
                m * static_cast<std::size_t>(kCurseDimensions) + static_cast<std::size_t>(d);
            if (progress && !progress(done, total)) {
                return std::nullopt;
            }
        }
        if (!suits) {
            plot.notes.push_back(methodName(method) +
                                 " counts hits, so it integrates only the ball.");
            continue;
        }
        plot.series.push_back(std::move(s));
    }
    const bool anyMissed = std::any_of(plot.series.begin(), plot.series.end(),
                                       [](const auto& s) { return !s.notReachedAt.empty(); });
    if (anyMissed) {
        plot.notes.push_back("Hollow markers stacked down from the top: not reached within " +
                             std::to_string(kCurseEvaluations) + " evaluations.");
    }
    frame(plot);
    // The top holds the markers of goals not reached: the axis always reaches the cap.
    plot.y.high = std::max(plot.y.high, static_cast<int>(std::log10(kCurseEvaluations)));
    plot.y.low = std::min(plot.y.low, 0);
    plot.y.step = std::max(1, (plot.y.high - plot.y.low + kMaxTicks - 2) / (kMaxTicks - 1));
    plot.nothingToPlot.reset();
    if (plot.series.empty()) {
        plot.nothingToPlot = "No method that suits this family was chosen.";
    }
    return plot;
}

namespace {

// f as the picture's run sees it: every point the method evaluates passes by, and those the
// picture shows (every `every`-th of the first `first`) are projected on two axes and kept once
// each. With `latest`, only the last `latest` of them are kept, the older giving way. A product
// grid's projection is every pair of its values on the two axes: with `axesOnly`, only those
// values are kept, a few hundred at most, and the picture is made from them.
class ProjectingFunction : public CubeFunction {
  public:
    ProjectingFunction(const CubeFunction& f, int axisX, int axisY, std::int64_t first,
                       std::int64_t every, std::size_t latest, bool axesOnly)
        : CubeFunction(f.dimensions(), f.lower(), f.upper()),
          f_(f),
          axisX_(axisX),
          axisY_(axisY),
          first_(first),
          every_(every),
          latest_(std::min(latest, kMostPicturePoints)),
          axesOnly_(axesOnly) {}

    double operator()(const double* x) const override {
        const std::int64_t index = calls_++;
        if (axesOnly_ && index < first_) {
            ++shown_;
            valuesX_.insert(x[axisX_]);
            valuesY_.insert(x[axisY_]);
            return f_(x);
        }
        if (index < first_ && index % every_ == 0) {
            if (latest_ > 0) {
                if (ring_.size() < latest_) {
                    ring_.emplace_back(x[axisX_], x[axisY_]);
                } else {
                    ring_[static_cast<std::size_t>(shown_) % latest_] = {x[axisX_], x[axisY_]};
                }
                ++shown_;
                return f_(x);
            }
            ++shown_;
            const std::pair<double, double> place{x[axisX_], x[axisY_]};
            if (places_.size() < kMostPicturePoints) {
                places_.insert(place);
            } else if (!cut_ && places_.find(place) == places_.end()) {
                cut_ = true;
            }
        }
        return f_(x);
    }
    bool indicator() const override { return f_.indicator(); }

    // After the run.
    void settle() {
        if (latest_ > 0) {
            places_.insert(ring_.begin(), ring_.end());
            shown_ = static_cast<std::int64_t>(ring_.size());
        }
    }
    const std::set<std::pair<double, double>>& places() const { return places_; }
    const std::set<double>& valuesX() const { return valuesX_; }
    const std::set<double>& valuesY() const { return valuesY_; }
    std::int64_t shown() const { return shown_; }
    bool cut() const { return cut_; }

  private:
    const CubeFunction& f_;
    int axisX_;
    int axisY_;
    std::int64_t first_;
    std::int64_t every_;
    std::size_t latest_;
    bool axesOnly_;
    mutable std::set<double> valuesX_;
    mutable std::set<double> valuesY_;
    mutable std::vector<std::pair<double, double>> ring_;
    mutable std::int64_t calls_ = 0;
    mutable std::int64_t shown_ = 0;
    mutable bool cut_ = false;
    mutable std::set<std::pair<double, double>> places_;
};

// ", every 2nd", ", every 10th"; nothing for every one.
std::string everyNth(std::int64_t every) {
    if (every <= 1) {
        return {};
    }
    const std::int64_t last = every % 10;
    const bool teen = every % 100 / 10 == 1;
    std::string words = ", every ";
    words += std::to_string(every);
    words += teen || last == 0 || last > 3 ? "th" : last == 1 ? "st" : last == 2 ? "nd" : "rd";
    return words;
}

}  // namespace

std::optional<ProjectedPoints> projectedPoints(const DimensionsIntegrand& integrand,
                                               CubatureMethod method, int axisX, int axisY,
                                               std::int64_t budget, std::uint64_t seed) {
    const CubeFunction& f = *integrand.f;
    const int d = f.dimensions();
    axisX = std::clamp(axisX, 0, d - 1);
    axisY = std::clamp(axisY, 0, d - 1);
    if (!cubatureMethodSuits(method, f)) {
        return std::nullopt;
    }
    const auto n = largestCubatureSize(method, d, std::min(budget, kPictureEvaluations));
    if (!n) {
        return std::nullopt;
    }
    const auto most = static_cast<std::int64_t>(kMostPicturePoints);
    std::int64_t first = INT64_MAX;
    std::int64_t every = 1;
    const bool grid = method == CubatureMethod::ProductGauss && axisX != axisY;
    if (method == CubatureMethod::ProductGauss) {
        // Its own grid is evaluated first; the grid one size smaller follows.
        first = 1;
        for (int k = 0; k < d; ++k) {
            first *= *n;
        }
    } else if (method == CubatureMethod::Sobol) {
        // Each point is evaluated under all 16 shifts in turn.
        every = 16;
    } else if (method == CubatureMethod::SparseGrid || method == CubatureMethod::Miser) {
        // Their points come region by region (the grid's) or half by half (MISER's): the first
        // ten thousand would show a corner or an even first sampling, not the whole.
        const std::int64_t points =
            method == CubatureMethod::SparseGrid ? sparseGridPoints(d, static_cast<int>(*n)) : *n;
        every = std::max<std::int64_t>(1, (points + most - 1) / most);
    }
    std::size_t latest = 0;
    if (method == CubatureMethod::AdaptiveCubature) {
        // Its first points are those of its first, largest regions: spread evenly over the
        // run, they reach the small regions it ends with too.
        every = (*n + most - 1) / most;
    } else if (method == CubatureMethod::Vegas) {
        // Its first iterations sample a grid that has not adapted yet; its last shows where
        // the adapted grid sends the points.
        const std::int64_t iteration = *n / kVegasIterations;
        every = std::max<std::int64_t>(1, (iteration + most - 1) / most);
        latest = static_cast<std::size_t>(std::max<std::int64_t>(1, iteration / every));
    }
    ProjectingFunction projecting(f, axisX, axisY, first, every, latest, grid);
    CubatureTrace trace;
    const CubatureRow row = runCubature(method, projecting, *n, seed, &trace);
    projecting.settle();

    ProjectedPoints picture;
    picture.method = method;
    picture.axisX = axisX;
    picture.axisY = axisY;
    picture.lower = f.lower();
    picture.upper = f.upper();
    picture.shown = projecting.shown();
    picture.cut = projecting.cut();
    std::set<double> xs;
    std::set<double> ys;
    for (const auto& [x, y] : projecting.places()) {
        picture.points.push_back({x, y});
        xs.insert(x);
        ys.insert(y);
    }
    picture.valuesX = xs.size();
    picture.valuesY = ys.size();
    // A grid too fine to draw whole shows every stride-th value on each axis, over all of it.
    std::size_t stride = 1;
    if (grid) {
        const std::vector<double> alongX(projecting.valuesX().begin(), projecting.valuesX().end());
        const std::vector<double> alongY(projecting.valuesY().begin(), projecting.valuesY().end());
        const auto side = static_cast<std::size_t>(std::sqrt(static_cast<double>(most)));
        stride =
            std::max<std::size_t>(1, (std::max(alongX.size(), alongY.size()) + side - 1) / side);
        for (std::size_t i = 0; i < alongX.size(); i += stride) {
            for (std::size_t j = 0; j < alongY.size(); j += stride) {
                picture.points.push_back({alongX[i], alongY[j]});
            }
        }
        picture.valuesX = alongX.size();
        picture.valuesY = alongY.size();
    }
    const auto ax = static_cast<std::size_t>(axisX);
    const auto ay = static_cast<std::size_t>(axisY);
    std::set<ProjectedRegion> rectangles;
    for (const CubeRegion& region : trace.regions) {
        const ProjectedRegion r{
            region.centre[ax] - region.halfwidth[ax], region.centre[ax] + region.halfwidth[ax],
            region.centre[ay] - region.halfwidth[ay], region.centre[ay] + region.halfwidth[ay]};
        if (rectangles.size() < kMostPicturePoints) {
            rectangles.insert(r);
        } else if (rectangles.find(r) == rectangles.end()) {
            picture.regionsCut = true;
        }
    }
    picture.regions.assign(rectangles.begin(), rectangles.end());
    picture.regionCount = trace.regions.size();
    // Only edges that rise within the cube reach the picture.
    const auto rising = [&](std::size_t axis) {
        std::vector<double> kept;
        if (axis < trace.edges.size()) {
            for (const double edge : trace.edges[axis]) {
                if (std::isfinite(edge) && edge >= picture.lower && edge <= picture.upper &&
                    (kept.empty() || edge > kept.back())) {
                    kept.push_back(edge);
                }
            }
        }
        return kept;
    };
    picture.edgesX = rising(ax);
    picture.edgesY = rising(ay);

    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "x" + std::to_string(...).
    std::string axes = "x";
    axes += std::to_string(axisX + 1);
    axes += " and x";
    axes += std::to_string(axisY + 1);
    std::string what = methodName(method) + ": " + std::to_string(picture.shown) + " points";
    if (row.pointsPerAxis) {
        what += " (" + std::to_string(*row.pointsPerAxis) + " per axis)";
    } else if (row.level) {
        what += " (level " + std::to_string(*row.level) + everyNth(every) + ")";
    } else if (method == CubatureMethod::Sobol) {
        what += " (one of its 16 shifted copies)";
    } else if (latest > 0) {
        what += " (the last it evaluated" + everyNth(every) + ")";
    } else if (every > 1) {
        what += " (" + everyNth(every).substr(2) + " it evaluated)";
    }
    what += " seen along " + axes + ": " + std::to_string(picture.points.size()) +
            (picture.points.size() == 1 ? " place, " : " places, ") +
            std::to_string(picture.valuesX) + " values of x" + std::to_string(axisX + 1) + ", " +
            std::to_string(picture.valuesY) + " of x" + std::to_string(axisY + 1) + ".";
    if (picture.cut) {
        what += " Only the first " + std::to_string(kMostPicturePoints) + " places are drawn.";
    }
    if (stride > 1) {
        std::string which = everyNth(static_cast<std::int64_t>(stride)).substr(2);
        which[0] = 'E';
        what += " " + which + " value on each axis is drawn.";
    }
    if (method == CubatureMethod::AdaptiveCubature) {
        if (picture.regions.empty()) {
            what += " Its regions could not be rebuilt from the points it evaluated.";
        } else {
            what += " Lines: the " + std::to_string(picture.regionCount) +
                    " regions it ended with, split most where f was hardest";
            if (picture.regions.size() != picture.regionCount) {
                what += ", seen as " + std::to_string(picture.regions.size()) + " rectangles";
            }
            what += ".";
        }
        if (picture.regionsCut) {
            what +=
                " Only the first " + std::to_string(kMostPicturePoints) + " rectangles are drawn.";
        }
    } else if (method == CubatureMethod::Vegas && picture.edgesX.size() > 1) {
        what += " Lines: its grid after adapting, " + std::to_string(picture.edgesX.size() - 1) +
                " bins per axis, crowded where |f| is large.";
    }
    picture.caption = std::move(what);
    return picture;
}

}  // namespace integral
