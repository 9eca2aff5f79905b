#pragma once
// Why the system refused to open, read or write a file, in the terms a user can
// act on, and the text that tells it.
#include <string>

namespace zentro {

enum class FileFailure {
    None,
    Unknown,
    Missing,          // no such file, or for a new file no such folder
    IsAFolder,        // a folder stands where the file should be
    NotARegularFile,  // a pipe, a device
    PermissionDenied,
    ReadOnlyDisk,
    DiskFull,
    NameTooLong,
    PathNotAFolder,  // a part of the path is a file
    InUse,           // held open by another program (Windows)
    InputOutput,
};

// From an errno value (the C runtime's on Windows too).
FileFailure FailureOfErrno(int error);

// The text of the reason, as messages 102, 117 and 119 name it. `creating`: the file
// was to be made, so that a missing part of its path is a folder.
std::string FailureReason(FileFailure failure, bool creating);

}  // namespace zentro
