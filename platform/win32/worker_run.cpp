#include "platform/worker_run.h"

#include <exception>
#include <memory>
#include <thread>

#include "platform/message.h"
#include "platform/string_table.h"
#include "platform/wide_text.h"
#include "platform/win32/gui_thread.h"
#include "platform/win32/window_handle.h"
#include "platform/win32/windows_api.h"

namespace zentro {

namespace {

bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

bool IsIn(HWND window, HWND root) { return root != nullptr && (window == root || ::IsChild(root, window)); }

// A small window with a bar that runs to and fro: the work has no measure.
HWND ShowProgress(HWND owner) {
    const int width = ::MulDiv(300, ::GetSystemMetrics(SM_CYCAPTION), 23);
    const int height = ::GetSystemMetrics(SM_CYCAPTION) * 2;
    RECT over;
    ::GetWindowRect(owner, &over);
    const HWND progress = ::CreateWindowExW(
        WS_EX_DLGMODALFRAME, PROGRESS_CLASSW, WideFromUtf8(LoadString(IDS_APP_TITLE), BadUtf8::Replace).c_str(),
        WS_POPUP | WS_CAPTION | PBS_MARQUEE, (over.left + over.right - width) / 2,
        (over.top + over.bottom - height) / 2, width, height, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(progress, PBM_SETMARQUEE, TRUE, 30);
    ::ShowWindow(progress, SW_SHOWNA);
    return progress;
}

// While the work runs, the busy window shows the busy cursor over all its
// parts (its controls ask it first) and refuses to be closed, by the taskbar
// or otherwise, as it ignores the user's other input.
LRESULT CALLBACK BusySubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_SETCURSOR:
            // Under a message box the system's own answer stands: it points the user to the box.
            if (LOWORD(lParam) == static_cast<WORD>(HTERROR)) break;
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_CLOSE: return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
            break;
        default: break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// A message waits for the user, who should not see the busy cursor over it.
MessageReply ShowWithArrowCursor(const Message& message) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    const MessageReply reply = ShowMessageText(message.id, message.text, message.icon, message.buttons);
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return reply;
}

}  // namespace

bool RunOnWorkerThread(WindowHandle window, const std::function<bool()>& work) {
    const HWND busy = ::GetAncestor(AsHwnd(window), GA_ROOT);
    const HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (done == nullptr) return work();
    // Closed however this ends, a thread that could not start included.
    const std::unique_ptr<void, decltype(&::CloseHandle)> closeDone(done, &::CloseHandle);
    bool result = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        {
            ScopedMessageHandler messages([](const Message& message) {
                MessageReply reply = MessageReply::Ok;
                CallOnGuiThread([&] { reply = ShowWithArrowCursor(message); });
                return reply;
            });
            try {
                result = work();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        ::SetEvent(done);
    });

    ::SetWindowSubclass(busy, BusySubclass, 0, 0);
    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    ::SetCursor(wait);
    const ULONGLONG progressAt = ::GetTickCount64() + kProgressDelayMs;
    HWND progress = nullptr;
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD timeout = progress != nullptr ? INFINITE
                              : now >= progressAt ? 0
                                                  : static_cast<DWORD>(progressAt - now);
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &done, FALSE, timeout, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        if (woken == WAIT_TIMEOUT) {
            progress = ShowProgress(busy);
            continue;
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            // The busy windows ignore the user; others, such as the message
            // boxes that the work raises, take their input.
            if (IsUserInput(message.message) && (IsIn(message.hwnd, busy) || IsIn(message.hwnd, progress))) {
                ::SetCursor(wait);
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    worker.join();
    ::RemoveWindowSubclass(busy, BusySubclass, 0);
    if (progress != nullptr) ::DestroyWindow(progress);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    if (failure) std::rethrow_exception(failure);
    return result;
}

}  // namespace zentro
