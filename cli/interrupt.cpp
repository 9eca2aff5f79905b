#include "cli/interrupt.h"

#include <csignal>

#include "platform/stop_request.h"

namespace zentro::cli {

namespace {

void OnInterrupt(int signal) {
    zentro::RequestStop();
    std::signal(signal, SIG_DFL);  // asked twice, the user wants out now
}

}  // namespace

InterruptGuard::InterruptGuard()
    : previousInterrupt_(std::signal(SIGINT, OnInterrupt)), previousTerminate_(std::signal(SIGTERM, OnInterrupt)) {}

InterruptGuard::~InterruptGuard() {
    std::signal(SIGINT, previousInterrupt_ == SIG_ERR ? SIG_DFL : previousInterrupt_);
    std::signal(SIGTERM, previousTerminate_ == SIG_ERR ? SIG_DFL : previousTerminate_);
}

}  // namespace zentro::cli
