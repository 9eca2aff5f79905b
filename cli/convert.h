#pragma once
// One conversion of the command line: a bitmap in, an icon (and previews) out.
#include <ostream>
#include <string>
#include <vector>

#include "cli/options.h"
#include "platform/message.h"

namespace zentro::cli {

// Converts `inputs` into one icon (each size from the picture that fits it best);
// every message goes to the message display, the list of written images to
// `report`. True when the icon was written.
bool Convert(const std::vector<std::string>& inputs, const Options& options, std::ostream& report);

// The rules a conversion follows: the classic ones with --classic, else today's,
// with the options that change them.
ConversionRules ChooseRules(const Options& options);

// How a report line names the pictures of one icon.
std::string InputsLabel(const std::vector<std::string>& inputs);

// The line that shows `message` on standard error: it names the file the message is
// about, else `about` (the input at hand).
std::string MessageLine(const std::string& about, const Message& message);
std::string MessageLine(const std::string& about, const std::string& text);

// True when something stands at `path`, which only --force replaces; a link that
// leads nowhere counts, as writing there would make its target.
bool PathTaken(const std::string& path);

// Exit status of a whole run: 0 done, 1 a conversion failed, 2 usage error.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zentro::cli
