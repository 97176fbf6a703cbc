#include <iostream>
#include <string_view>
#include <vector>

#include "table_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = integral::runTableCommand(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : 1;
}
