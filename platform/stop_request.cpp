#include "platform/stop_request.h"

#include <atomic>

namespace zentro {

namespace {

// Lock-free, so that a signal handler may set it.
std::atomic<bool> gStop{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

void RequestStop() noexcept { gStop.store(true); }

bool StopRequested() noexcept { return gStop.load(); }

void ClearStopRequest() noexcept { gStop.store(false); }

}  // namespace zentro
