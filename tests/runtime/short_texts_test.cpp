// SPDX-License-Identifier: GPL-3.0-or-later
// The two ways a number or a piece of outside text enters a sentence: the short number, never
// through the locale and never "inf" or "nan"; the escaped bytes, never a control byte or a
// bare quote.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/escaped_bytes.h"
#include "runtime/short_number.h"

namespace integral {
namespace {

TEST(ShortTextsTest, NumbersAndBytesAsASentenceShowsThem) {
    struct NumberCase {
        double value;
        int digits;
        const char* text;
    };
    for (const NumberCase& c : std::vector<NumberCase>{{0.3, 6, "0.3"},
                                                       {2.0, 6, "2"},
                                                       {3.14159265, 6, "3.14159"},
                                                       {1e-300, 6, "1e-300"},
                                                       {-2.5e-5, 4, "-2.5e-05"},
                                                       {123456789.0, 3, "1.23e+08"},
                                                       {INFINITY, 6, "not a finite number"},
                                                       {NAN, 6, "not a finite number"}}) {
        EXPECT_EQ(shortNumber(c.value, c.digits), c.text) << c.value;
    }
    struct BytesCase {
        std::string text;
        const char* backslashed;
        const char* shown;
    };
    for (const BytesCase& c : std::vector<BytesCase>{{"x^2+1", "", "x^2+1"},
                                                     {"x\x01y", "", "x\\x01y"},
                                                     {"\x1b[2J", "", "\\x1b[2J"},
                                                     {"x\xc2\xb2", "", "x\\xc2\\xb2"},
                                                     {"it's", "'\\", "it\\'s"},
                                                     {"a\\b", "'\\", "a\\\\b"}}) {
        EXPECT_EQ(escapedBytes(c.text, c.backslashed), c.shown) << c.text;
    }
}

}  // namespace
}  // namespace integral
