// Many files at once: a batch must say and write what converting the files one by
// one says and writes, whatever the number of jobs.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"

using namespace zentro;
using namespace zentro::test;
namespace fs = std::filesystem;

namespace {

// A keyed background around a square of the given colour.
std::vector<std::uint8_t> SquareOnKey(std::uint32_t colour) {
    const int size = 64;
    std::vector<std::uint32_t> colours(size * size, 0xFF00FF);
    for (int y = 8; y < 56; ++y)
        for (int x = 8 + y % 5; x < 56; ++x) colours[y * size + x] = colour + static_cast<std::uint32_t>(x * 3 + y);
    return Encode24(size, size, colours);
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(CliBatch, AnyNumberOfJobsGivesWhatOneFileAtATimeGives) {
    TempDir dir;
    const std::string tree = dir / "pictures";
    fs::create_directories(tree + "/sub/deeper");
    const char* const pictures[] = {"a.bmp", "b.bmp", "sub/c.bmp", "sub/d.bmp", "sub/deeper/e.bmp", "z.bmp"};
    std::uint32_t colour = 0x102030;
    for (const char* name : pictures) WriteFile(tree + "/" + name, SquareOnKey(colour += 0x0A1420));
    WriteFile(tree + "/notes.txt", {'h', 'i'});
    WriteFile(tree + "/sub/empty.bmp", {'B', 'M'});  // taken by its first bytes, refused by the reader
    WriteFile(dir / "alone.txt", {'h', 'i'});

    const std::vector<std::string> options = {"--sizes", "48,32,16", "-r"};
    Outcome runs[3];
    const int jobs[3] = {1, 2, 5};
    for (int r = 0; r < 3; ++r) {
        std::vector<std::string> args = options;
        args.insert(args.end(), {"-j", std::to_string(jobs[r]), "--output-dir", dir / ("out" + std::to_string(r)), tree,
                                 dir / "alone.txt"});
        runs[r] = RunCli(args);
        EXPECT_EQ(runs[r].status, 1) << runs[r].err;  // the empty bitmap and the text named by itself fail
    }
    EXPECT_EQ(Listing(dir / "out0"), (std::vector<std::string>{"a.ico", "b.ico", "sub", "sub/c.ico", "sub/d.ico",
                                                               "sub/deeper", "sub/deeper/e.ico", "z.ico"}));
    const std::string& err = runs[0].err;
    EXPECT_NE(err.find(tree + "/notes.txt: skipped, not a picture to convert\n"), std::string::npos) << err;
    EXPECT_NE(err.find(dir / "alone.txt: 不是位图文件。\n"), std::string::npos) << err;
    EXPECT_EQ(err.substr(err.rfind("zentro-cli: ")), "zentro-cli: 6 converted, 2 failed, 1 skipped\n") << err;

    for (int r = 1; r < 3; ++r) {
        SCOPED_TRACE(::testing::Message() << jobs[r] << " jobs");
        EXPECT_EQ(runs[r].err, err);
        std::string out = runs[r].out;
        for (std::size_t at; (at = out.find("/out" + std::to_string(r) + "/")) != std::string::npos;)
            out.replace(at, 6, "/out0/");
        EXPECT_EQ(out, runs[0].out);
    }
    // Each icon is the one a run of its file alone writes.
    for (const char* name : pictures) {
        const std::string icon = fs::path(name).replace_extension(".ico").string();
        ASSERT_EQ(RunCli({"--sizes", "48,32,16", "-o", dir / "alone.ico", "-f", tree + "/" + name}).status, 0);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(ReadFile(dir / ("out" + std::to_string(r)) + "/" + icon), ReadFile(dir / "alone.ico")) << icon;
    }
}

TEST(CliBatch, TwoFilesWithOneIconNameDoNotOverwriteEachOther) {
    TempDir dir;
    WriteFile(dir / "logo.bmp", SquareOnKey(0x203040));
    WriteFile(dir / "logo.dib", SquareOnKey(0x405060));
    const Outcome r = RunCli({"--sizes", "32", "-f", "-j", "2", dir.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("zentro-cli: " + dir / "logo.dib: its icon " + dir / "logo.ico is the icon of " +
                              dir / "logo.bmp already\nzentro-cli: 1 converted, 1 failed, 0 skipped\n",
                          0),
              0u)
        << r.err;
    EXPECT_EQ(r.out.rfind(dir / "logo.bmp -> " + dir / "logo.ico (", 0), 0u) << r.out;

    // A folder with nothing to convert is most likely the wrong one.
    const std::string empty = dir / "empty";
    std::filesystem::create_directories(empty);
    WriteFile(empty + "/notes.txt", {'h', 'i'});
    const Outcome none = RunCli({empty});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err,
              "zentro-cli: " + empty + ": no picture to convert in this folder\nzentro-cli: " + empty +
                  "/notes.txt: skipped, not a picture to convert\nzentro-cli: 0 converted, 0 failed, 1 skipped\n");
}

TEST(CliBatch, ARunAgainSkipsTheIconsThereAndSucceedsWhereOneFileIsRefused) {
    TempDir dir;
    const std::string tree = dir / "pictures";
    fs::create_directories(tree);
    WriteFile(tree + "/a.bmp", SquareOnKey(0x203040));
    WriteFile(tree + "/b.bmp", SquareOnKey(0x405060));
    ASSERT_EQ(RunCli({"--sizes", "32", tree}).status, 0);
    const std::vector<std::uint8_t> made = ReadFile(tree + "/a.ico");

    const Outcome again = RunCli({"--sizes", "16", tree});
    EXPECT_EQ(again.status, 0);
    std::string expected;
    for (const std::string& icon : {tree + "/a.ico", tree + "/b.ico"})
        expected += "zentro-cli: " + icon + ": " + LoadString(IDS_CLI_EXISTS_SKIPPED) + "\nzentro-cli: " + icon + ": " +
                    LoadString(IDS_CLI_NOT_A_PICTURE_SKIPPED) + "\n";
    EXPECT_EQ(again.err, expected + "zentro-cli: 0 converted, 0 failed, 4 skipped\n");
    EXPECT_EQ(ReadFile(tree + "/a.ico"), made);

    const Outcome alone = RunCli({"--sizes", "16", tree + "/a.bmp"});
    EXPECT_EQ(alone.status, 1);
    EXPECT_EQ(alone.err, "zentro-cli: " + tree + "/a.ico: " + LoadString(IDS_CLI_EXISTS) + "\n");
    EXPECT_EQ(RunCli({"--sizes", "16", "-f", tree}).err,
              "zentro-cli: " + tree + "/a.ico: " + LoadString(IDS_CLI_NOT_A_PICTURE_SKIPPED) + "\nzentro-cli: " + tree +
                  "/b.ico: " + LoadString(IDS_CLI_NOT_A_PICTURE_SKIPPED) +
                  "\nzentro-cli: 2 converted, 0 failed, 2 skipped\n");
}
