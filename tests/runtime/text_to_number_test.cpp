// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/text_to_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/runtime_error.h"
#include "support/faults.h"

namespace integral {
namespace {

struct ValueCase {
    std::string text;
    double expected;
};

TEST(NumericValueTest, ReadsTheLeadingNumberAndIgnoresTheRest) {
    const std::vector<ValueCase> cases = {
        {"3.25", 3.25},
        {"1 2", 12},
        {"1.5e2", 150},
        {"1.5E+2", 150},
        {" -\t.5x", -0.5},
        {"+7", 7},
        {"- 1 2 . 5", -12.5},
        {"4\n2", 42},
        {"abc", 0},
        {"", 0},
        {"x1", 0},
        {"-", 0},
        {".", 0},
        {"1e", 1},
        {"1e+", 1},
        {"1e 3", 1000},
        {"2e-3", 0.002},
        {"--1", 0},
        {"2.5.1", 2.5},
        {"12abc", 12},
        {"1,5", 1},
        {"0x10", 0},
        {"1e-400", 0},
        {"-0", 0},
        {"0.1", 0.1},
        {"1.7976931348623157e308", DBL_MAX},
        {"000000000000000000000000001", 1},
        {"0.000000000000000000000000001e27", 1},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE("text: \"" + c.text + "\"");
        EXPECT_EQ(numericValue(c.text), c.expected);
    }
}

TEST(NumericValueTest, NumbersBeyondTheDoubleRangeRaiseOverflow) {
    for (const std::string& text : std::vector<std::string>{
             "1e400", "-1e309", "1e99999999999999999999999", std::string(400, '9'), "0.001e312"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(test::faultOf([&] { numericValue(text); }), Fault::Overflow);
    }
    EXPECT_EQ(numericValue("1e-99999999999999999999999"), 0.0);
}

TEST(ReadCompleteNumberTest, AcceptsOnlyOneWholeNumberAndSaysWhatIsWrong) {
    using Status = CompleteNumber::Status;
    const std::vector<std::tuple<std::string, Status, double>> cases = {
        {"-1.5e3", Status::Number, -1500},
        {"0", Status::Number, 0},
        {"+2", Status::Number, 2},
        {".5", Status::Number, 0.5},
        {"5.", Status::Number, 5},
        {"1e-400", Status::Number, 0},  // too small reads as 0, as in a limit box
        {"1 2", Status::NotANumber, 0},
        {".", Status::NotANumber, 0},
        {"1e", Status::NotANumber, 0},
        {"", Status::NotANumber, 0},
        {"1x", Status::NotANumber, 0},
        {" 1", Status::NotANumber, 0},
        {"1,5", Status::NotANumber, 0},
        {"0x10", Status::NotANumber, 0},
        {"nan", Status::NotANumber, 0},
        {"inf", Status::NotANumber, 0},
        {"1e400", Status::BeyondRange, 0},
        {"-1e309", Status::BeyondRange, 0},
    };
    for (const auto& [text, status, value] : cases) {
        SCOPED_TRACE("text: \"" + text + "\"");
        const CompleteNumber number = readCompleteNumber(text);
        EXPECT_EQ(number.status, status);
        EXPECT_EQ(number.value, value);
        EXPECT_EQ(parseCompleteNumber(text).has_value(), status == Status::Number);
    }
}

}  // namespace
}  // namespace integral
