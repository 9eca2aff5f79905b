#include "platform/qt/command_line.h"

namespace zentro {

CommandLineInfo ParseCommandLine(const QStringList& arguments) {
    CommandLineInfo info;
    bool optionsEnded = false;
    bool wantsUsage = false;
    bool wantsVersion = false;
    for (const QString& argument : arguments) {
        if (argument.isEmpty()) continue;
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            wantsUsage = true;
        } else if (!optionsEnded && argument == QLatin1String("--version")) {
            wantsVersion = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (info.error.empty()) info.error = "unknown option " + argument.toStdString();
        } else if (info.fileName.empty()) {
            info.fileName = argument.toStdString();
        } else if (info.error.empty()) {
            info.error = "more than one file name: " + argument.toStdString();
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
