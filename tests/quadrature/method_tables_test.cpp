// SPDX-License-Identifier: GPL-3.0-or-later
// What the tables promise beyond their rows: the order of the draws and of the evaluations,
// the comparison that decides a hit, and the node sets Gauss leaves behind.
#include <gtest/gtest.h>

#include <cctype>

#include <sstream>

#include <fstream>

#include <string>
#include <vector>

#include "integrands/integrand_descriptor.h"
#include "model/contrast.h"
#include "model/methods.h"
#include "quadrature/gauss_table.h"
#include "quadrature/monte_carlo_table.h"
#include "quadrature/results_panel.h"
#include "quadrature/zelbrin_table.h"
#include "runtime/random_generator.h"
#include "support/scripted.h"
#include "support/typed.h"
#include "support/values.h"

namespace integral {
namespace {

using test::D;
using test::I;
using test::L;
using test::S;

struct DrawCase {
    std::string name;
    Variant x1;  // a Double lower limit takes the typed per-sample path, a Long one the general
};

// Two rows, of 2 and 4 samples, over x1..x1+2 in a box of height 1 under the constant 0.5.
// The y draws decide the hits: 0.25 hits, 0.5 lies on the curve and misses; then 3 of 4 hit.
// The documents that list the methods list every one of the table's: the table tool's manual
// page by option, the README and the window's manual page by name, however hyphens and case
// are written.
TEST(MethodTableTest, TheDocumentsListEveryMethod) {
    const auto read = [](const char* name) {
        std::ifstream file(std::string(INTEGRAL_SOURCE_DIR) + "/" + name);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    };
    // Lower case, with the man page's \- and the README's dashes and spaces all one mark.
    const auto plain = [](std::string text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 2, "\\-") == 0 || text.compare(i, 3, "\xe2\x80\x93") == 0) {
                i += text[i] == '\\' ? 1 : 2;
                out += '-';
            } else if (text[i] == ' ') {
                out += '-';
            } else {
                out += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            }
        }
        return out;
    };
    const std::string manual = plain(read("packaging/man/integral-table.1.in"));
    const std::string readme = plain(read("README.md"));
    const std::string window = plain(read("packaging/man/integral.1.in"));
    for (const MethodInfo& info : kMethods) {
        SCOPED_TRACE(std::string(info.name));
        EXPECT_NE(manual.find(".b-" + plain(std::string(info.name))), std::string::npos);
        for (const std::string* document : {&readme, &window}) {
            EXPECT_NE(document->find(plain(std::string(info.caption))), std::string::npos);
        }
    }
}

// Each row of the method table has its own behaviour, made from that row; the methods' colours
// stay apart pairwise, by far more than an eye needs, and each marker shape is one method's;
// each colour stands out from a plot's white.
TEST(MethodTableTest, EveryMethodHasABehaviourAColourAndAMarkerOfItsOwn) {
    EXPECT_NEAR(colourDistance(0x000000, 0xFFFFFF), 100.0, 0.01);
    EXPECT_NEAR(colourDistance(0xFF0000, 0xFFFFFF), 114.5, 0.1);
    for (std::size_t i = 0; i < kMethods.size(); ++i) {
        EXPECT_EQ(&methodOf(kMethods[i].method).info(), &kMethods[i]) << kMethods[i].name;
        EXPECT_GE(contrastRatio(kMethods[i].colour, 0xFFFFFF), 1.7) << kMethods[i].name;
        for (std::size_t j = i + 1; j < kMethods.size(); ++j) {
            SCOPED_TRACE(std::string(kMethods[i].name) + " and " + std::string(kMethods[j].name));
            EXPECT_GE(colourDistance(kMethods[i].colour, kMethods[j].colour), 25.0);
            EXPECT_NE(kMethods[i].marker, kMethods[j].marker);
        }
    }
}

TEST(MonteCarloTableTest, EachSampleDrawsXThenYAndEvaluatesOnceAtX) {
    const std::vector<float> xDraws = {0.875f, 0.0f, 0.5f, 0.25f, 0.125f, 0.75f};
    const std::vector<float> yDraws = {0.25f, 0.5f, 0.0625f, 0.125f, 0.375f, 0.625f};
    for (const DrawCase& c : std::vector<DrawCase>{{"typed path", D(1)}, {"general path", L(1)}}) {
        SCOPED_TRACE(c.name);
        test::ScriptedDraws draws;
        for (std::size_t k = 0; k < xDraws.size(); ++k) {
            draws.values.push_back(xDraws[k]);
            draws.values.push_back(yDraws[k]);
        }
        test::RecordingIntegrand f{D(0.5), {}};
        Variant hits;
        ResultsPanel panel;
        monteCarloTable(f, c.x1, D(3), S(1), hits, draws, panel, {2, 4, 2});

        EXPECT_EQ(panel.rows(), (std::vector<std::string>{"2   1.", "4   1.5"}));
        EXPECT_EQ(panel.summary(), "S = 1.5");
        EXPECT_TRUE(hits.identical(I(3)));
        EXPECT_EQ(draws.used, draws.values.size());  // two draws a sample; rows share none
        ASSERT_EQ(f.calls.size(), xDraws.size());    // one evaluation a sample
        for (std::size_t k = 0; k < xDraws.size(); ++k) {
            EXPECT_TRUE(f.calls[k].identical(D(xDraws[k] * 2.0 + 1.0))) << k;
        }
    }
}

// The double path of the integrands stands in for the variant arithmetic only where that is
// the same arithmetic; a Long lower limit equal to the double 0 must draw the same samples and
// count the same hits.
TEST(MonteCarloTableTest, TypedAndGeneralSamplePathsAgree) {
    for (const std::int16_t fnum : {1, 2, 4, 5}) {
        SCOPED_TRACE(fnum);
        IntegrandDescriptor f(I(fnum));
        const auto table = [&f](const Variant& x1) {
            RandomGenerator random;
            Variant hits;
            ResultsPanel panel;
            monteCarloTable(f, x1, D(1.5), S(0.75f), hits, random, panel, {2000, 10000, 4000});
            return panel.rows();
        };
        EXPECT_EQ(table(D(0)), table(L(0)));
    }
}

// A typed integrand is evaluated a batch of points at a time. The rows, the x a fault names and
// where the generator stands after it must be those of the point-by-point loop.
TEST(MonteCarloTableTest, BatchesOfTypedPointsCountAsPointByPoint) {
    struct PointByPoint {
        const IntegrandDescriptor& f;
        Variant operator()(const Variant& x) const { return f(x); }
        std::optional<PlainEvaluator> plainEvaluator() const {
            std::optional<PlainEvaluator> plain = f.plainEvaluator();
            plain->many = nullptr;
            return plain;
        }
    };
    struct Outcome {
        std::vector<std::string> rows;
        std::optional<double> faultAt;
        float nextDraw;
    };
    const auto table = [](auto f) {
        RandomGenerator random;
        Variant hits;
        ResultsPanel panel;
        Outcome outcome;
        try {
            monteCarloTable(f, D(0), D(1.5), S(2.5f), hits, random, panel);
        } catch (const RuntimeError& error) {
            outcome.faultAt = error.argument();
        }
        outcome.rows = panel.rows();
        outcome.nextDraw = random.next();
        return outcome;
    };
    // The second faults within the first row, past the first batch.
    for (const char* text : {"x*sin(x)", "ln(x-0.0002)"}) {
        SCOPED_TRACE(text);
        const IntegrandDescriptor f = test::typed(text);
        const Outcome batched = table(f);
        const Outcome single = table(PointByPoint{f});
        EXPECT_EQ(batched.rows, single.rows);
        EXPECT_EQ(batched.faultAt, single.faultAt);
        EXPECT_EQ(batched.nextDraw, single.nextDraw);
    }
}

// Each panel evaluates its left end, middle and right end in that order, the later two formed
// from the left end (x + h, x + h * 2), not from x1; shared ends are evaluated twice. The rows
// show five decimals, too few to reveal these last bits, so the points are checked themselves.
TEST(ZelbrinTableTest, EvaluatesEachPanelFromItsLeftEnd) {
    test::RecordingIntegrand f{D(1), {}};
    ResultsPanel panel;
    zelbrinTable(f, D(0.1), D(0.7), panel);
    ASSERT_EQ(f.calls.size(), 330u);
    std::size_t call = 0;
    for (int n = 2; n <= 20; n += 2) {
        const double h = ((0.7 - 0.1) / n) / 2;
        for (int i = 0; i <= 2 * n - 2; i += 2) {
            const double x = 0.1 + i * h;
            for (const double point : {x, x + h, x + h * 2}) {
                ASSERT_TRUE(f.calls[call].identical(D(point))) << "n " << n << ", i " << i;
                ++call;
            }
        }
    }
}

// The parabolic rule forms its last node as x + 2h, which rounding can put an ulp past the
// upper limit, where sqrt(1-x^2) has no value: the rule meant the limit, and gets it. A limit
// where f truly has no value still stops the table there.
TEST(ZelbrinTableTest, NodeRoundedPastALimitIsEvaluatedAtTheLimit) {
    struct Case {
        const char* text;
        double lower;
        double upper;
        std::size_t rows;
    };
    for (const Case& c : std::vector<Case>{{"sqrt(1-x^2)", -1, 1, 10},
                                           {"acos(x)", -1, 1, 10},
                                           {"sqrt(4-x^2)", -2, 2, 10},
                                           {"sqrt(x)*ln(x)", 0, 1, 0}}) {
        SCOPED_TRACE(c.text);
        const IntegrandDescriptor f = test::typed(c.text);
        ResultsPanel panel;
        try {
            zelbrinTable(f, D(c.lower), D(c.upper), panel);
        } catch (const RuntimeError&) {
        }
        EXPECT_EQ(panel.rows().size(), c.rows);
    }
}

TEST(GaussTableTest, NodeSetsAreTheStoredHalfAndItsExactMirror) {
    VariantArray node = makeGaussArray();
    VariantArray weight = makeGaussArray();
    setGaussNodes(3, node, weight);
    EXPECT_TRUE(node[I(1)].identical(D(-0.7745966692414834)));
    EXPECT_TRUE(node[I(2)].identical(I(0)));
    EXPECT_TRUE(node[I(3)].identical(D(0.7745966692414834)));
    EXPECT_TRUE(weight[I(1)].identical(D(0.5555555555555556)));
    EXPECT_TRUE(weight[I(2)].identical(D(0.8888888888888888)));
    EXPECT_TRUE(weight[I(3)].identical(weight[I(1)]));
    // Entries above m keep what an earlier set wrote.
    setGaussNodes(6, node, weight);
    setGaussNodes(2, node, weight);
    EXPECT_TRUE(node[I(1)].identical(D(-0.57735027)));
    EXPECT_TRUE(weight[I(2)].identical(I(1)));
    EXPECT_TRUE(node[I(3)].identical(D(-0.23861919)));
    EXPECT_TRUE(node[I(5)].identical(D(0.66120939)));
    EXPECT_TRUE(node[I(0)].isEmpty());
    EXPECT_TRUE(node[I(7)].isEmpty());
}

}  // namespace
}  // namespace integral
