// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the window has a display to open on, asked before the toolkit starts: the toolkit
// aborts (status 134, "Reinstalling the application may fix this problem") when the display
// the environment names is not there, where the program should end with one line saying which.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace integral {

struct DisplayVerdict {
    // Why the window cannot open, in one line; nothing when it can.
    std::optional<std::string> problem;
    // The platform to start the toolkit on when only one of two named displays answers, so
    // that it does not try the other first; empty to leave the choice to the toolkit.
    std::string platform;
    // The check's own connection to the X display, kept open until the toolkit has made its
    // own: an X server with no client left resets itself, and a connection made during the
    // reset is refused. Release it (reset()) once the toolkit is connected.
    std::shared_ptr<void> heldX;
};

// Reads DISPLAY, WAYLAND_DISPLAY, XDG_RUNTIME_DIR and QT_QPA_PLATFORM. A platform the user
// chose other than X or Wayland (offscreen, vnc, ...) is left to the toolkit.
DisplayVerdict checkDisplay();

}  // namespace integral
