#pragma once
// Files dropped from a file manager: a picture dropped on a page goes into the
// page's path edit as if its path had been typed there.
#include "platform/controls.h"
#include "platform/window_handle.h"

namespace zentro {

// The one local file (not a folder) dropped on `area` or on `edit` (which may
// lie inside it) replaces the edit's text with its path. Drags that carry no
// such file are left to the controls, so text can still be dragged into the edit.
void AcceptDroppedFile(WindowHandle area, const Edit& edit);

}  // namespace zentro
