#pragma once
// Reads back a program's --help text: the options it lists and the example
// command lines it shows, so tests can hold the text to what the parser does.
#include <sstream>
#include <string>
#include <vector>

namespace zentro::test {

inline std::vector<std::string> UsageLines(const std::string& usage) {
    std::vector<std::string> lines;
    std::istringstream stream(usage);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The lines after the heading that starts with `heading`, up to a blank line.
inline std::vector<std::string> UsageSection(const std::string& usage, const std::string& heading) {
    std::vector<std::string> section;
    bool inside = false;
    for (const std::string& line : UsageLines(usage)) {
        if (!inside) {
            inside = line.rfind(heading, 0) == 0;
        } else if (line.empty()) {
            break;
        } else {
            section.push_back(line);
        }
    }
    return section;
}

// The option names in the "Options" section, one group per option line
// ({"-o", "--output"}); a line starts with its names, its description follows
// a gap of two spaces.
inline std::vector<std::vector<std::string>> ListedOptions(const std::string& usage) {
    std::vector<std::vector<std::string>> options;
    for (const std::string& line : UsageSection(usage, "Options")) {
        const std::string::size_type start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] != '-') continue;
        std::istringstream names(line.substr(start, line.find("  ", start) - start));
        std::vector<std::string> aliases;
        for (std::string name; names >> name;) {
            if (name.back() == ',') name.pop_back();
            if (name[0] == '-') aliases.push_back(name);
        }
        options.push_back(aliases);
    }
    return options;
}

inline bool IsListed(const std::vector<std::vector<std::string>>& options, const std::string& name) {
    for (const std::vector<std::string>& aliases : options)
        for (const std::string& alias : aliases)
            if (alias == name) return true;
    return false;
}

// The arguments of every example line ("  program arg...") after "Examples:".
inline std::vector<std::vector<std::string>> ExampleCommands(const std::string& usage, const std::string& program) {
    std::vector<std::vector<std::string>> commands;
    const std::string prefix = "  " + program;
    for (const std::string& line : UsageSection(usage, "Examples:")) {
        if (line.rfind(prefix, 0) != 0 || (line.size() > prefix.size() && line[prefix.size()] != ' ')) continue;
        std::istringstream words(line.substr(prefix.size()));
        std::vector<std::string> args;
        for (std::string word; words >> word;) args.push_back(word);
        commands.push_back(args);
    }
    return commands;
}

}  // namespace zentro::test
