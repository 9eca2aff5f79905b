#pragma once
// Ctrl-C and termination while a batch runs.

namespace zentro::cli {

// While one exists, SIGINT and SIGTERM request a stop (platform/stop_request.h)
// instead of ending the program at once, so the files in progress can be left
// cleanly; a second signal ends the program as usual.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*previousInterrupt_)(int);
    void (*previousTerminate_)(int);
};

// The exit status of a run that was interrupted, as shells report one ended by SIGINT.
constexpr int kInterruptedStatus = 130;

}  // namespace zentro::cli
