// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <new>
#include <string_view>
#include <vector>

#include "file_output.h"
#include "table_command.h"

namespace {

constexpr std::string_view kOutOfMemory = "integral-table: out of memory\n";

// Memory kept aside from the start and given back when an allocation fails, so that the
// std::bad_alloc thrown then, and the message and the rows printed after it, find memory.
// (The runtime's own emergency store for exceptions is made before any code of ours runs;
// when memory is that short it is empty, and a throw without this would abort.)
void* reserve = nullptr;
bool inMain = false;

void outOfMemory() {
    if (inMain && reserve != nullptr) {
        std::free(reserve);
        reserve = nullptr;
        throw std::bad_alloc();
    }
    // Nothing left to give back, or the program's static objects are still being made, where
    // a throw could only abort: say so and end, writing with nothing that allocates.
    (void)!::write(STDERR_FILENO, kOutOfMemory.data(), kOutOfMemory.size());
    ::_exit(4);
}

// Installed before any other static object of the program is made.
struct OutOfMemoryGuard {
    OutOfMemoryGuard() {
        std::set_new_handler(outOfMemory);
        reserve = std::malloc(64 * 1024);
    }
};
OutOfMemoryGuard guard __attribute__((init_priority(101)));

}  // namespace

int main(int argc, char** argv) {
    inMain = true;
    int status = 0;
    {
        integral::FileOutput output(STDOUT_FILENO);
        std::ostream out(&output);
        const std::vector<std::string_view> args(argv + 1, argv + argc);
        status = integral::runTableCommand(args, out, std::cerr);
    }
    return status;
}
