#pragma once
// zentro-cli's reading of icons: --list, --check and --extract DIR.
#include <ostream>
#include <string>

#include "cli/options.h"

namespace zentro::cli {

// Lists, checks and unpacks the icon or cursor at `path` as `options` ask, the
// results going to `out` and failures to the message display. True when the
// file was read, has no fault (with --check) and every image was unpacked.
bool RunIconCommand(const std::string& path, const Options& options, std::ostream& out);

}  // namespace zentro::cli
