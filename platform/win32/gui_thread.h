#pragma once
// Work that must happen on the window thread (message boxes owned by its
// windows), asked for from any thread.
#include <functional>

namespace zentro {

// Makes the calling thread the window thread.
void InstallGuiThreadCalls();

// Runs `call` on the window thread and waits for it; on that thread, or before
// there is one, it runs at once. The window thread runs it whenever it takes
// messages, including inside a modal loop. An exception it throws is rethrown here.
void CallOnGuiThread(const std::function<void()>& call);

}  // namespace zentro
