// What zentro-cli makes of hostile inputs and unusual paths, in process and as
// the real program (which must also never block on a pipe or a device).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "image/little_endian.h"
#include "platform/string_table.h"
#include "robust_support.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"

using namespace zentro;
using namespace zentro::test;

namespace {

// 48 x 48: a dark square on a magenta key.
std::vector<std::uint8_t> KeyedPicture() {
    std::vector<std::uint32_t> colours(48 * 48, 0xFF00FF);
    for (int y = 12; y < 36; ++y)
        for (int x = 12; x < 36; ++x) colours[y * 48 + x] = 0x204080;
    return Encode24(48, 48, colours);
}

bool IsIcon(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadFile(path);
    return bytes.size() > 6 && le::Get16(&bytes[0]) == 0 && le::Get16(&bytes[2]) == 1 && le::Get16(&bytes[4]) > 0;
}

std::string NotFoundLine(const std::string& path) {
    return "zentro-cli: " + path + ": " + LoadString(IDS_FILE_NOT_FOUND) + "\n";
}

}  // namespace

TEST(CliHostileInput, EachBadBitmapGetsItsOneMessageAndTheOthersStillConvert) {
    TempDir dir;
    BmpLayout huge;
    huge.width = INT32_MAX;
    huge.pixels = {0, 0, 0, 0};
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        unsigned id;
    } bad[] = {
        {"empty.bmp", {}, IDS_NOT_A_BITMAP},
        {"short.bmp", {'B', 'M', 0x46, 0, 0, 0, 0, 0, 0, 0, 0x36}, IDS_UNSUPPORTED_BITMAP},
        {"png.bmp", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}, IDS_NOT_A_BITMAP},
        {"huge.bmp", EncodeBmp(huge), IDS_PICTURE_TOO_LARGE},
    };
    // The classic reader's messages; the other formats' refusals are the decoders' own.
    std::vector<std::string> args = {"--classic", "--opaque", "--sizes", "48,16"};
    for (const auto& b : bad) {
        WriteFile(dir / b.name, b.bytes);
        args.push_back(dir / b.name);
    }
    WriteFile(dir / "good.bmp", KeyedPicture());
    args.push_back(dir / "good.bmp");

    const Outcome r = RunCli(args);
    EXPECT_EQ(r.status, 1);
    std::string expected;
    for (const auto& b : bad) expected += "zentro-cli: " + dir / b.name + ": " + LoadString(b.id) + "\n";
    expected += "zentro-cli: 1 converted, 4 failed, 0 skipped\n";  // the summary of a run of many
    EXPECT_EQ(r.err, expected);
    EXPECT_TRUE(IsIcon(dir / "good.ico"));
    EXPECT_EQ(FolderListing(dir.path()),
              (std::vector<std::string>{"empty.bmp", "good.bmp", "good.ico", "huge.bmp", "png.bmp", "short.bmp"}));
}

TEST(CliHostileInput, FolderPipeAndDeviceAreNotFoundAtOnce) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.bmp").c_str(), 0600), 0);
    std::filesystem::create_symlink("pipe.bmp", dir / "link_to_pipe.bmp");
    WriteFile(dir / "good.bmp", KeyedPicture());
    for (const std::string& input :
         {dir.path(), dir / "pipe.bmp", dir / "link_to_pipe.bmp", std::string("/dev/zero"), std::string("/dev/null")}) {
        const ProcessResult r = RunCliProgram({"-o", dir / "out.ico", input});
        EXPECT_FALSE(r.timedOut) << input;
        EXPECT_LT(r.seconds, 5.0) << input;
        EXPECT_EQ(r.status, 1) << input;
        EXPECT_EQ(r.err, NotFoundLine(input)) << input;
    }
    // The separate 16 x 16 bitmap is read the same way, and named.
    const ProcessResult r =
        RunCliProgram({"--sizes", "32,16", "--icon16", dir / "pipe.bmp", "-o", dir / "out.ico", dir / "good.bmp"});
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, NotFoundLine(dir / "pipe.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.ico"));
}

TEST(CliPaths, SpacesChineseAndLongNamesWorkLikeAnyOther) {
    TempDir dir;
    // NAME_MAX is 255 bytes: the longest name a folder can hold, and one in Chinese
    // (3 bytes a character) that ends in ".bmp" within it.
    std::string chinese;
    for (int i = 0; i < 83; ++i) chinese += "图";
    const std::vector<std::string> names = {
        "with spaces/my picture 1.bmp",
        "图标 文件夹/图片.bmp",
        std::string(251, 'n') + ".bmp",
        chinese + ".bmp",
    };
    for (const std::string& name : names) {
        const std::string input = dir / name;
        std::filesystem::create_directories(std::filesystem::path(input).parent_path());
        WriteFile(input, KeyedPicture());
        const std::string icon = input.substr(0, input.size() - 4) + ".ico";

        const Outcome inProcess = RunCli({"--sizes", "48,16", input});
        EXPECT_EQ(inProcess.status, 0) << name << inProcess.err;
        EXPECT_TRUE(IsIcon(icon)) << name;
        std::filesystem::remove(icon);

        const ProcessResult program = RunCliProgram({"--sizes", "48,16", input});
        EXPECT_EQ(program.status, 0) << name << program.err;
        EXPECT_NE(program.out.find(input + " -> " + icon), std::string::npos) << name;
        EXPECT_TRUE(IsIcon(icon)) << name;
    }
    // Naming the output in Chinese, with a space.
    const ProcessResult named = RunCliProgram({"--sizes", "16", "-o", dir / "图标 一.ico", dir / names[0]});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_TRUE(IsIcon(dir / "图标 一.ico"));
}

TEST(CliPaths, PathsLongerThanTheSystemTakesAreRefusedCleanly) {
    TempDir dir;
    std::string deep = dir.path();
    while (deep.size() < PATH_MAX + 100) deep += "/" + std::string(200, 'd');
    WriteFile(dir / "good.bmp", KeyedPicture());

    const Outcome input = RunCli({deep + "/in.bmp"});
    EXPECT_EQ(input.status, 1);
    EXPECT_EQ(input.err, NotFoundLine(deep + "/in.bmp"));

    const Outcome output = RunCli({"--sizes", "16", "-o", deep + "/out.ico", dir / "good.bmp"});
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.err, "zentro-cli: " + deep + "/out.ico: " + LoadString(IDS_CANNOT_CREATE) + "\n");
    EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"good.bmp"}));
}
