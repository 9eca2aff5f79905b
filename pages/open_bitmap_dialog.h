#pragma once
// The dialog that picks a picture to open, shared by every page that names one.
#include "platform/controls.h"
#include "platform/window_handle.h"

namespace zentro {

// Asks for a picture, owned by `owner`. When the user confirms, `target`'s text
// becomes the chosen file's full path; otherwise it is left as it was.
// True when a file was chosen.
bool BrowseForBitmap(WindowHandle owner, Edit& target);

}  // namespace zentro
