#pragma once
// One conversion of the command line: a bitmap in, an icon (and previews) out.
#include <ostream>
#include <string>

#include "cli/options.h"

namespace zentro::cli {

// Converts `input`; every message goes to the message display, the list of
// written images to `report`. True when the icon was written.
bool Convert(const std::string& input, const Options& options, std::ostream& report);

// Exit status of a whole run: 0 done, 1 a conversion failed, 2 usage error.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zentro::cli
