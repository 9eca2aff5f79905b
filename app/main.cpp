#include <cstdio>

#include "app/bmp_icon_app.h"
#include "platform/qt/command_line.h"

namespace {

zentro::CBmpIconApp theApp;

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const zentro::CommandLineInfo commandLine = zentro::ParseCommandLine(arguments);
    switch (commandLine.action) {
        case zentro::CommandLineInfo::Action::ShowUsage: std::fputs(zentro::kWizardUsage, stdout); return 0;
        case zentro::CommandLineInfo::Action::ShowVersion: std::printf("zentro %s\n", ZENTRO_VERSION); return 0;
        case zentro::CommandLineInfo::Action::Invalid:
            std::fprintf(stderr, "zentro: %s\nTry 'zentro --help'.\n", commandLine.error.c_str());
            return 2;
        case zentro::CommandLineInfo::Action::RunWizard: break;
    }
    theApp.SetArguments(arguments);
    return zentro::RunApplication(argv[0]);
}
