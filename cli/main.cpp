#include <iostream>

#include "cli/convert.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
    const zentro::Utf8Console console;
    return zentro::cli::Run(zentro::CommandLineArguments(argc, argv), std::cout, std::cerr);
}
