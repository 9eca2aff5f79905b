#include "platform/help_reference.h"

namespace zentro {

std::optional<HelpReference> ParseHelpReference(std::string_view reference) {
    const std::string_view::size_type separator = reference.rfind("::/");
    if (separator == std::string_view::npos) return std::nullopt;
    const std::string_view helpFile = reference.substr(0, separator);
    const std::string_view topic = reference.substr(separator + 3);
    const std::string_view::size_type slash = helpFile.find_last_of("/\\");
    const std::string_view helpName = slash == std::string_view::npos ? helpFile : helpFile.substr(slash + 1);
    if (helpName.empty() || topic.empty() || topic.find("..") != std::string_view::npos) return std::nullopt;
    return HelpReference{std::string(helpName), std::string(topic)};
}

}  // namespace zentro
