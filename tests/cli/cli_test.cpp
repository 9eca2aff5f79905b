#include <gtest/gtest.h>

#include <filesystem>

#include "cli/convert.h"
#include "image/bitmap_header.h"
#include "image/little_endian.h"
#include "platform/path.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"

using namespace zentro;
using namespace zentro::test;

namespace {

// A magenta background with a dark square in the middle: every corner keyed.
std::vector<std::uint8_t> KeyedPicture(int size = 256) {
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(size) * size, 0xFF00FF);
    for (int y = size / 4; y < size * 3 / 4; ++y)
        for (int x = size / 4; x < size * 3 / 4; ++x) colours[static_cast<std::size_t>(y) * size + x] = 0x204080;
    return Encode24(size, size, colours);
}

std::uint16_t ImageCount(const std::string& ico) { return le::Get16(ReadFile(ico).data() + 4); }

}  // namespace

TEST(CliOptions, HelpVersionAndUsageErrors) {
    Outcome help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--depths"), std::string::npos);
    EXPECT_EQ(RunCli({"--version"}).out, "zentro-cli 1.5.0.1\n");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--frobnicate", "a.bmp"},
                                               {"--depths", "7", "a.bmp"},
                                               {"--depths", "8,", "a.bmp"},
                                               {"--sizes", "257", "a.bmp"},
                                               {"--sizes", "0,16", "a.bmp"},
                                               {"--png", "some", "a.bmp"},
                                               {"--list", "--png", "all", "a.ico"},
                                               {"--extract", "out", "a.ico", "b.ico"},
                                               {"a.bmp", "-o"},
                                               {"--previews", "p", "a.bmp", "b.bmp"},
                                               {"--force=yes", "a.bmp"},
                                               {"-j", "0", "a.bmp"},
                                               {"--jobs", "two", "a.bmp"},
                                               {"-o", "x.ico", "--output-dir", "icons", "a.bmp"}}) {
        Outcome r = RunCli(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("zentro-cli: "), std::string::npos);
    }
}

TEST(CliConvert, ClassicDefaultsFollowTheCornersAndNameTheIconAfterTheInput) {
    TempDir dir;
    WriteFile(dir / "logo.bmp", KeyedPicture());
    Outcome keyed = RunCli({"--classic", dir / "logo.bmp"});
    ASSERT_EQ(keyed.status, 0) << keyed.err;
    EXPECT_EQ(ImageCount(dir / "logo.ico"), 10);  // 32, 8 and 4 bits; the 256 image only at 32 bits
    EXPECT_NE(keyed.out.find("(10 images)"), std::string::npos);
    EXPECT_NE(keyed.out.find("256x256  32-bit   270376 bytes"), std::string::npos) << keyed.out;

    std::vector<std::uint32_t> colours(256 * 256, 0x112233);
    colours[0] = 0x445566;  // the top-left corner differs: nothing transparent, no 32-bit
    WriteFile(dir / "plain.bmp", Encode24(256, 256, colours));
    Outcome plain = RunCli({"--classic", dir / "plain.bmp", "--all-256"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(ImageCount(dir / "plain.ico"), 8);
}

TEST(CliConvert, RefusesWhatTheWizardRefuses) {
    TempDir dir;
    WriteFile(dir / "in.bmp", KeyedPicture(64));
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--depths", ""}, "没有选择分辨率。"},
        {{"--classic", "--depths", "32", "--opaque"}, "没有选择分辨率。"},
        {{"--sizes="}, "没有选择大小。"},
        {{"--sizes", "256"}, "主要来源位图 必须至少 256x256 像素 (选择最大的设备的图象大小 )."},
        {{"--sizes", "48,16", "--icon16", dir / "missing.bmp"}, "找不到文件。"},
    };
    for (auto& c : cases) {
        c.args.push_back(dir / "in.bmp");
        Outcome r = RunCli(c.args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "in.ico")) << c.message;
    }
    Outcome alpha = RunCli({"--depths", "32", "--transparent", "--sizes", "48,16", dir / "in.bmp"});
    EXPECT_EQ(alpha.status, 0) << alpha.err;
    EXPECT_EQ(ImageCount(dir / "in.ico"), 2);
}

TEST(CliConvert, NeverReplacesAFileWithoutForce) {
    TempDir dir;
    WriteFile(dir / "in.bmp", KeyedPicture());
    WriteFile(dir / "out.ico", {'k', 'e', 'e', 'p'});
    Outcome refused = RunCli({"-o", dir / "out.ico", dir / "in.bmp"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "out.ico"), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    Outcome forced = RunCli({dir / "in.bmp", "--output", dir / "out.ico", "-f"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(ImageCount(dir / "out.ico"), 4);
}

TEST(CliConvert, OneFailureDoesNotStopTheOthers) {
    TempDir dir;
    WriteFile(dir / "a.bmp", KeyedPicture());
    WriteFile(dir / "c.bmp", KeyedPicture());
    WriteFile(dir / "b.bmp", {'n', 'o', 'p', 'e'});
    Outcome r = RunCli({dir / "a.bmp", dir / "b.bmp", dir / "c.bmp"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("b.bmp: 不是位图文件。"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "a.ico"));
    EXPECT_FALSE(std::filesystem::exists(dir / "b.ico"));
    EXPECT_TRUE(std::filesystem::exists(dir / "c.ico"));
}

TEST(CliConvert, PreviewsAreTwentyFourBitBitmapsOnWhite) {
    TempDir dir;
    WriteFile(dir / "in.bmp", KeyedPicture(64));
    Outcome r = RunCli({dir / "in.bmp", "--sizes", "32,16", "--depths", "24", "--previews", dir / "pv"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::uint8_t> first = ReadFile(dir / "pv/00.bmp");
    ASSERT_EQ(first.size(), 54u + 32 * 96);
    EXPECT_EQ(first[0], 'B');
    EXPECT_EQ(le::Get32(first.data() + 2), 54u + 32 * 96);
    EXPECT_EQ(le::Get32(first.data() + 10), 54u);
    BitmapHeader h = ParseBitmapHeader(first.data() + 14);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 32);
    EXPECT_EQ(h.height, 32);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 24);
    EXPECT_EQ(h.xPelsPerMeter, 0);
    // The keyed corner shows white; the square its own colour.
    EXPECT_EQ(first[54], 255);
    EXPECT_EQ(first[54 + 16 * 96 + 16 * 3 + 2], 0x20);
    EXPECT_EQ(ReadFile(dir / "pv/01.bmp").size(), 54u + 16 * 48);
    EXPECT_FALSE(std::filesystem::exists(dir / "pv/02.bmp"));
}

TEST(IconName, LastDotOfTheFileNameOnly) {
    EXPECT_EQ(ProposeIconPath("/pics/logo.bmp"), "/pics/logo.ico");
    EXPECT_EQ(ProposeIconPath("/my.pics/logo"), "/my.pics/logo.ico");
    EXPECT_EQ(ProposeIconPath("C:\\my.pics\\logo"), "C:\\my.pics\\logo.ico");
    EXPECT_EQ(ProposeIconPath("logo.tar.bmp"), "logo.tar.ico");
    EXPECT_EQ(ProposeIconPath("logo"), "logo.ico");
}
