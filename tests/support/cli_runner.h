#pragma once
// Runs the command line in this process. Header only: only tests that link the
// command line's library include it.
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert.h"

namespace zentro::test {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::Run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace zentro::test
