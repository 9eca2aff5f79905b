#pragma once
// Long work without a frozen window. The work runs on a worker thread while
// the GUI thread waits in a local event loop, so the window goes on painting.
// Meanwhile the window shows the busy cursor and ignores the user's input, so
// nothing else happens until the work is done; work that takes a while also
// brings up an indeterminate progress bar. The work's messages are handed to
// the GUI thread's message handler, as if the work had run on that thread.
#include <functional>

#include "platform/worker_run.h"

class QWidget;

namespace zentro {

// How long work runs before the progress bar appears.
constexpr int kProgressDelayMs = 300;

// Runs `work` and returns its result; an exception it throws is rethrown
// here. `window` (its top-level window) is the one kept from input.
bool RunOnWorkerThread(QWidget& window, const std::function<bool()>& work);

}  // namespace zentro
