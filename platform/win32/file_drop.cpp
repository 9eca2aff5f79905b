#include "platform/file_drop.h"

#include <string>

#include "platform/win32/window_handle.h"
#include "platform/win32/windows_api.h"

namespace zentro {

namespace {

// The one file of a drop, or "" when the drop holds several or a folder.
std::wstring DroppedFilePath(HDROP drop) {
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) != 1) return {};
    std::wstring path(static_cast<std::size_t>(::DragQueryFileW(drop, 0, nullptr, 0)) + 1, L'\0');
    path.resize(::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (path.empty() || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))) return {};
    return path;
}

LRESULT CALLBACK DropSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    switch (message) {
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            const std::wstring path = DroppedFilePath(drop);
            ::DragFinish(drop);
            if (path.empty()) return 0;
            // Through the edit's own editing, as typing would go: it can be undone.
            const auto edit = reinterpret_cast<HWND>(data);
            ::SetFocus(edit);
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
            return 0;
        }
        case WM_NCDESTROY: ::RemoveWindowSubclass(window, DropSubclass, 0); break;
        default: break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void AcceptDroppedFile(WindowHandle area, const Edit& edit) {
    // A drop on the edit inside the area reaches the area, the first window
    // up from the edit that takes files.
    const HWND window = AsHwnd(area);
    ::SetWindowSubclass(window, DropSubclass, 0, reinterpret_cast<DWORD_PTR>(AsHwnd(edit.Handle())));
    ::DragAcceptFiles(window, TRUE);
}

}  // namespace zentro
