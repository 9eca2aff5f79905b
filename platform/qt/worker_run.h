#pragma once
// Long work without a frozen window (see platform/worker_run.h), on Qt: the GUI
// thread waits in a local event loop while the work runs, so the window goes
// on painting, and the work's messages are handed to the GUI thread's message
// handler.
#include <functional>

#include "platform/worker_run.h"

class QWidget;

namespace zentro {

// As RunOnWorkerThread(WindowHandle, work), for a widget.
bool RunOnWorkerThread(QWidget& window, const std::function<bool()>& work);

}  // namespace zentro
