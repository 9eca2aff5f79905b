#include "platform/win32/gui_thread.h"

#include <exception>

#include "platform/win32/window_class.h"
#include "platform/win32/windows_api.h"

namespace zentro {

namespace {

HWND gCallWindow = nullptr;
DWORD gGuiThread = 0;

struct Call {
    const std::function<void()>& call;
    std::exception_ptr failure;
};

LRESULT CALLBACK CallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return ::DefWindowProcW(window, message, wParam, lParam);
    auto* call = reinterpret_cast<Call*>(lParam);
    try {
        call->call();
    } catch (...) {
        call->failure = std::current_exception();
    }
    return 0;
}

}  // namespace

void InstallGuiThreadCalls() {
    gGuiThread = ::GetCurrentThreadId();
    gCallWindow = ::CreateWindowExW(0, WindowClass(L"ZentroGuiThreadCalls", CallWindowProc), nullptr, 0, 0, 0, 0, 0,
                                    HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

void CallOnGuiThread(const std::function<void()>& call) {
    if (gCallWindow == nullptr || ::GetCurrentThreadId() == gGuiThread) {
        call();
        return;
    }
    Call request{call, nullptr};
    ::SendMessageW(gCallWindow, WM_APP, 0, reinterpret_cast<LPARAM>(&request));
    if (request.failure) std::rethrow_exception(request.failure);
}

}  // namespace zentro
