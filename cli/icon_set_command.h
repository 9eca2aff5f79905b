#pragma once
// zentro-cli --set: every platform's icons of one design.
#include <ostream>

#include "cli/options.h"

namespace zentro::cli {

// Makes the set that `options` asks for: the files written go to `out`, every
// message to `err`. The exit status: 0 written (some parts may be left out), 1 a
// failure or files in the way, 130 interrupted.
int RunIconSet(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace zentro::cli
