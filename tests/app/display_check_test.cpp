// SPDX-License-Identifier: GPL-3.0-or-later
// Run by x_display_starts.sh against an X server of its own with no other client: such a
// server resets itself when its last client goes, and refuses connections for a moment.
#include "app/display_check.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace integral {
namespace {

struct Xcb {
    void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    void* (*connect)(const char*,
                     int*) = reinterpret_cast<void* (*)(const char*, int*)>(::dlsym(library,
                                                                                    "xcb_connect"));
    int (*hasError)(void*) = reinterpret_cast<int (*)(void*)>(::dlsym(library,
                                                                      "xcb_connection_has_error"));
    void (*disconnect)(void*) = reinterpret_cast<void (*)(void*)>(::dlsym(library,
                                                                          "xcb_disconnect"));
    ~Xcb() { ::dlclose(library); }
};

// The toolkit connects right after the check: the check must not have left the server without
// a client in between, and must get through a reset that the last start's end began.
TEST(DisplayCheckTest, TheToolkitConnectsRightAfterTheCheck) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr);
    Xcb xcb;
    ASSERT_NE(xcb.library, nullptr);
    int refused = 0;
    for (int start = 0; start < 40; ++start) {
        DisplayVerdict verdict = checkDisplay();
        ASSERT_FALSE(verdict.problem) << *verdict.problem;
        void* toolkit = xcb.connect(nullptr, nullptr);
        refused += xcb.hasError(toolkit) != 0 ? 1 : 0;
        verdict.heldX.reset();
        xcb.disconnect(toolkit);  // the server's last client: it resets now
    }
    EXPECT_EQ(refused, 0);
}

}  // namespace
}  // namespace integral
