// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/row_picture.h"

#include <gtest/gtest.h>

#include <boost/random/sobol.hpp>
#include <cmath>

#include <cmath>
#include <string>
#include <vector>

namespace integral {
namespace {

struct Inputs {
    std::string name;
    int integrandRow;
    double lower;
    double upper;
    float height;
};

// Every row of every method, on three integrands: what the view draws adds up to what the row
// shows. The parabolas, each from its own three points, enclose the row's estimate; the Gauss
// bars, each as wide as its weight, do too and tile the interval; the Monte Carlo samples,
// replayed from the generator as the row found it, are the row's own, hit for hit.
TEST(RowPictureTest, TheGeometryAddsUpToTheRow) {
    const std::vector<Inputs> cases = {
        {"4/(x*x+1) on 0..1", 1, 0, 1, 4.0f},
        {"x sin x on -2..3", 3, -2, 3, 2.5f},
        {"the bell curve on -1.5..0.7", 4, -1.5, 0.7, 3.0f},
    };
    for (const Inputs& in : cases) {
        Model model;
        model.chooseIntegrand(in.integrandRow);
        model.setLower(Variant::real(in.lower));
        model.setUpper(Variant::real(in.upper));
        model.setHeight(in.height);
        for (const MethodInfo& info : kMethods) {
            const MethodRun run = model.run(info.method);
            const RunAnalysis analysis = analyse(run);
            ASSERT_EQ(run.figures.size(), static_cast<std::size_t>(info.rows));
            for (std::size_t row = 0; row < run.figures.size(); ++row) {
                SCOPED_TRACE(in.name + ", " + std::string(info.caption) + ", row " +
                             std::to_string(row));
                const std::optional<RowPicture> picture = pictureOfRow(run, row, analysis);
                ASSERT_TRUE(picture.has_value());
                const RowFigures& figures = run.figures[row];
                EXPECT_EQ(picture->counter, figures.counter);
                EXPECT_NEAR(pictureEstimate(*picture), figures.estimate,
                            1e-12 * std::fabs(figures.estimate));
                switch (methodOf(info.method).shape()) {
                    case RowShape::Parabolas:
                        EXPECT_EQ(std::get<ParabolaShapes>(picture->shapes).panels.size(),
                                  static_cast<std::size_t>(figures.counter));
                        break;
                    case RowShape::Bars: {
                        const std::vector<GaussBar>& bars =
                            std::get<BarShapes>(picture->shapes).bars;
                        ASSERT_EQ(bars.size(), static_cast<std::size_t>(figures.evaluations));
                        EXPECT_EQ(bars.front().left, in.lower);
                        for (std::size_t i = 1; i < bars.size(); ++i) {
                            const GaussBar& before = bars[i - 1];
                            EXPECT_EQ(bars[i].left, before.left + before.width);
                        }
                        const GaussBar& last = bars.back();
                        EXPECT_NEAR(last.left + last.width, in.upper, 1e-7 * (in.upper - in.lower));
                        break;
                    }
                    case RowShape::Samples: {
                        const SampleShapes& samples = std::get<SampleShapes>(picture->shapes);
                        EXPECT_EQ(samples.samples.size(),
                                  static_cast<std::size_t>(figures.counter));
                        EXPECT_EQ(samples.hits, figures.hits);
                        break;
                    }
                    case RowShape::Trapezoids: {
                        const std::vector<Trapezoid>& trapezoids =
                            std::get<TrapezoidShapes>(picture->shapes).trapezoids;
                        ASSERT_EQ(trapezoids.size(), static_cast<std::size_t>(figures.counter));
                        EXPECT_EQ(trapezoids.front().left, in.lower);
                        EXPECT_EQ(trapezoids.back().right, in.upper);
                        break;
                    }
                    case RowShape::Rectangles: {
                        const std::vector<MidpointRectangle>& rectangles =
                            std::get<RectangleShapes>(picture->shapes).rectangles;
                        ASSERT_EQ(rectangles.size(), static_cast<std::size_t>(figures.counter));
                        EXPECT_NEAR(rectangles.front().left, in.lower, 1e-12);
                        EXPECT_NEAR(rectangles.back().right, in.upper, 1e-12);
                        break;
                    }
                    case RowShape::Extrapolation: {
                        // One trapezoid value a level, 0..k, and R(k, k) where the table ends.
                        const ExtrapolationShapes& romberg =
                            std::get<ExtrapolationShapes>(picture->shapes);
                        EXPECT_EQ(romberg.trapezoidValues.size(),
                                  static_cast<std::size_t>(figures.counter) + 1);
                        EXPECT_EQ(romberg.tableau.back().back(), figures.estimate);
                        break;
                    }
                    case RowShape::Stems: {
                        const StemShapes& stems = std::get<StemShapes>(picture->shapes);
                        // Every sample's weight, shown or not: together the interval's width.
                        EXPECT_NEAR(stems.weights, in.upper - in.lower,
                                    1e-9 * (in.upper - in.lower));
                        EXPECT_LE(stems.stems.size(), kMostStems);
                        if (info.method == Method::Sobol) {
                            // The sequence's first 128 points in its order, all moved by
                            // one shift modulo the width.
                            const double width = in.upper - in.lower;
                            const std::vector<double>& rug = stems.rugSobol;
                            ASSERT_EQ(rug.size(), kRugPoints);
                            EXPECT_EQ(stems.rugRandom.size(), kRugPoints);
                            boost::random::sobol sequence(1);
                            const double first = std::ldexp(double(sequence()), -64);
                            for (std::size_t i = 1; i < rug.size(); ++i) {
                                const double u = std::ldexp(double(sequence()), -64);
                                const double apart = std::remainder(rug[i] - rug[0], width);
                                EXPECT_NEAR(apart, std::remainder(u - first, 1.0) * width,
                                            1e-9 * width);
                            }
                        } else {
                            EXPECT_TRUE(stems.rugSobol.empty());
                        }
                        break;
                    }
                    case RowShape::Adaptive: {
                        // The accepted panels tile the interval.
                        const std::vector<AdaptivePanel>& panels =
                            std::get<AdaptiveShapes>(picture->shapes).panels;
                        ASSERT_FALSE(panels.empty());
                        double left = in.lower;
                        for (const AdaptivePanel& panel : panels) {
                            EXPECT_EQ(panel.left.left, left);
                            left = panel.right.right;
                        }
                        EXPECT_EQ(left, in.upper);
                        break;
                    }
                }
            }
        }
    }
}

// The parabola of a panel is its own quadratic through its three points, not the curve.
TEST(RowPictureTest, AParabolaPassesThroughItsThreePoints) {
    const ParabolaPanel p = ParabolaPanel::through({0.5, 2.0}, {0.75, -1.0}, {1.0, 3.0});
    EXPECT_DOUBLE_EQ(p.at(0.5), 2.0);
    EXPECT_DOUBLE_EQ(p.at(0.75), -1.0);
    EXPECT_DOUBLE_EQ(p.at(1.0), 3.0);
    EXPECT_DOUBLE_EQ(p.area(), 0.25 / 3 * (2.0 + 4 * -1.0 + 3.0));
}

TEST(RowPictureTest, TicksAreBoundedAndNice) {
    EXPECT_EQ(niceTicks(-0.05, 1.05, 10),
              (std::vector<double>{0.0, 0.2, 0.4, 0.6000000000000001, 0.8, 1.0}));
    EXPECT_LE(niceTicks(-1e308, 1e308, 10).size(), 11u);
    EXPECT_TRUE(niceTicks(1.0, 1.0, 10).empty());
    EXPECT_TRUE(niceTicks(0.0, INFINITY, 10).empty());
}

}  // namespace
}  // namespace integral
