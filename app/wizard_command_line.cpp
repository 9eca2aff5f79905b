#include "app/wizard_command_line.h"

namespace zentro {

const char* const kWizardUsage =
    "Usage: zentro [FILE]\n"
    "       zentro --help | --version\n"
    "Turns a bitmap (.bmp) into a Windows icon (.ico) with a five-page wizard.\n"
    "\n"
    "FILE, if given, is the bitmap to convert: the wizard opens with its path\n"
    "already in the Input page's edit box, as if it had been typed there, and\n"
    "reads it only when Next is pressed. Without FILE the box starts empty.\n"
    "At most one file may be given.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "      --         end of the options: what follows is the file name,\n"
    "                 even when it starts with '-'\n"
    "\n"
    "Examples:\n"
    "  zentro\n"
    "      the wizard with an empty Input page\n"
    "  zentro pictures/logo.bmp\n"
    "      the wizard with pictures/logo.bmp on the Input page\n"
    "  zentro -- -logo.bmp\n"
    "      a file whose name starts with '-'\n"
    "  zentro --help\n"
    "      this text\n"
    "  zentro --version\n"
    "      \"zentro\" and the version number\n"
    "\n"
    "Exit status: 0, also when the wizard is cancelled; 2 on a usage error.\n";

CommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineInfo info;
    bool optionsEnded = false;
    bool wantsUsage = false;
    bool wantsVersion = false;
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            wantsUsage = true;
        } else if (!optionsEnded && argument == "--version") {
            wantsVersion = true;
        } else if (!optionsEnded && argument.front() == '-' && argument.size() > 1) {
            if (info.error.empty()) info.error = "unknown option " + argument;
        } else if (info.fileName.empty()) {
            info.fileName = argument;
        } else if (info.error.empty()) {
            info.error = "more than one file name: " + argument;
        }
    }
    if (wantsUsage)
        info.action = CommandLineInfo::Action::ShowUsage;
    else if (wantsVersion)
        info.action = CommandLineInfo::Action::ShowVersion;
    else if (!info.error.empty())
        info.action = CommandLineInfo::Action::Invalid;
    return info;
}

}  // namespace zentro
