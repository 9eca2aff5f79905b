#pragma once
// The parts of a help reference "<folder>/<name>.chm::/<topic>.html".
#include <optional>
#include <string>
#include <string_view>

namespace zentro {

struct HelpReference {
    std::string helpName;  // the help file's name, without its folder
    std::string topic;
};

// Empty for a reference without "::/", with no help file name or no topic, or
// with a topic that climbs out of the help file ("..").
std::optional<HelpReference> ParseHelpReference(std::string_view reference);

}  // namespace zentro
