// SPDX-License-Identifier: GPL-3.0-or-later
#include "quadrature/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/runtime_error.h"

namespace integral {
namespace {

struct PatternCase {
    double value;
    NumberPattern pattern;
    std::string expected;
};

constexpr NumberPattern kCounter = NumberPattern::Counter;
constexpr NumberPattern kEstimate = NumberPattern::Estimate;
constexpr NumberPattern kSummary = NumberPattern::Summary;

TEST(NumberFormatTest, PatternsPrintTheDocumentedTexts) {
    const std::vector<PatternCase> cases = {
        {20, kCounter, "20"},
        {50000, kCounter, "50000"},
        {1234567, kCounter, "1234567"},
        {2.5, kCounter, "3"},
        {-3, kCounter, "-3"},
        {0, kCounter, ""},
        {0.6666666, kEstimate, ".66667"},
        {-0.25, kEstimate, "-.25"},
        {2, kEstimate, "2."},
        {3.14156862745098, kEstimate, "3.14157"},
        {0, kEstimate, "."},
        {-0.0, kEstimate, "."},
        {1.000004, kEstimate, "1."},
        {0.999996, kEstimate, "1."},
        {-0.000001, kEstimate, "."},
        {0.015625, kEstimate, ".01563"},  // exact tie: away from zero, not to even
        {-0.015625, kEstimate, "-.01563"},
        {2.5e-6, kEstimate, "."},
        {123.456789, kEstimate, "123.45679"},
        {1e20, kEstimate, "100000000000000000000."},
        {0.6666666, kSummary, "0.66667"},
        {-0.25, kSummary, "-0.25"},
        {2, kSummary, "2."},
        {0, kSummary, "0."},
        {3.14159265, kSummary, "3.14159"},
        {-1.666666666, kSummary, "-1.66667"},
        {-0.000001, kSummary, "0."},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE("value " + std::to_string(c.value) + " pattern " +
                     std::to_string(static_cast<int>(c.pattern)));
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected);
    }
}

TEST(NumberFormatTest, LargestDoublePrintsAllItsDigits) {
    const std::string text = formatNumber(1.7976931348623157e308, kSummary);
    EXPECT_EQ(text.size(), 310u);
    EXPECT_EQ(text.substr(0, 6), "179769");
    EXPECT_EQ(text.back(), '.');
}

struct PlainCase {
    Variant value;
    std::string expected;
};

TEST(NumberFormatTest, PlainConversionPrintsTheOrdinaryTextForm) {
    const std::vector<PlainCase> cases = {
        {Variant::integer(2), "2"},
        {Variant::longInteger(-40000), "-40000"},
        {Variant::real(2.0 / 3.0), "0.666666666666667"},
        {Variant::real(3.14754098343455), "3.14754098343455"},
        {Variant::real(-5.0 / 3.0), "-1.66666666666667"},
        {Variant::real(0x1p-53), "1.11022302462516E-16"},
        {Variant::real(0.0), "0"},
        {Variant::real(-0.0), "0"},
        {Variant::real(0.25), "0.25"},
        {Variant::real(1e15), "1E+15"},
        {Variant::real(123456789012345.0), "123456789012345"},
        {Variant::real(999999999999999.9), "1E+15"},
        {Variant::real(0.0001), "0.0001"},
        {Variant::real(-0.000025), "-2.5E-05"},
        {Variant::real(1e300), "1E+300"},
        {Variant::single(0.1f), "0.1"},
        {Variant::single(1e7f), "1E+07"},
        {Variant(), ""},
    };
    for (const PlainCase& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(plainText(c.value), c.expected);
    }
}

TEST(NumberFormatTest, NonFiniteValuesRaiseInsteadOfPrinting) {
    for (const NumberPattern pattern : {kCounter, kEstimate, kSummary}) {
        EXPECT_THROW(formatNumber(HUGE_VAL, pattern), RuntimeError);
        EXPECT_THROW(formatNumber(-HUGE_VAL, pattern), RuntimeError);
        EXPECT_THROW(formatNumber(std::nan(""), pattern), RuntimeError);
    }
}

}  // namespace
}  // namespace integral

#include "quadrature/results_panel.h"

namespace integral {
namespace {

TEST(ResultsPanelTest, RowsJoinWithThreeSpacesAndTheSummaryComesOnlyWhenSet) {
    ResultsPanel panel;
    EXPECT_FALSE(panel.summary().has_value());
    panel.addRow(formatNumber(2, NumberPattern::Counter),
                 formatNumber(2.0 / 3.0, NumberPattern::Estimate));
    panel.addRow(formatNumber(20, NumberPattern::Counter),
                 formatNumber(0, NumberPattern::Estimate));
    EXPECT_EQ(panel.rows(), (std::vector<std::string>{"2   .66667", "20   ."}));
    panel.setSummary(3.14159265);
    EXPECT_EQ(panel.summary(), "S = 3.14159");
}

}  // namespace
}  // namespace integral
