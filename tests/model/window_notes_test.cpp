// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/window_notes.h"

#include "model/contrast.h"
#include "model/window_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace integral {
namespace {

TEST(WindowNotesTest, ALimitTextThatIsNotWhollyANumberIsToldWhatWasRead) {
    struct Case {
        const char* text;
        std::optional<std::string> note;
    };
    const std::string leading = ": only the leading number counts";
    for (const Case& c : std::vector<Case>{
             {"0,5", "read as 0" + leading + "; write 0.5"},
             {"-2,25", "read as -2" + leading + "; write -2.25"},
             {"1/2", "read as 1" + leading + "; write 0.5"},
             {"pi", "read as 0" + leading + "; write 3.14159265358979"},
             {"2*pi", "read as 2" + leading + "; write 6.28318530717959"},
             {"1 000", "read as 1000: the spaces within it are left out"},
             {"2*x", "read as 2" + leading},  // depends on x: no number is meant
             {"2.5.1", "read as 2.5" + leading},
             {"1,2,3", "read as 1" + leading},
             {"0.5", std::nullopt},
             {"  -1e-3\t", std::nullopt},
             {"1e-400", std::nullopt},
             {"", std::nullopt},
             {"   ", std::nullopt},
             {"1e400", std::nullopt},  // Enter reports the overflow
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(limitReadingNote(c.text), c.note);
    }
}

TEST(WindowNotesTest, LimitsTypedButNotConfirmedAreNamedWithTheLimitsInUse) {
    const Variant x1 = Variant::real(0.0);
    const Variant x2 = Variant::real(3.0);
    EXPECT_EQ(unconfirmedLimitsNote({"0"}, {"3"}, x1, x2), std::nullopt);
    EXPECT_EQ(unconfirmedLimitsNote({"0"}, {"1", false}, x1, x2),
              "The rows are for 0 to 3: the text in the upper box is not in use until Enter is "
              "pressed there.");
    EXPECT_EQ(unconfirmedLimitsNote({"", false}, {"3"}, {}, x2),
              "The rows are for 0 to 3: the text in the lower box is not in use until Enter is "
              "pressed there.");
    EXPECT_EQ(unconfirmedLimitsNote({"0", false}, {"1", false}, Variant::real(-0.5), x2),
              "The rows are for -0.5 to 3: the texts in both boxes are not in use until Enter is "
              "pressed in each.");
    EXPECT_EQ(limitsInUse({}, Variant::real(1e-7)), "in use: from 0 to 1e-07");
}

TEST(WindowNotesTest, TheBoxHeightIsShownAndABoxThatCannotHoldTheAreaIsExplained) {
    EXPECT_EQ(boxHeightText({}), "no box yet");
    EXPECT_EQ(boxHeightText(Variant::single(4.0f)), "box height 4");
    EXPECT_EQ(boxHeightText(Variant::single(2.3f)), "box height 2.3");
    EXPECT_EQ(monteCarloBoxNote(Variant::single(0.5f)), std::nullopt);
    for (const Variant& none : {Variant(), Variant::single(0.0f)}) {
        ASSERT_TRUE(monteCarloBoxNote(none).has_value());
        EXPECT_EQ(monteCarloBoxNote(none)->rfind("No box is set, so every row is 0", 0), 0u);
    }
    ASSERT_TRUE(monteCarloBoxNote(Variant::single(-2.0f)).has_value());
    EXPECT_EQ(monteCarloBoxNote(Variant::single(-2.0f))
                  ->rfind("The box lies below the axis "
                          "(height -2)",
                          0),
              0u);

    EXPECT_EQ(curveGapsNote({}), std::nullopt);
    EXPECT_EQ(curveGapsNote({3, -0.019999999999, -1.69e-13}),
              "f has no value that can be drawn at 3 of the curve's 2001 points, from x = -0.02 "
              "to 0: the curve has gaps there (the methods still stop where f has no value).");

    EXPECT_EQ(chosenNotDrawnNote("f(x) = x^4", "y = x*sin(x)", "y = x*sin(x)"),
              "f(x) = x^4 is chosen: Graph draws it. The curve, the rows and the summary shown "
              "are still those of y = x*sin(x).");
    EXPECT_EQ(chosenNotDrawnNote("f(x) = x^4", "y = x*x - 2", "f(x) = 1/x"),
              "f(x) = x^4 is chosen: Graph draws it. The curve shown is still that of y = x*x - "
              "2. The rows and the summary shown are still those of f(x) = 1/x.");
    EXPECT_EQ(chosenNotDrawnNote("f(x) = x^4", std::nullopt, std::nullopt),
              "f(x) = x^4 is chosen: Graph draws it.");

    struct Case {
        const char* text;
        std::variant<float, std::string> read;
    };
    for (const Case& c : std::vector<Case>{
             {" 4 ", 4.0f},
             {"-2.5", -2.5f},
             {"0", 0.0f},
             {"3e38", 3e38f},
             {"4e38", "the height is too large: at most 3.4e+38 is taken"},
             {"1e400", "the height is too large: at most 3.4e+38 is taken"},
             {"four", "type the height as a number, as 4 or 2.5"},
             {"", "type the height as a number, as 4 or 2.5"},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readBoxHeight(c.text), c.read);
    }
}

TEST(WindowNotesTest, ASuggestedFileNameSaysWhatTheFileShows) {
    EXPECT_EQ(suggestedFileName("zelbrin", "y = x*sin(x)", 0, 3), "zelbrin_y_x_sin_x_0_to_3");
    EXPECT_EQ(suggestedFileName("convergence", "f(x) = 1/sqrt(x)", -1.5, 1e-7),
              "convergence_f_x_1_sqrt_x_-1.5_to_1e-07");
    EXPECT_EQ(suggestedFileName("sobol", "f(x) = x/\"..\\é", 0, 1), "sobol_f_x_x_.._0_to_1");
    EXPECT_EQ(suggestedFileName("clenshaw-curtis", "y = 4 / (x*x + 1)", 0, 1e20),
              "clenshaw-curtis_y_4_x_x_1_0_to_1e20");
    EXPECT_EQ(suggestedFileName("gauss", std::string(100, 'a'), 0, 1),
              "gauss_" + std::string(40, 'a') + "_0_to_1");
}

// A text colour the window fixes keeps its hue and reaches 4.5:1 on any back, moved only as
// far as it must; one that reads already stays as it is.
TEST(ContrastTest, ATextColourIsMovedJustFarEnoughToRead) {
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0xFF0000, 0xFFFFFF), 4.0, 0.01);
    struct Case {
        std::uint32_t fore;
        std::uint32_t back;
    };
    for (const Case& c : std::vector<Case>{{0xFF0000, 0x2A2A2A},
                                           {0xB00000, 0x353535},
                                           {0xFF0000, 0xFFFFFF},
                                           {0x0000FF, 0x000000},
                                           {0x808080, 0x7F7F7F}}) {
        SCOPED_TRACE(c.fore);
        const std::uint32_t read = readableOn(c.fore, c.back);
        EXPECT_GE(contrastRatio(read, c.back), kReadableContrast);
        // One step less would not have read: the least move.
        if (read != c.fore) {
            EXPECT_LT(contrastRatio(c.fore, c.back), kReadableContrast);
        }
        if (c.fore == 0xFF0000) {
            EXPECT_GT(read >> 16, (read >> 8) & 0xFF);  // still red
        }
    }
    EXPECT_EQ(readableOn(0x000000, 0xFFC0C0), 0x000000u);
    EXPECT_EQ(readableOn(0xB00000, 0xEFEFEF), 0xB00000u);
}

// The fixed window on a 1366 x 768 screen at the scales a projector is run at: shown smaller
// as a whole where it would not fit, at a scale at which it does.
TEST(WindowGeometryTest, TheFixedWindowIsMadeSmallerWhereTheScreenIsTooSmall) {
    const int width = 718;
    const int height = 570;
    struct Case {
        double scale;
        bool smaller;
    };
    for (const Case& c :
         std::vector<Case>{{1.0, false}, {1.2, false}, {1.25, true}, {1.5, true}, {2.0, true}}) {
        SCOPED_TRACE(c.scale);
        // What the screen offers in logical pixels at that scale, less a panel of 32 pixels.
        const ScreenBox available{0, 0, static_cast<int>(1366 / c.scale),
                                  static_cast<int>((768 - 32) / c.scale)};
        const std::optional<double> scale = fittingScale(c.scale, available, width, height);
        ASSERT_EQ(scale.has_value(), c.smaller);
        if (scale) {
            EXPECT_LT(*scale, c.scale);
            EXPECT_LE((width + kFrameWidth) * *scale, 1366);
            EXPECT_LE((height + kFrameHeight) * *scale, 768 - 32);
            EXPECT_GT((height + kFrameHeight) * (*scale + 2.0 / 64), 768 - 32);  // no smaller
        }
    }
}

// An extra window goes beside the main window where there is room, else where it leaves the
// buttons and results free; never larger than the screen.
TEST(WindowGeometryTest, AnExtraWindowGoesBesideTheMainWindow) {
    const ScreenBox wide{0, 0, 1920, 1050};
    const ScreenBox main{100, 50, 726, 610};
    EXPECT_EQ(placeBeside(main, wide, 900, 600, 653), (ScreenBox{834, 50, 900, 600}));
    EXPECT_EQ(placeBeside(ScreenBox{1100, 50, 726, 610}, wide, 900, 600, 1653),
              (ScreenBox{184, 50, 900, 600}));
    // 1280 wide: narrower than asked, but beside the main window rather than over its canvas.
    EXPECT_EQ(placeBeside(ScreenBox{0, 0, 726, 610}, ScreenBox{0, 0, 1280, 1024}, 900, 600, 553),
              (ScreenBox{734, 0, 538, 600}));
    EXPECT_EQ(placeBeside(ScreenBox{554, 0, 726, 610}, ScreenBox{0, 0, 1280, 1024}, 900, 600, 1107),
              (ScreenBox{0, 0, 538, 600}));
    // 1366 x 768 at 1.5 (911 x 512 logical): smaller than asked, left of the buttons.
    const ScreenBox small{0, 0, 911, 512};
    const ScreenBox placed = placeBeside(ScreenBox{0, 0, 726, 610}, small, 900, 600, 553);
    EXPECT_EQ(placed, (ScreenBox{0, 0, 545, 472}));
    EXPECT_LE(placed.right() + kFrameWidth, 553);
    // No room even left of the buttons: the whole screen's width.
    EXPECT_EQ(placeBeside(ScreenBox{0, 0, 500, 400}, ScreenBox{0, 0, 600, 500}, 900, 600, 300),
              (ScreenBox{0, 0, 592, 460}));
}

// A window opened from an extra window goes beside them all where the screen has room: right of
// the rightmost, else left of the leftmost, narrower only where neither side has its width.
TEST(WindowGeometryTest, AWindowFromAnExtraWindowGoesBesideThemAll) {
    const ScreenBox compare{834, 50, 728, 700};
    struct Case {
        ScreenBox main;
        std::vector<ScreenBox> others;
        ScreenBox available;
        ScreenBox placed;
    };
    const ScreenBox wide{0, 0, 2560, 1400};
    const ScreenBox fullHd{0, 0, 1920, 1050};
    for (const Case& c : {
             // Room right of the Compare window.
             Case{{100, 50, 726, 610}, {compare}, wide, {1570, 50, 900, 560}},
             // Room left of the main window only.
             Case{{1000, 50, 726, 610}, {{1734, 50, 728, 700}}, wide, {84, 50, 900, 560}},
             // Narrower: the wider of the two sides.
             Case{{100, 50, 726, 610}, {compare}, {0, 0, 2200, 1400}, {1570, 50, 622, 560}},
             Case{{900, 50, 726, 610}, {{1634, 50, 728, 700}}, wide, {0, 50, 884, 560}},
             // Beside nothing else: as beside the main window.
             Case{{100, 50, 726, 610}, {}, fullHd, {834, 50, 900, 560}},
             // No room on either side: where placeBeside() puts it.
             Case{{100, 50, 726, 610},
                  {compare},
                  fullHd,
                  placeBeside({100, 50, 726, 610}, fullHd, 900, 560, 653)},
         }) {
        EXPECT_EQ(placeBesideAll(c.main, c.others, c.available, 900, 560, 653), c.placed);
    }
}

// A tooltip never lies over the buttons, lists or boxes: left of them where the screen has
// room, else right of the window, else where it was.
TEST(WindowGeometryTest, ATooltipKeepsClearOfTheControls) {
    const ScreenBox screen{0, 0, 1366, 768};
    const ScreenBox main{0, 50, 726, 610};
    const ScreenBox controls{553, 90, 173, 570};
    struct Case {
        ScreenBox tip;
        ScreenBox placed;
    };
    for (const Case& c : std::vector<Case>{
             {{600, 400, 300, 150}, {251, 400, 300, 150}},  // a row's, over the buttons
             {{200, 500, 353, 40}, {200, 500, 353, 40}},    // the canvas's, clear of them
             {{200, 500, 354, 40}, {197, 500, 354, 40}},    // one pixel over
             {{300, 100, 600, 200}, {728, 100, 600, 200}},  // too wide for the left: right
             {{600, 659, 200, 30}, {351, 659, 200, 30}},    // its top on the last row
             {{600, 660, 200, 30}, {600, 660, 200, 30}},    // below the window
         }) {
        SCOPED_TRACE(c.tip.x);
        EXPECT_EQ(placeTooltip(c.tip, controls, main, screen), c.placed);
    }
    // Too wide for either side: below the window, else above it, else as it was.
    EXPECT_EQ(placeTooltip({300, 100, 700, 20}, controls, main, ScreenBox{0, 0, 900, 768}),
              (ScreenBox{300, 662, 700, 20}));
    EXPECT_EQ(placeTooltip({300, 100, 700, 40}, controls, main, ScreenBox{0, 0, 900, 690}),
              (ScreenBox{300, 8, 700, 40}));
    EXPECT_EQ(placeTooltip({300, 100, 700, 60}, controls, main, ScreenBox{0, 0, 900, 690}),
              (ScreenBox{300, 100, 700, 60}));
}

}  // namespace
}  // namespace integral
