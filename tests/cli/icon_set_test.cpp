// zentro-cli --set: its usage errors, its care for the files already there, and its
// icons against the ones the command line makes of the same picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"

using namespace zentro;
using namespace zentro::test;

namespace {

using Args = std::vector<std::string>;

// A magenta ground (every corner keyed) round a square of two colours.
std::vector<std::uint8_t> KeyedPicture(int side) {
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(side) * side, 0xFF00FF);
    for (int y = side / 4; y < side * 3 / 4; ++y)
        for (int x = side / 4; x < side * 3 / 4; ++x)
            colours[static_cast<std::size_t>(y) * side + x] = x < side / 2 ? 0x204080 : 0xE0C040;
    return Encode24(side, side, colours);
}

std::size_t FileCount(const std::string& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) count += entry.is_regular_file();
    return count;
}

}  // namespace

TEST(IconSet, UsageErrors) {
    for (const Args& args : std::vector<Args>{{"--set", "ios", "-o", "out", "a.png"},
                                              {"--set", "web,", "-o", "out", "a.png"},
                                              {"--set", "all", "a.png"},
                                              {"--set", "all", "-o", "out", "--sizes", "16", "a.png"},
                                              {"--set", "all", "-o", "out", "--name", "", "a.png"},
                                              {"--set", "all", "-o", "out", "--name", "..", "a.png"},
                                              {"--set", "all", "-o", "out", "--name", "a/b", "a.png"},
                                              {"--set", "all", "-o", "out", "--background", "white", "a.png"},
                                              {"--set", "all", "-o", "out", "dir/"},
                                              {"--set", "all", "-o", "out", "--classic", "a.bmp"},
                                              {"--name", "app", "a.png"},
                                              {"--list", "--set", "all", "a.ico"}}) {
        const Outcome r = RunCli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.err.rfind("zentro-cli: ", 0), 0u) << r.err;
    }
}

// The set's icons are the command line's icons of the same picture and sizes.
TEST(IconSet, IconsAreTheCommandLinesIcons) {
    TempDir dir;
    WriteFile(dir / "logo.bmp", KeyedPicture(300));
    const Outcome set = RunCli({"--set", "windows,web", "-o", dir / "set", dir / "logo.bmp"});
    ASSERT_EQ(set.status, 0) << set.err;
    ASSERT_EQ(RunCli({"--sizes", "windows", "--depths", "32", "--png", "256", "-o", dir / "app.ico", dir / "logo.bmp"})
                  .status,
              0);
    ASSERT_EQ(RunCli({"--sizes", "favicon", "--depths", "32", "-o", dir / "favicon.ico", dir / "logo.bmp"}).status, 0);
    EXPECT_EQ(ReadFile(dir / "set/logo.ico"), ReadFile(dir / "app.ico"));
    EXPECT_EQ(ReadFile(dir / "set/favicon.ico"), ReadFile(dir / "favicon.ico"));
}

TEST(IconSet, FilesAlreadyThereStopTheRunBeforeAnythingIsWritten) {
    TempDir dir;
    WriteFile(dir / "logo.bmp", KeyedPicture(64));
    std::filesystem::create_directories(dir / "out");
    WriteFile(dir / "out/favicon.ico", {1, 2, 3});
    const Args args = {"--set", "all", "-o", dir / "out", dir / "logo.bmp"};
    const Outcome refused = RunCli(args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("favicon.ico: exists already; use --force"), std::string::npos) << refused.err;
    EXPECT_EQ(FileCount(dir / "out"), 1u);
    EXPECT_EQ(ReadFile(dir / "out/favicon.ico"), (std::vector<std::uint8_t>{1, 2, 3}));

    Args forced = args;
    forced.push_back("--force");
    const Outcome replaced = RunCli(forced);
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_GT(ReadFile(dir / "out/favicon.ico").size(), 3u);
    // A folder where a file goes is never replaced, --force or not.
    std::filesystem::create_directories(dir / "folder/logo.ico");
    EXPECT_EQ(RunCli({"--set", "windows", "-f", "-o", dir / "folder", dir / "logo.bmp"}).status, 1);
}

// The files written before a failing one stay; the run says which one failed.
TEST(IconSet, AFailedWriteKeepsWhatWasWritten) {
    TempDir dir;
    WriteFile(dir / "logo.bmp", KeyedPicture(64));
    InjectFileFailure(FileOp::Rename, 3);
    const Outcome r = RunCli({"--set", "linux", "-o", dir / "out", dir / "logo.bmp"});
    ClearFileFailures();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("hicolor/24x24/apps/logo.png"), std::string::npos) << r.err;
    EXPECT_EQ(FileCount(dir / "out"), 2u);
    EXPECT_TRUE(std::filesystem::exists(dir / "out/hicolor/22x22/apps/logo.png"));
}
