// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_check.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace integral {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// An X display answers when the X client library connects to it, authorisation included. The
// library is the toolkit's own dependency, looked up at run time so that nothing more is
// linked; without it the toolkit cannot use X either. The connection is returned open (see
// DisplayVerdict::heldX). A refused connection is tried again for a while: the server may be
// resetting because the last client, a window of this program a moment ago, just went.
std::shared_ptr<void> connectToX() {
    void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
        return nullptr;
    }
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(library, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(library, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(library, "xcb_disconnect"));
    if (connect == nullptr || hasError == nullptr || disconnect == nullptr) {
        ::dlclose(library);
        return nullptr;
    }
    // A second in all, for a server that is not there; a try that itself takes long (a
    // remote display that does not answer) is not made again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    constexpr useconds_t kPause = 5'000;
    while (true) {
        void* connection = connect(nullptr, nullptr);
        if (connection != nullptr && hasError(connection) == 0) {
            return {connection, [library, disconnect](void* held) {
                        disconnect(held);
                        ::dlclose(library);
                    }};
        }
        if (connection != nullptr) {
            disconnect(connection);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        ::usleep(kPause);
    }
    ::dlclose(library);
    return nullptr;
}

// A Wayland display answers when its socket accepts a connection.
bool waylandDisplayAnswers(const std::string& name) {
    std::string path = name;
    if (path.empty() || path.front() != '/') {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        path = runtime + "/" + path;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return false;
    }
    const bool answers =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}

// A name as the message shows it: printable ASCII only, and not too long.
std::string shown(const std::string& name) {
    std::string result;
    for (const char c : name.substr(0, 60)) {
        result += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return name.size() > 60 ? result + "..." : result;
}

bool toolkitSpeaksWayland() {
    const QString platforms =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/");
    return QFileInfo::exists(platforms + QStringLiteral("libqwayland-generic.so")) ||
           QFileInfo::exists(platforms + QStringLiteral("libqwayland-egl.so"));
}

}  // namespace

DisplayVerdict checkDisplay() {
    const std::string chosen = environment("QT_QPA_PLATFORM");
    const std::string x = environment("DISPLAY");
    const std::string wayland = environment("WAYLAND_DISPLAY");
    const bool wantsX = chosen.empty() || chosen.rfind("xcb", 0) == 0;
    const bool wantsWayland = chosen.empty() || chosen.rfind("wayland", 0) == 0;
    if (!wantsX && !wantsWayland) {
        return {};
    }
    if ((!wantsX || x.empty()) && (!wantsWayland || wayland.empty())) {
        return {
            "integral: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY "
            "is set); run it in a desktop session, or use integral-table for the tables "
            "alone.",
            {},
            nullptr};
    }
    std::shared_ptr<void> heldX = wantsX && !x.empty() ? connectToX() : nullptr;
    const bool xAnswers = heldX != nullptr;
    const bool waylandAnswers = wantsWayland && !wayland.empty() &&
                                waylandDisplayAnswers(wayland) && toolkitSpeaksWayland();
    if (xAnswers && waylandAnswers) {
        return {std::nullopt, {}, heldX};
    }
    if (xAnswers) {
        return {std::nullopt, wayland.empty() || !chosen.empty() ? std::string() : "xcb", heldX};
    }
    if (waylandAnswers) {
        return {std::nullopt, x.empty() || !chosen.empty() ? std::string() : "wayland", nullptr};
    }
    std::string problem = "integral: cannot open the display";
    if (wantsX && !x.empty()) {
        problem += " DISPLAY='" + shown(x) + "' (no X server answers there)";
    }
    if (wantsWayland && !wayland.empty()) {
        problem += wantsX && !x.empty() ? " nor" : "";
        problem += " WAYLAND_DISPLAY='" + shown(wayland) + "'";
        problem += waylandDisplayAnswers(wayland)
                       ? " (the toolkit's Wayland support, package qt6-wayland, is missing)"
                       : " (no Wayland compositor answers there)";
    }
    problem += "; start it from a terminal of a running desktop session.";
    return {problem, {}, nullptr};
}

}  // namespace integral
