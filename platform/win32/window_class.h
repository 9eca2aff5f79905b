#pragma once
// The program's own window classes, registered on first use.
#include "platform/win32/windows_api.h"

namespace zentro {

// The class `name` with `procedure`, white background and the arrow cursor;
// registered the first time it is asked for.
const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure);

}  // namespace zentro
