// Dies of an access violation two calls deep on a thread of its own, as the
// command line's workers would, with the crash report installed: the Windows
// suite checks that the report names the fault, the module and the callers.
#include <cstdint>
#include <thread>

#include "platform/crash_report.h"

namespace {

// Read at run time, so that the compiler cannot see the store is to no memory.
volatile std::uintptr_t gNowhere = 16;

[[gnu::noinline]] void Store() { *reinterpret_cast<volatile int*>(gNowhere) = 1; }

[[gnu::noinline]] void CallStore() {
    Store();
    asm volatile("");  // keeps the call from becoming a jump, so that this frame shows
}

}  // namespace

int main() {
    zentro::ReportCrashes("crash_on_purpose");
    std::thread(CallStore).join();
    return 0;
}
