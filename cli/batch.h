#pragma once
// Converting everything a command line names, several files at once.
#include <ostream>

#include "cli/options.h"

namespace zentro::cli {

// Converts the inputs (folders opened up) on up to `options.jobs` threads. Each file's
// report and messages come out whole and in input order, as if the files had been
// converted one after another. Returns the run's exit status.
int RunBatch(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace zentro::cli
