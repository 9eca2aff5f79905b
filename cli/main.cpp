#include <iostream>

#include "cli/convert.h"
#include "platform/command_line.h"
#include "platform/crash_report.h"

int main(int argc, char** argv) {
    zentro::ReportCrashes("zentro-cli");
    const zentro::Utf8Console console;
    return zentro::cli::Run(zentro::CommandLineArguments(argc, argv), std::cout, std::cerr);
}
