#pragma once
// Where the running program lies, for the files that live beside it.
#include <string>

namespace zentro {

// The executable's full path cut after its last '/', the '/' included; the
// whole path when it has none, and "" when the path cannot be had.
std::string ExecutableFolder();

// The same cut for any path.
std::string FolderOf(const std::string& path);

}  // namespace zentro
