#pragma once
// The platform's dialogs that pick a file to open and a folder.
#include <string>

#include "platform/window_handle.h"

namespace zentro {

// Asks for a file to open, owned by `owner`. `filter` is in the resource
// style, "description|patterns|...||" with patterns separated by ';'; a name
// typed without an extension gets `defaultExtension`, and one that does not
// exist is let through. True, with `path` the chosen file's full path in the
// platform's separators, when the user confirms; `path` is left alone otherwise.
bool ShowOpenDialog(WindowHandle owner, const std::string& filter, const std::string& defaultExtension,
                    std::string& path);

// Asks for a folder, owned by `owner`; as ShowOpenDialog for the result.
bool ShowFolderDialog(WindowHandle owner, std::string& folder);

}  // namespace zentro
