// Disks that refuse or run out while the icon is written: one message, and the
// file the user had before is left exactly as it was, with nothing beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "platform/string_table.h"
#include "robust_support.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

// An icon of every kind at 256, 48, 32 and 16 pixels: about 360 KiB.
struct BigIcon {
    ImageStore store;
    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    BigIcon() {
        DrawDisc(store.source, 256, 256);
        sizes.sizes = {1, 1, 1, 0, 1};
        sizes.onlyOne256 = 0;
        if (!BuildImageSet(store, format, sizes)) throw std::runtime_error("cannot build the test icon");
    }
};

// The command line failed on `file` with exactly message `id`.
void ExpectFailure(const Outcome& outcome, const std::string& file, unsigned id) {
    EXPECT_EQ(outcome.status, 1) << file;
    EXPECT_EQ(outcome.err, "zentro-cli: " + file + ": " + LoadString(id) + "\n");
}

// What the command line says in English: the reason the system gave.
std::string InEnglish(const std::vector<std::string>& args) {
    SetLanguage(Language::English);
    const Outcome outcome = RunCli(args);
    SetLanguage(Language::Chinese);
    return outcome.err;
}

std::vector<std::uint8_t> OldIcon() {
    std::vector<std::uint8_t> bytes(20000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return bytes;
}

}  // namespace

TEST(FailingDisk, ReadOnlyFolderShowsCannotCreateAndCreatesNothing) {
    TempDir dir;
    const std::string folder = dir / "read-only";
    WriteFile(dir / "in.bmp", Encode24(16, 16, std::vector<std::uint32_t>(256, 0x336699)));
    ScratchMount mount(folder, 1 << 20, false);
    if (mount.Mounted()) {
        // An input to convert beside itself, then the whole folder read-only.
        WriteFile(folder + "/in.bmp", ReadFile(dir / "in.bmp"));
        ASSERT_TRUE(mount.SetReadOnly(true));
    } else {
        if (PermissionsAreBypassed()) GTEST_SKIP() << "root ignores permission bits, and " << mount.Why();
        WriteFile(folder + "/in.bmp", ReadFile(dir / "in.bmp"));
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    }

    BigIcon icon;
    {
        MessageRecorder recorder;
        EXPECT_FALSE(WriteIconFile(icon.store, folder + "/out.ico", icon.format, icon.sizes));
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_CANNOT_CREATE));
        EXPECT_EQ(recorder.messages.at(0).icon, MessageIcon::Error);
    }
    ExpectFailure(RunCli({"--sizes", "16", "-o", folder + "/out.ico", dir / "in.bmp"}), folder + "/out.ico",
                  IDS_CANNOT_CREATE);
    ExpectFailure(RunCli({"--sizes", "16", folder + "/in.bmp"}), folder + "/in.ico", IDS_CANNOT_CREATE);
    EXPECT_EQ(InEnglish({"--sizes", "16", folder + "/in.bmp"}),
              "zentro-cli: " + folder + "/in.ico: cannot be created: " +
                  (mount.Mounted() ? "the disk is read-only" : "permission denied") + "\n");
    EXPECT_EQ(FolderListing(folder), (std::vector<std::string>{"in.bmp"}));
    chmod(folder.c_str(), 0755);
}

TEST(FailingDisk, FullDiskShowsCannotWriteKeepsTheOldIconAndLeavesNothingBehind) {
    TempDir dir;
    const std::string folder = dir / "small-disk";
    ScratchMount mount(folder, 64 * 1024, false);
    if (!mount.Mounted()) GTEST_SKIP() << "a full disk is made with a tiny tmpfs, and " << mount.Why();
    const std::string target = folder + "/out.ico";
    WriteFile(target, OldIcon());

    BigIcon icon;
    {
        MessageRecorder recorder;
        EXPECT_FALSE(WriteIconFile(icon.store, target, icon.format, icon.sizes));
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_CANNOT_WRITE));
        EXPECT_EQ(recorder.messages.at(0).icon, MessageIcon::Error);
    }
    EXPECT_EQ(ReadFile(target), OldIcon());
    EXPECT_EQ(FolderListing(folder), (std::vector<std::string>{"out.ico"}));

    // A new file on the full disk leaves no part of itself either.
    {
        MessageRecorder recorder;
        EXPECT_FALSE(WriteIconFile(icon.store, folder + "/new.ico", icon.format, icon.sizes));
        EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_CANNOT_WRITE));
    }
    EXPECT_EQ(FolderListing(folder), (std::vector<std::string>{"out.ico"}));

    // The command line, replacing the old icon by force.
    WriteFile(dir / "in.bmp", Encode24(256, 256, std::vector<std::uint32_t>(256 * 256, 0x123456)));
    ExpectFailure(
        RunCli({"--force", "--all-256", "--depths", "32,24,8,4", "--transparent", "-o", target, dir / "in.bmp"}),
        target, IDS_CANNOT_WRITE);
    EXPECT_EQ(
        InEnglish({"--force", "--all-256", "--depths", "32,24,8,4", "--transparent", "-o", target, dir / "in.bmp"}),
        "zentro-cli: " + target + ": could not be written: disk full\n");
    EXPECT_EQ(ReadFile(target), OldIcon());
    EXPECT_EQ(FolderListing(folder), (std::vector<std::string>{"out.ico"}));

    // What fits is written.
    const Outcome fits = RunCli({"--force", "--sizes", "16", "--depths", "24", "-o", target, dir / "in.bmp"});
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(ReadFile(target).size(), 6 + 16 + 872u);
}

TEST(FailingDisk, SymbolicLinkAsOutputWritesTheFileItPointsTo) {
    TempDir dir;
    WriteFile(dir / "in.bmp", Encode24(16, 16, std::vector<std::uint32_t>(256, 0x336699)));
    std::filesystem::create_directory(dir / "icons");
    WriteFile(dir / "icons/real.ico", OldIcon());
    std::filesystem::create_symlink("icons/real.ico", dir / "link.ico");
    std::filesystem::create_symlink("icons/made.ico", dir / "dangling.ico");

    // Both already exist as names: replaced only with --force.
    EXPECT_EQ(RunCli({"--sizes", "16", "-o", dir / "link.ico", dir / "in.bmp"}).status, 1);
    EXPECT_EQ(ReadFile(dir / "icons/real.ico"), OldIcon());
    EXPECT_EQ(RunCli({"--sizes", "16", "-o", dir / "dangling.ico", dir / "in.bmp"}).status, 1);

    for (const char* link : {"link.ico", "dangling.ico"}) {
        const Outcome r = RunCli({"--force", "--sizes", "16", "--depths", "24", "-o", dir / link, dir / "in.bmp"});
        EXPECT_EQ(r.status, 0) << link << r.err;
        EXPECT_TRUE(std::filesystem::is_symlink(dir / link)) << link;
        EXPECT_EQ(ReadFile(dir / link).size(), 6 + 16 + 872u) << link;
    }
    EXPECT_EQ(ReadFile(dir / "icons/real.ico").size(), 6 + 16 + 872u);
    EXPECT_EQ(ReadFile(dir / "icons/made.ico").size(), 6 + 16 + 872u);
    EXPECT_EQ(FolderListing(dir / "icons"), (std::vector<std::string>{"made.ico", "real.ico"}));
}

TEST(FailingDisk, PipeAsOutputIsRefusedAndStaysAPipe) {
    TempDir dir;
    WriteFile(dir / "in.bmp", Encode24(16, 16, std::vector<std::uint32_t>(256, 0x336699)));
    ASSERT_EQ(mkfifo((dir / "out.ico").c_str(), 0600), 0);
    const ProcessResult r = RunCliProgram({"--force", "--sizes", "16", "-o", dir / "out.ico", dir / "in.bmp"});
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentro-cli: " + dir / "out.ico" + ": " + LoadString(IDS_CANNOT_CREATE) + "\n");
    struct stat info {};
    ASSERT_EQ(lstat((dir / "out.ico").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"in.bmp", "out.ico"}));
}
