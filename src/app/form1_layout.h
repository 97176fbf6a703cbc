// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fixed layout as data: every control with its kind, parent, text, place and size
// in twips, tab index, visibility, font and colours, in the order the window creates them
// (a control created earlier lies over one created later). Every text the window shows is
// here too, marked for translation. The behaviour lives in form1.cpp.
#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/fonts.h"
#include "model/methods.h"

namespace integral::layout {

// Eight full-width letters and nineteen ideographic spaces.
inline constexpr std::string_view kCaption =
    QT_TRANSLATE_NOOP("Form1",
                      "Ｉｎｔｅｇｒａｌ\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"
                      "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000");

inline constexpr std::string_view kHelp = QT_TRANSLATE_NOOP(
    "Form1",
    "関数を選ぶ      Graph をクリック      Initial に入力Enter   Finalに入力Enter   "
    "黄色ボタンをクリック");

inline constexpr std::string_view kMonteCarloHint =
    QT_TRANSLATE_NOOP("Form1", "MonteCarlo では Max y を指定せよ");

// The integrand list's tooltip while one of the five is chosen, or none.
inline constexpr std::string_view kIntegrandListTooltip =
    "Choose the function to integrate; right-click or Ctrl+I to type your own";

// The summary box's tooltip before any run; a run replaces it with what its last row teaches.
inline constexpr std::string_view kSummaryTooltip = "The last estimate of the integral";

// The client area at start, in twips, and the window's back colour.
inline constexpr int kWindowWidth = 10770;
inline constexpr int kWindowHeight = 8550;
inline constexpr std::uint32_t kWindowBack = 0xFFC0C0;  // light pink

inline constexpr int kTwipsPerPixel = 15;

enum class Kind { PushButton, ListBox, TextBox, HelpBox, Label, Canvas };

struct ControlFont {
    Face face;
    double points;
    bool bold;
    bool italic;
};

struct ControlRow {
    std::string_view name;
    Kind kind;
    std::string_view parent;  // empty: the window
    std::string_view text;
    int left, top, width, height;  // twips, from the parent's client area
    int tabIndex;
    bool visible;
    ControlFont font;
    std::optional<std::uint32_t> back = std::nullopt;  // #RRGGBB; none: the kind's default
    std::optional<std::uint32_t> fore = std::nullopt;
    bool border = false;
    bool centred = false;
    bool autoSize = false;
};

inline constexpr ControlFont kGothic12Bold{Face::ProportionalGothic, 12, true, false};
inline constexpr ControlFont kGothic1125Bold{Face::ProportionalGothic, 11.25, true, false};
inline constexpr ControlFont kGothic1125BoldItalic{Face::ProportionalGothic, 11.25, true, true};
inline constexpr std::uint32_t kLabelBack = 0x80FF80;     // light green
inline constexpr std::uint32_t kMethodButton = 0xFFFF80;  // light yellow

// clang-format off
inline constexpr std::array<ControlRow, 18> kControls = {{
    // name       kind              parent      text                 left  top   width height tab visible
    {"Command6", Kind::PushButton, "",         methodInfo(Method::MonteCarlo).caption,
                                                                     8880, 6240, 1455, 375,  16, true,  kGothic12Bold, kMethodButton},
    {"Command5", Kind::PushButton, "",         methodInfo(Method::Gauss).caption,
                                                                     8880, 5880, 1455, 375,  15, true,  kGothic12Bold, kMethodButton},
    {"Command4", Kind::PushButton, "",         methodInfo(Method::Zelbrin).caption,
                                                                     8880, 5520, 1455, 375,  14, true,  kGothic12Bold, kMethodButton},
    {"Command3", Kind::PushButton, "",         QT_TRANSLATE_NOOP("Form1", "Help"),            8760, 720,  1335, 495,  12, true,  kGothic12Bold},
    {"Command2", Kind::PushButton, "",         QT_TRANSLATE_NOOP("Form1", "End"),            9000, 7680, 975,  495,  11, true,  kGothic12Bold},
    {"List2",    Kind::ListBox,    "",         "",                   8520, 4200, 2055, 1185, 9,  true,  {Face::ProportionalGothic, 11.25, false, false}},
    {"Command1", Kind::PushButton, "",         QT_TRANSLATE_NOOP("Form1", "Graph"),            8880, 2160, 1335, 495,  8,  true,  kGothic12Bold},
    {"List1",    Kind::ListBox,    "",         "",                   8280, 1320, 2535, 780,  7,  true,  kGothic12Bold},
    {"Text3",    Kind::TextBox,    "",         "",                   8760, 6960, 1455, 375,  6,  true,  kGothic1125Bold, std::nullopt, 0xFF0000},
    {"Text2",    Kind::TextBox,    "",         "x2",                 9720, 3240, 735,  330,  2,  true,  kGothic1125Bold},
    {"Text1",    Kind::TextBox,    "",         "x1",                 9720, 2760, 735,  360,  1,  true,  kGothic12Bold},
    {"Picture1", Kind::Canvas,     "",         "",                   120,  600,  8175, 8175, 0,  true,  {Face::ProportionalGothic, 18, true, true}},  // colours: the canvas's own
    {"Text4",    Kind::HelpBox,    "Picture1", "Text4",              0,    6120, 2295, 1575, 13, false, {Face::ProportionalMincho, 12, false, false}},
    {"Label5",   Kind::Label,      "Picture1", "Label5",             360,  360,  780,  285,  17, false, kGothic1125Bold, 0xFFFFFF, std::nullopt, true, false, true},
    {"Label4",   Kind::Label,      "",         QT_TRANSLATE_NOOP("Form1", "Numerical  Integration"),
                                                                     2280, 120,  4245, 435,  10, true,  {Face::Century, 18, true, true}, kWindowBack, std::nullopt, false, false, true},
    {"Label3",   Kind::Label,      "",         QT_TRANSLATE_NOOP("Form1", " n      S"),          8520, 3840, 2055, 375,  5,  true,  kGothic1125BoldItalic, kLabelBack, std::nullopt, true},
    {"Label2",   Kind::Label,      "",         QT_TRANSLATE_NOOP("Form1", "final ="),            8640, 3240, 1095, 375,  4,  true,  kGothic1125BoldItalic, kLabelBack, std::nullopt, true, true},
    {"Label1",   Kind::Label,      "",         QT_TRANSLATE_NOOP("Form1", "Initial ="),          8640, 2760, 1065, 420,  3,  true,  {Face::ProportionalGothic, 12, true, true}, kLabelBack, std::nullopt, true, true, true},
}};
// clang-format on

// What a screen reader says of each control, and of the window itself (the empty name), and
// the tooltip in English (the description where none is given); the visible texts stay as they
// are.
struct AccessibleText {
    std::string_view control;
    std::string_view name;
    std::string_view description;
    std::string_view tooltip = {};
};

extern const std::array<AccessibleText, 19> kAccessibleTexts;

// The description of the control with this name; every name used is in the table.
std::string_view descriptionOf(std::string_view control);

// The row of the control with this name; every name used is in the table.
constexpr const ControlRow& controlNamed(std::string_view name) {
    for (const ControlRow& row : kControls) {
        if (row.name == name) {
            return row;
        }
    }
    return kControls.front();
}

}  // namespace integral::layout
