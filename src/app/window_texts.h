// The window's own texts, exactly as the user sees them.
#pragma once

namespace integral::texts {

// Eight full-width letters and nineteen ideographic spaces.
inline constexpr const char* kCaption =
    "Ｉｎｔｅｇｒａｌ\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000"
    "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000";

inline constexpr const char* kHelp =
    "関数を選ぶ      Graph をクリック      Initial に入力Enter   Finalに入力Enter   "
    "黄色ボタンをクリック";

inline constexpr const char* kMonteCarloHint = "MonteCarlo では Max y を指定せよ";

}  // namespace integral::texts
