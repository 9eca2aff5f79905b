#include <iostream>

#include "cli/convert.h"
#include "platform/command_line.h"
#include "platform/crash_report.h"
#include "platform/memory_reuse.h"
#include "platform/user_language.h"

int main(int argc, char** argv) {
    zentro::ReportCrashes("zentro-cli");
    zentro::KeepFreedMemoryForReuse();
    const zentro::Utf8Console console;
    zentro::SetLanguage(zentro::UserLanguage());
    return zentro::cli::Run(zentro::CommandLineArguments(argc, argv), std::cout, std::cerr);
}
