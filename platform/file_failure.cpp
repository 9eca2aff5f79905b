#include "platform/file_failure.h"

#include <cerrno>

#include "platform/string_table.h"

namespace zentro {

FileFailure FailureOfErrno(int error) {
    switch (error) {
        case ENOENT: return FileFailure::Missing;
        case EISDIR: return FileFailure::IsAFolder;
        case EACCES:
        case EPERM: return FileFailure::PermissionDenied;
        case EROFS: return FileFailure::ReadOnlyDisk;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG: return FileFailure::DiskFull;
        case ENAMETOOLONG: return FileFailure::NameTooLong;
        case ENOTDIR: return FileFailure::PathNotAFolder;
        case EBUSY:
        case ETXTBSY: return FileFailure::InUse;
        case EIO: return FileFailure::InputOutput;
        default: return FileFailure::Unknown;
    }
}

std::string FailureReason(FileFailure failure, bool creating) {
    switch (failure) {
        case FileFailure::Missing: return LoadString(creating ? IDS_REASON_NO_SUCH_FOLDER : IDS_REASON_NO_SUCH_FILE);
        case FileFailure::IsAFolder: return LoadString(IDS_REASON_IS_A_FOLDER);
        case FileFailure::NotARegularFile: return LoadString(IDS_REASON_NOT_A_REGULAR_FILE);
        case FileFailure::PermissionDenied: return LoadString(IDS_REASON_PERMISSION_DENIED);
        case FileFailure::ReadOnlyDisk: return LoadString(IDS_REASON_READ_ONLY_DISK);
        case FileFailure::DiskFull: return LoadString(IDS_REASON_DISK_FULL);
        case FileFailure::NameTooLong: return LoadString(IDS_REASON_NAME_TOO_LONG);
        case FileFailure::PathNotAFolder: return LoadString(IDS_REASON_PATH_NOT_A_FOLDER);
        case FileFailure::InUse: return LoadString(IDS_REASON_IN_USE);
        case FileFailure::InputOutput: return LoadString(IDS_REASON_INPUT_OUTPUT);
        case FileFailure::None:
        case FileFailure::Unknown: break;
    }
    return LoadString(IDS_REASON_UNKNOWN);
}

}  // namespace zentro
