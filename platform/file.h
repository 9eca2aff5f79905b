#pragma once
// File access for the reader and the icon writer. Failures of an open file
// are thrown as FileError so that one handler at the edge of a read or write
// sequence can turn them into a single message.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "platform/file_failure.h"

namespace zentro {

class FileError : public std::exception {
public:
    explicit FileError(FileFailure failure = FileFailure::InputOutput) : failure_(failure) {}
    const char* what() const noexcept override { return "file operation failed"; }
    FileFailure Failure() const { return failure_; }

private:
    FileFailure failure_;
};

// Anything the icon writer can write bytes to.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const void* buffer, std::size_t count) = 0;
};

// Gathers small writes into one for the sink behind it, so that a file of many small
// parts (an icon's directory entries, headers and masks) costs a few system calls
// rather than dozens; a large write goes straight through. Flush before committing.
class GatheringSink : public ByteSink {
public:
    explicit GatheringSink(ByteSink& to) : to_(to) {}
    void Write(const void* buffer, std::size_t count) override;
    void Flush();

private:
    ByteSink& to_;
    std::size_t used_ = 0;
    std::uint8_t gathered_[4096];
};

class File : public ByteSink {
public:
    File() = default;
    ~File() override { Abort(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens an existing regular file read-only. Folders, pipes and devices are
    // refused without blocking. False when the file cannot be opened.
    bool OpenForReading(const std::string& path);
    // Creates a new file that must not exist yet (mode 0666 less the umask).
    bool CreateNew(const std::string& path);

    // Reads up to `count` bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    void Seek(std::uint64_t offset);
    void Write(const void* buffer, std::size_t count) override;
    // Pushes everything written so far to the disk.
    void Sync();
    // Closes the file; the handle is gone even when this throws.
    void Close();
    // Closes without reporting anything.
    void Abort() noexcept;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // Why the last OpenForReading or CreateNew failed.
    FileFailure Failure() const { return failure_; }

private:
    int fd_ = -1;
    FileFailure failure_ = FileFailure::Unknown;
};

// Writes a file through a temporary file in the target's folder that replaces
// the target only on Commit, so that a failure never leaves a half-written file
// or touches what was there before. A symbolic link as the target is followed:
// the file it points to is replaced and the link stays.
class ReplacingFile : public ByteSink {
public:
    ReplacingFile() = default;
    ~ReplacingFile() override { Discard(); }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when no file can be created in the target's folder, or when the
    // target exists and is not a regular file.
    bool Open(const std::string& target);
    void Write(const void* buffer, std::size_t count) override { file_.Write(buffer, count); }
    // Syncs, closes and renames over the target; throws FileError on any failure, and
    // when a stop has been requested (platform/stop_request.h).
    void Commit();
    // Removes the temporary file; nothing else changes.
    void Discard() noexcept;
    // Why the last Open failed.
    FileFailure Failure() const { return failure_; }

private:
    File file_;
    FileFailure failure_ = FileFailure::Unknown;
    std::string target_;
    std::string temporary_;
    bool replacing_ = false;  // the target existed when it was opened
};

// Many files written in one go. While one of these lives, ReplacingFile::Commit renames a
// new file (one that replaces nothing) without first pushing it to the disk, and the last
// one to end pushes everything at once: a flush per file would cost a batch of small icons
// most of its time. A power cut during the batch may then leave its newest files empty,
// but never costs a file that was there before.
class BatchedSync {
public:
    BatchedSync();
    ~BatchedSync();
    BatchedSync(const BatchedSync&) = delete;
    BatchedSync& operator=(const BatchedSync&) = delete;
};

enum class FileOp { Open, Read, Write, Sync, Close, Rename };

// Test hook: the nth call of `op` from now on (1 = the next one) fails as a
// disk error would. 0 removes the planned failure.
void InjectFileFailure(FileOp op, unsigned nth);
void ClearFileFailures();

}  // namespace zentro
