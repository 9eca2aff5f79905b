#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "platform/file.h"
#include "support/bmp_builder.h"
#include "support/memory_sink.h"

using namespace zentro;
using namespace zentro::test;

namespace {
std::size_t FilesIn(const std::string& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

// Writes one byte and commits, with the next `op` failing; true when that failed the commit.
bool CommitFailsWhen(ReplacingFile& file, FileOp op) {
    InjectFileFailure(op, 1);
    bool failed = false;
    try {
        const std::uint8_t bytes[] = {9};
        file.Write(bytes, 1);
        file.Commit();
    } catch (const FileError&) {
        failed = true;
    }
    ClearFileFailures();
    return failed;
}
}  // namespace

TEST(ReplacingFile, ReplacesTargetOnlyOnCommit) {
    TempDir dir;
    WriteFile(dir / "out.ico", {1, 2, 3});
    ReplacingFile file;
    ASSERT_TRUE(file.Open(dir / "out.ico"));
    const std::uint8_t bytes[] = {9, 8};
    file.Write(bytes, 2);
    EXPECT_EQ(ReadFile(dir / "out.ico"), (std::vector<std::uint8_t>{1, 2, 3}));
    file.Commit();
    EXPECT_EQ(ReadFile(dir / "out.ico"), (std::vector<std::uint8_t>{9, 8}));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(ReplacingFile, FailureAtAnyStepLeavesTargetAndNoTemporary) {
    for (FileOp op : {FileOp::Write, FileOp::Sync, FileOp::Close, FileOp::Rename}) {
        TempDir dir;
        WriteFile(dir / "out.ico", {1, 2, 3});
        {
            ReplacingFile file;
            ASSERT_TRUE(file.Open(dir / "out.ico"));
            EXPECT_TRUE(CommitFailsWhen(file, op)) << static_cast<int>(op);
        }
        EXPECT_EQ(ReadFile(dir / "out.ico"), (std::vector<std::uint8_t>{1, 2, 3})) << static_cast<int>(op);
        EXPECT_EQ(FilesIn(dir.path()), 1u) << static_cast<int>(op);
    }
}

// In a batch only new files skip their flush: one that replaces an old file is
// still flushed first, and a failing flush keeps the old file.
TEST(ReplacingFile, BatchesFlushEveryFileThatReplacesAnother) {
    TempDir dir;
    WriteFile(dir / "old.ico", {1, 2, 3});
    BatchedSync batch;
    for (const char* name : {"old.ico", "new.ico"}) {
        ReplacingFile file;
        ASSERT_TRUE(file.Open(dir / name));
        EXPECT_EQ(CommitFailsWhen(file, FileOp::Sync), std::string(name) == "old.ico") << name;
    }
    EXPECT_EQ(ReadFile(dir / "old.ico"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadFile(dir / "new.ico"), (std::vector<std::uint8_t>{9}));
}

TEST(ReplacingFile, WritesThroughSymbolicLinkAndKeepsMode) {
    TempDir dir;
    WriteFile(dir / "real.ico", {1});
    ASSERT_EQ(chmod((dir / "real.ico").c_str(), 0640), 0);
    std::filesystem::create_symlink("real.ico", dir / "link.ico");
    ReplacingFile file;
    ASSERT_TRUE(file.Open(dir / "link.ico"));
    const std::uint8_t bytes[] = {5, 5};
    file.Write(bytes, 2);
    file.Commit();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ico"));
    EXPECT_EQ(ReadFile(dir / "real.ico"), (std::vector<std::uint8_t>{5, 5}));
    struct stat info {};
    ASSERT_EQ(stat((dir / "real.ico").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ReplacingFile, MissingFolderCannotBeOpened) {
    TempDir dir;
    ReplacingFile file;
    EXPECT_FALSE(file.Open(dir / "missing/out.ico"));
}

TEST(ReplacingFile, NameOfTheLongestLengthAFolderTakes) {
    TempDir dir;
    // 255 bytes, ending in the middle of where a UTF-8 cut could fall.
    std::string name = "a";
    for (int i = 0; i < 84; ++i) name += "图";
    ASSERT_EQ(name.size(), 253u);
    name += ".i";
    ReplacingFile file;
    ASSERT_TRUE(file.Open(dir / name));
    const std::uint8_t bytes[] = {4};
    file.Write(bytes, 1);
    file.Commit();
    EXPECT_EQ(ReadFile(dir / name), (std::vector<std::uint8_t>{4}));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(ReplacingFile, NeverReplacesWhatIsNotARegularFile) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.ico").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop.ico", dir / "loop.ico");
    std::filesystem::create_symlink("pipe.ico", dir / "to_pipe.ico");
    std::vector<std::string> targets = {dir / "pipe.ico", dir / "loop.ico", dir / "to_pipe.ico"};
    // A character device like /dev/null, where root may make one.
    if (mknod((dir / "null.ico").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back(dir / "null.ico");
    for (const std::string& target : targets) {
        ReplacingFile file;
        EXPECT_FALSE(file.Open(target)) << target;
    }
    struct stat info {};
    ASSERT_EQ(lstat((dir / "pipe.ico").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop.ico"));
    EXPECT_EQ(FilesIn(dir.path()), targets.size());
}

// Pieces of every size around the gathering buffer's, through the sink and straight.
TEST(GatheringSink, PassesOnEveryByteInOrderInFewerWrites) {
    struct CountingSink : zentro::test::MemorySink {
        int writes = 0;
        void Write(const void* data, std::size_t count) override {
            ++writes;
            MemorySink::Write(data, count);
        }
    } gathered, straight;
    std::vector<std::uint8_t> piece(9000);
    for (std::size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    zentro::GatheringSink sink(gathered);
    for (std::size_t count : {6u, 16u, 16u, 40u, 4096u, 1u, 4095u, 2u, 9000u, 64u, 1024u, 3000u, 0u, 40u}) {
        sink.Write(piece.data(), count);
        straight.Write(piece.data(), count);
    }
    sink.Flush();
    EXPECT_EQ(gathered.bytes, straight.bytes);
    EXPECT_LE(gathered.writes, straight.writes / 2);
}
