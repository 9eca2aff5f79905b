#pragma once
// Long work without a frozen window. The work runs on a worker thread while
// the window's thread goes on painting; meanwhile the window shows the busy
// cursor and ignores the user's input, and work that takes a while brings up
// an indeterminate progress bar. The work's messages are shown by the
// window's thread, as if the work had run there.
#include <functional>

#include "platform/window_handle.h"

namespace zentro {

// How long work runs before the progress bar appears.
constexpr int kProgressDelayMs = 300;

// Runs `work` and returns its result; an exception it throws is rethrown
// here. `window`'s top-level window is the one kept from input.
bool RunOnWorkerThread(WindowHandle window, const std::function<bool()>& work);

}  // namespace zentro
