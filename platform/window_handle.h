#pragma once
// A window or control of the platform's toolkit, as the pages hold it: an
// opaque pointer that only the platform layer looks through, the way a window
// handle is held on Windows.

namespace zentro {

struct NativeWindow;
using WindowHandle = NativeWindow*;

}  // namespace zentro
