#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

namespace zentro {

namespace {

constexpr int kOps = 6;
std::atomic<unsigned> gFailAt[kOps];

// True when this call of `op` is the one a test asked to fail.
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
    fs::path current(path);
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(current, error); ++hops) {
        fs::path next = fs::read_symlink(current, error);
        if (error) break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
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
    std::string::size_type slash = path.find_last_of('/');
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
    if (Injected(FileOp::Open)) return false;
    // Non-blocking so that a named pipe cannot hang the open; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    return true;
}

bool File::CreateNew(const std::string& path) {
    Abort();
    if (Injected(FileOp::Open)) return false;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

std::size_t File::Read(void* buffer, std::size_t count) {
    if (Injected(FileOp::Read)) throw FileError();
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t got = ::read(fd_, out + done, count - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError();
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void File::Seek(std::uint64_t offset) {
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) throw FileError();
}

void File::Write(const void* buffer, std::size_t count) {
    if (Injected(FileOp::Write)) throw FileError();
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (count > 0) {
        ssize_t put = ::write(fd_, in, count);
        if (put < 0) {
            if (errno == EINTR) continue;
            throw FileError();
        }
        in += put;
        count -= static_cast<std::size_t>(put);
    }
}

void File::Sync() {
    if (Injected(FileOp::Sync) || ::fsync(fd_) != 0) throw FileError();
}

void File::Close() {
    int fd = fd_;
    fd_ = -1;
    bool injected = Injected(FileOp::Close);
    if (::close(fd) != 0 || injected) throw FileError();
}

void File::Abort() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool ReplacingFile::Open(const std::string& target) {
    Discard();
    target_ = FollowLinks(target);
    // Renaming over a pipe, a device or a link that leads nowhere would destroy it:
    // only a regular file is ever replaced.
    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return false;
    std::string folder = FolderOf(target_);
    std::string stem = TemporaryStem(target_.substr(target_.find_last_of('/') + 1));
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(entropy()));
        std::string candidate = (folder == "/" ? "" : folder) + "/." + stem + "." + suffix + ".tmp";
        if (file_.CreateNew(candidate)) {
            temporary_ = candidate;
            // A replaced file keeps its permissions.
            struct stat info {};
            if (::stat(target_.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                ::fchmod(file_.Descriptor(), info.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

void ReplacingFile::Commit() {
    file_.Sync();
    file_.Close();
    if (Injected(FileOp::Rename) || ::rename(temporary_.c_str(), target_.c_str()) != 0) throw FileError();
    temporary_.clear();
}

void ReplacingFile::Discard() noexcept {
    file_.Abort();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace zentro
