#pragma once
// The Windows side of the platform's handles: a WindowHandle is an HWND.
#include "platform/win32/windows_api.h"
#include "platform/window_handle.h"

namespace zentro {

inline HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle HandleOf(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace zentro
