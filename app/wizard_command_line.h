#pragma once
// The wizard's command line: `zentro [FILE]`, `zentro --help`, `zentro --version`.
#include <string>
#include <vector>

namespace zentro {

struct CommandLineInfo {
    enum class Action { RunWizard, ShowUsage, ShowVersion, Invalid };
    Action action = Action::RunWizard;
    std::string fileName;  // UTF-8; empty when none was given
    std::string error;     // why the line is Invalid
};

// What `zentro --help` prints: every option, the file argument, examples.
extern const char* const kWizardUsage;

// `arguments` come without the program name, in UTF-8. Asking for help or the version
// wins over any mistake elsewhere on the line; "--" ends the options, so a
// file whose name starts with '-' can be given after it.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zentro
