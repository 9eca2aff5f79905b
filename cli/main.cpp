#include <iostream>

#include "cli/convert.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return zentro::cli::Run(args, std::cout, std::cerr);
}
