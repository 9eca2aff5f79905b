#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/stop_request.h"
#include "platform/utf8_path.h"
#include "platform/wide_text.h"

namespace zentro {

namespace {

#ifdef _WIN32
// Paths are UTF-8 throughout the program; the C runtime's narrow calls would
// read them in the ANSI code page, so the file layer goes through the wide calls.
std::wstring Wide(const std::string& utf8) { return WideFromUtf8(utf8); }

// Binary mode: the text mode default would turn every 0x0A written into 0x0D 0x0A.
int OpenReadOnly(const std::string& path) { return ::_wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT); }

int OpenNew(const std::string& path) {
    return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

// What stands at an open descriptor that is not a regular file.
FileFailure NotRegular(int fd) {
    struct _stat64 info {};
    if (::_fstat64(fd, &info) != 0) return FileFailure::InputOutput;
    if ((info.st_mode & _S_IFMT) == _S_IFREG) return FileFailure::None;
    return (info.st_mode & _S_IFMT) == _S_IFDIR ? FileFailure::IsAFolder : FileFailure::NotARegularFile;
}

// The C runtime says only "access denied" for a folder it will not open.
FileFailure OpenFailure(const std::string& path, int error) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (error == EACCES && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileFailure::IsAFolder;
    return FailureOfErrno(error);
}

FileFailure FailureOfWindowsError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return FileFailure::Missing;
        case ERROR_ACCESS_DENIED: return FileFailure::PermissionDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return FileFailure::InUse;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return FileFailure::DiskFull;
        case ERROR_WRITE_PROTECT: return FileFailure::ReadOnlyDisk;
        case ERROR_FILENAME_EXCED_RANGE: return FileFailure::NameTooLong;
        default: return FileFailure::Unknown;
    }
}

bool SyncDescriptor(int fd) { return ::_commit(fd) == 0; }
// Every rename is written through (ReplaceTarget); there is no cheap flush of everything.
void SyncEverything() {}
bool SeekDescriptor(int fd, std::uint64_t offset) {
    return ::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) >= 0;
}
// Windows has no permission bits worth carrying over.
void KeepPermissions(const std::string&, int) {}
// A read-only file is one its owner asked Windows to keep: it is not replaced,
// which is also what MoveFileExW does on Windows itself (Wine would rename over it).
// None when the target may be replaced, else why not.
FileFailure Unreplaceable(const std::string& target) {
    const DWORD attributes = ::GetFileAttributesW(Wide(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileFailure::None;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileFailure::IsAFolder;
    if ((attributes & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) return FileFailure::NotARegularFile;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return FileFailure::PermissionDenied;
    return FileFailure::None;
}
bool Exists(const std::string& target) { return ::GetFileAttributesW(Wide(target).c_str()) != INVALID_FILE_ATTRIBUTES; }
// None once renamed, else why not.
FileFailure ReplaceTarget(const std::string& from, const std::string& to) {
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return FileFailure::None;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED) return FailureOfWindowsError(error);
    // Windows refuses to replace a file another program holds open as it refuses
    // one it may not touch: only opening the file alone tells the two apart.
    const HANDLE alone = ::CreateFileW(Wide(to).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (alone == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? FileFailure::InUse : FileFailure::PermissionDenied;
    ::CloseHandle(alone);
    return FileFailure::PermissionDenied;
}
void RemoveFile(const std::string& path) { ::_wunlink(Wide(path).c_str()); }

constexpr const char* kSeparators = "/\\";
#else
int OpenReadOnly(const std::string& path) {
    // Non-blocking so that a named pipe cannot hang the open; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int OpenNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

// What stands at an open descriptor that is not a regular file; None for a regular file.
FileFailure NotRegular(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return FileFailure::InputOutput;
    if (S_ISREG(info.st_mode)) return FileFailure::None;
    return S_ISDIR(info.st_mode) ? FileFailure::IsAFolder : FileFailure::NotARegularFile;
}

FileFailure OpenFailure(const std::string&, int error) { return FailureOfErrno(error); }

bool SyncDescriptor(int fd) { return ::fsync(fd) == 0; }
void SyncEverything() { ::sync(); }
bool SeekDescriptor(int fd, std::uint64_t offset) { return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0; }

// A replaced file keeps its permissions.
void KeepPermissions(const std::string& target, int fd) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::fchmod(fd, info.st_mode & 07777);
}

// Renaming over a pipe, a device or a link that leads nowhere would destroy it:
// only a regular file, or nothing yet, may be replaced. None when it may, else why not.
FileFailure Unreplaceable(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return FileFailure::None;
    return S_ISDIR(info.st_mode) ? FileFailure::IsAFolder : FileFailure::NotARegularFile;
}

bool Exists(const std::string& target) {
    struct stat info {};
    return ::lstat(target.c_str(), &info) == 0;
}
FileFailure ReplaceTarget(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return FileFailure::None;
    return FailureOfErrno(errno);
}
void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

constexpr const char* kSeparators = "/";
#endif

// One read or write call moves at most this much: Windows counts in unsigned int.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

constexpr int kOps = 6;
std::atomic<unsigned> gFailAt[kOps];

// True when this call of `op` is the one a test asked to fail.
std::atomic<int> gBatchedSyncs{0};

bool Injected(FileOp op) {
    std::atomic<unsigned>& slot = gFailAt[static_cast<int>(op)];
    unsigned left = slot.load();
    while (left != 0) {
        if (slot.compare_exchange_weak(left, left - 1)) return left == 1;
    }
    return false;
}

std::string FollowLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = PathFromUtf8(path);
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(current, error); ++hops) {
        fs::path next = fs::read_symlink(current, error);
        if (error) break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return Utf8FromPath(current);
}

// A temporary name is the target's name with a dot in front and a random suffix
// behind, so a target whose name already fills the folder's limit (255 bytes)
// needs a shorter stem. Never cuts a UTF-8 character in two.
std::string TemporaryStem(const std::string& name) {
    constexpr std::size_t kKeptBytes = 64;
    std::size_t keep = name.size() < kKeptBytes ? name.size() : kKeptBytes;
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    return name.substr(0, keep);
}

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of(kSeparators);
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

void InjectFileFailure(FileOp op, unsigned nth) { gFailAt[static_cast<int>(op)] = nth; }

void ClearFileFailures() {
    for (auto& slot : gFailAt) slot = 0;
}

bool File::OpenForReading(const std::string& path) {
    Abort();
    failure_ = FileFailure::InputOutput;
    if (Injected(FileOp::Open)) return false;
    int fd = OpenReadOnly(path);
    if (fd < 0) {
        failure_ = OpenFailure(path, errno);
        return false;
    }
    failure_ = NotRegular(fd);
    if (failure_ != FileFailure::None) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool File::CreateNew(const std::string& path) {
    Abort();
    failure_ = FileFailure::InputOutput;
    if (Injected(FileOp::Open)) return false;
    fd_ = OpenNew(path);
    failure_ = fd_ >= 0 ? FileFailure::None : OpenFailure(path, errno);
    return fd_ >= 0;
}

std::size_t File::Read(void* buffer, std::size_t count) {
    if (Injected(FileOp::Read)) throw FileError();
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const auto got = ::read(fd_, out + done, static_cast<unsigned>(std::min(count - done, kMaxTransfer)));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError(FailureOfErrno(errno));
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void File::Seek(std::uint64_t offset) {
    if (!SeekDescriptor(fd_, offset)) throw FileError(FailureOfErrno(errno));
}

void File::Write(const void* buffer, std::size_t count) {
    if (Injected(FileOp::Write)) throw FileError();
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (count > 0) {
        const auto put = ::write(fd_, in, static_cast<unsigned>(std::min(count, kMaxTransfer)));
        if (put < 0) {
            if (errno == EINTR) continue;
            throw FileError(FailureOfErrno(errno));
        }
        in += put;
        count -= static_cast<std::size_t>(put);
    }
}

void GatheringSink::Write(const void* buffer, std::size_t count) {
    if (used_ + count > sizeof gathered_) Flush();
    if (count >= sizeof gathered_) {
        to_.Write(buffer, count);
        return;
    }
    std::memcpy(gathered_ + used_, buffer, count);
    used_ += count;
}

void GatheringSink::Flush() {
    if (used_ == 0) return;
    // Emptied first: a failed write is not written again.
    const std::size_t count = used_;
    used_ = 0;
    to_.Write(gathered_, count);
}

void File::Sync() {
    if (Injected(FileOp::Sync)) throw FileError();
    if (!SyncDescriptor(fd_)) throw FileError(FailureOfErrno(errno));
}

void File::Close() {
    int fd = fd_;
    fd_ = -1;
    bool injected = Injected(FileOp::Close);
    if (::close(fd) != 0) throw FileError(FailureOfErrno(errno));
    if (injected) throw FileError();
}

void File::Abort() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool ReplacingFile::Open(const std::string& target) {
    Discard();
    target_ = FollowLinks(target);
    failure_ = Unreplaceable(target_);
    if (failure_ != FileFailure::None) return false;
    replacing_ = Exists(target_);
    std::string folder = FolderOf(target_);
    std::string stem = TemporaryStem(target_.substr(target_.find_last_of(kSeparators) + 1));
    // Seeded once a thread: a random device costs more than all the rest of opening a file.
    // Eight words of seed, so that one name seen does not tell the next.
    thread_local std::mt19937 names = [] {
        std::random_device entropy;
        std::seed_seq seed{entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy()};
        return std::mt19937(seed);
    }();
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(names()));
        std::string candidate = (folder == "/" ? "" : folder) + "/." + stem + "." + suffix + ".tmp";
        if (file_.CreateNew(candidate)) {
            temporary_ = candidate;
            KeepPermissions(target_, file_.Descriptor());
            return true;
        }
        failure_ = file_.Failure();
        if (errno != EEXIST) return false;
    }
    return false;
}

BatchedSync::BatchedSync() { gBatchedSyncs.fetch_add(1); }

BatchedSync::~BatchedSync() {
    if (gBatchedSyncs.fetch_sub(1) == 1) SyncEverything();
}

void ReplacingFile::Commit() {
    // A file that replaces another always reaches the disk first, so that no
    // power cut can trade a good old file for an empty new one.
    if (replacing_ || gBatchedSyncs.load() == 0) file_.Sync();
    file_.Close();
    // Checked as late as it can be: an interrupt that comes after this leaves a whole file.
    if (StopRequested() || Injected(FileOp::Rename)) throw FileError();
    if (const FileFailure failure = ReplaceTarget(temporary_, target_); failure != FileFailure::None)
        throw FileError(failure);
    temporary_.clear();
}

void ReplacingFile::Discard() noexcept {
    file_.Abort();
    if (!temporary_.empty()) RemoveFile(temporary_);
    temporary_.clear();
}

}  // namespace zentro
