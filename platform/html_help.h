#pragma once
// The HTML help viewer. References name a help file and a topic in it,
// "<folder>/<name>.chm::/<topic>.html"; the topics are built into the program,
// so the folder part only says where the file would lie. The viewer is one
// window, reused for every topic.
#include <cstdint>

#include "platform/window_handle.h"

namespace zentro {

constexpr unsigned kHelpDisplayTopic = 0;

// Shows the topic `file` names (`command` kHelpDisplayTopic, `data` unused).
// Returns the viewer window as an integer, or 0 (and opens nothing, says
// nothing) for another command, a malformed reference or an unknown topic.
// With no `owner`, the viewer stays usable beside a running modal wizard.
std::intptr_t HtmlHelpA(WindowHandle owner, const char* file, unsigned command, std::uintptr_t data);

}  // namespace zentro
