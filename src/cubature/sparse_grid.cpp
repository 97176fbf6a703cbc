// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubature/sparse_grid.h"

#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace integral {

namespace {

// Points that rule i (1, 2, 3, ...) adds to rule i - 1: 1, 2, 2, 4, 8, ...
std::int64_t newPoints(int rule) {
    return rule == 1 ? 1 : rule == 2 ? 2 : std::int64_t{1} << (rule - 2);
}

// Rule i's points: 1, 3, 5, 9, 17, ...
int rulePoints(int rule) {
    return rule == 1 ? 1 : (1 << (rule - 1)) + 1;
}

// Clenshaw-Curtis weights of m = n + 1 points on [0,1], at x_j = (1 - cos(pi j / n)) / 2.
std::vector<double> clenshawCurtisWeights(int m) {
    if (m == 1) {
        return {1.0};
    }
    const int n = m - 1;
    std::vector<double> weights(static_cast<std::size_t>(m));
    for (int j = 0; j <= n; ++j) {
        double sum = 0.0;
        for (int k = 1; k <= n / 2; ++k) {
            const double b = 2 * k == n ? 1.0 : 2.0;
            sum += b / (4.0 * k * k - 1.0) * std::cos(2.0 * k * j * std::numbers::pi / n);
        }
        const double c = (j == 0 || j == n) ? 1.0 : 2.0;
        weights[static_cast<std::size_t>(j)] = c / n * (1.0 - sum) / 2.0;
    }
    return weights;
}

double binomial(int n, int k) {
    if (k < 0 || k > n) {
        return 0.0;
    }
    double result = 1.0;
    for (int i = 1; i <= k; ++i) {
        result = result * (n - k + i) / i;
    }
    return result;
}

class Builder {
  public:
    Builder(int dimensions, int level)
        : d_(dimensions), l_(level), finest_(level == 0 ? 1 : (1 << level) + 1) {
        grid_.dimensions = dimensions;
        grid_.level = level;
        grid_.coordinates.resize(static_cast<std::size_t>(finest_));
        for (int p = 0; p < finest_; ++p) {
            // sin^2 rather than (1 - cos)/2: the points mirror each other to the last bit.
            const double s = finest_ == 1 ? std::sqrt(0.5)
                                          : std::sin(std::numbers::pi * p / (2.0 * (finest_ - 1)));
            grid_.coordinates[static_cast<std::size_t>(p)] = s * s;
        }
        // ruleWeight_[i][p]: rule i's weight at finest position p, 0 where it has no point.
        ruleWeight_.assign(static_cast<std::size_t>(l_ + 2),
                           std::vector<double>(static_cast<std::size_t>(finest_), 0.0));
        for (int rule = 1; rule <= l_ + 1; ++rule) {
            const int m = rulePoints(rule);
            const std::vector<double> w = clenshawCurtisWeights(m);
            for (int j = 0; j < m; ++j) {
                const int p = m == 1 ? (finest_ - 1) / 2 : j * ((finest_ - 1) / (m - 1));
                ruleWeight_[static_cast<std::size_t>(rule)][static_cast<std::size_t>(p)] =
                    w[static_cast<std::size_t>(j)];
            }
        }
        for (int t = 0; t <= l_; ++t) {
            fine_.push_back(
                t >= l_ - d_ + 1 ? ((l_ - t) % 2 == 0 ? 1 : -1) * binomial(d_ - 1, l_ - t) : 0.0);
            coarse_.push_back(t <= l_ - 1 && t >= l_ - d_
                                  ? ((l_ - 1 - t) % 2 == 0 ? 1 : -1) * binomial(d_ - 1, l_ - 1 - t)
                                  : 0.0);
        }
        rule_.resize(static_cast<std::size_t>(d_));
        position_.resize(static_cast<std::size_t>(d_));
    }

    SparseGrid build() {
        visit(0, 0);
        return std::move(grid_);
    }

  private:
    // Every point is its rules of first appearance per axis, their levels summing to at most l.
    void visit(int axis, int used) {
        if (axis == d_) {
            addPoint();
            return;
        }
        for (int rule = 1; used + rule - 1 <= l_; ++rule) {
            rule_[static_cast<std::size_t>(axis)] = rule;
            const int m = rulePoints(rule);
            const int stride = m == 1 ? 0 : (finest_ - 1) / (m - 1);
            if (rule == 1) {
                position_[static_cast<std::size_t>(axis)] = (finest_ - 1) / 2;
                visit(axis + 1, used);
            } else if (rule == 2) {
                for (const int j : {0, m - 1}) {
                    position_[static_cast<std::size_t>(axis)] = j * stride;
                    visit(axis + 1, used + 1);
                }
            } else {
                for (int j = 1; j < m; j += 2) {
                    position_[static_cast<std::size_t>(axis)] = j * stride;
                    visit(axis + 1, used + rule - 1);
                }
            }
        }
    }

    // The point's weight is the combination's sum over every tensor rule that holds it (rule
    // i_k at least its rule of first appearance on each axis): a sum over levels t, gathered
    // axis by axis.
    void addPoint() {
        std::vector<double> sums(static_cast<std::size_t>(l_ + 1), 0.0);
        std::vector<double> next(sums.size());
        sums[0] = 1.0;
        for (int k = 0; k < d_; ++k) {
            std::fill(next.begin(), next.end(), 0.0);
            const auto p = static_cast<std::size_t>(position_[static_cast<std::size_t>(k)]);
            for (int t = 0; t <= l_; ++t) {
                if (sums[static_cast<std::size_t>(t)] == 0.0) {
                    continue;
                }
                for (int rule = rule_[static_cast<std::size_t>(k)]; t + rule - 1 <= l_; ++rule) {
                    next[static_cast<std::size_t>(t + rule - 1)] +=
                        sums[static_cast<std::size_t>(t)] *
                        ruleWeight_[static_cast<std::size_t>(rule)][p];
                }
            }
            std::swap(sums, next);
        }
        double fine = 0.0;
        double coarse = 0.0;
        for (int t = 0; t <= l_; ++t) {
            fine += fine_[static_cast<std::size_t>(t)] * sums[static_cast<std::size_t>(t)];
            coarse += coarse_[static_cast<std::size_t>(t)] * sums[static_cast<std::size_t>(t)];
        }
        for (int k = 0; k < d_; ++k) {
            grid_.positions.push_back(
                static_cast<std::uint16_t>(position_[static_cast<std::size_t>(k)]));
        }
        grid_.weights.push_back(fine);
        grid_.coarserWeights.push_back(coarse);
    }

    int d_;
    int l_;
    int finest_;
    SparseGrid grid_;
    std::vector<std::vector<double>> ruleWeight_;
    std::vector<double> fine_;
    std::vector<double> coarse_;
    std::vector<int> rule_;
    std::vector<int> position_;
};

}  // namespace

std::int64_t sparseGridPoints(int dimensions, int level) {
    // count[t]: the points of the axes so far whose levels sum to t.
    constexpr double kCap = static_cast<double>(std::numeric_limits<std::int64_t>::max());
    std::vector<double> count(static_cast<std::size_t>(level + 1), 0.0);
    count[0] = 1.0;
    for (int k = 0; k < dimensions; ++k) {
        std::vector<double> next(count.size(), 0.0);
        for (int t = 0; t <= level; ++t) {
            for (int rule = 1; t + rule - 1 <= level; ++rule) {
                next[static_cast<std::size_t>(t + rule - 1)] +=
                    count[static_cast<std::size_t>(t)] * static_cast<double>(newPoints(rule));
            }
        }
        count = std::move(next);
    }
    double total = 0.0;
    for (const double c : count) {
        total += c;
    }
    return total >= kCap ? std::numeric_limits<std::int64_t>::max()
                         : static_cast<std::int64_t>(total);
}

namespace {

struct Kept {
    std::shared_ptr<const SparseGrid> grid;
    std::size_t bytes = 0;
    std::uint64_t lastUse = 0;
};

struct GridCache {
    std::mutex mutex;
    std::map<std::pair<int, int>, Kept> grids;
    std::size_t bytes = 0;
    std::size_t limit = kKeptSparseGridBytes;
    std::uint64_t uses = 0;
};

GridCache& gridCache() {
    static GridCache cache;
    return cache;
}

std::size_t bytesOf(const SparseGrid& grid) {
    return grid.coordinates.size() * sizeof(double) +
           grid.positions.size() * sizeof(std::uint16_t) +
           (grid.weights.size() + grid.coarserWeights.size()) * sizeof(double);
}

}  // namespace

std::shared_ptr<const SparseGrid> sparseGrid(int dimensions, int level) {
    if (dimensions < 1 || level < 0 || level > 15 ||
        sparseGridPoints(dimensions, level) > kMaxSparseGridPoints) {
        throw std::invalid_argument("sparse grid beyond the largest kept");
    }
    GridCache& cache = gridCache();
    const std::lock_guard lock(cache.mutex);
    Kept& kept = cache.grids[{dimensions, level}];
    kept.lastUse = ++cache.uses;
    if (!kept.grid) {
        kept.grid = std::make_shared<const SparseGrid>(Builder(dimensions, level).build());
        kept.bytes = bytesOf(*kept.grid);
        cache.bytes += kept.bytes;
        // The least recently used give way: a student who tries d = 1 ... 20 at high levels
        // would otherwise keep every grid for the program's life. Those still in use live on
        // with their users.
        while (cache.bytes > cache.limit && cache.grids.size() > 1) {
            auto oldest = cache.grids.begin();
            for (auto it = cache.grids.begin(); it != cache.grids.end(); ++it) {
                if (it->second.lastUse < oldest->second.lastUse) {
                    oldest = it;
                }
            }
            cache.bytes -= oldest->second.bytes;
            cache.grids.erase(oldest);
        }
    }
    return kept.grid;
}

std::size_t keptSparseGridBytes() {
    GridCache& cache = gridCache();
    const std::lock_guard lock(cache.mutex);
    return cache.bytes;
}

void limitKeptSparseGrids(std::size_t bytes) {
    GridCache& cache = gridCache();
    const std::lock_guard lock(cache.mutex);
    cache.limit = bytes;
}

}  // namespace integral
