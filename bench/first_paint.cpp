// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and measures the time until a point of the screen takes a colour: the
// first frame of a window, as the user sees it. Run by startup.sh on an X server of its own.
// usage: first_paint X Y RRGGBB PROGRAM [ARGUMENTS...]
// Prints the milliseconds from the start to the colour, or fails after ten seconds.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: first_paint X Y RRGGBB PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const unsigned long wanted = std::stoul(argv[3], nullptr, 16);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "first_paint: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[4], argv + 4);
        _exit(127);
    }
    int status = 1;
    while (std::chrono::steady_clock::now() - started < std::chrono::seconds(10)) {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), 1, 1, ~0u),
            nullptr);
        if (image != nullptr) {
            const uint8_t* pixel = xcb_get_image_data(image);
            const unsigned long rgb = (pixel[2] << 16u) | (pixel[1] << 8u) | pixel[0];
            std::free(image);
            if (rgb == wanted) {
                const double ms = std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - started)
                                      .count();
                std::printf("%.1f\n", ms);
                status = 0;
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (status != 0) {
        std::fprintf(stderr, "first_paint: the colour did not appear\n");
    }
    return status;
}
