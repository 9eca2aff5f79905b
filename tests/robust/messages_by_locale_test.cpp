// zentro-cli speaks the language its locale names: the first non-empty of LC_ALL,
// LC_MESSAGES and LANG, Chinese when that begins with "zh", else English. Every
// failure (and note) runs as the real program under a locale and must say, byte for
// byte, what the same run says in this process in that language; in English without
// a single byte outside ASCII.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/string_table.h"
#include "robust_support.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"

using namespace zentro;
using namespace zentro::test;

namespace {

class InLanguage {
public:
    explicit InLanguage(Language language) { SetLanguage(language); }
    ~InLanguage() { SetLanguage(Language::Chinese); }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};

// Only the header of a PNG of width x height: read no further than that.
std::vector<std::uint8_t> PngHeader(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t side : {width, height})
        for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<std::uint8_t>(side >> shift));
    png.insert(png.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return png;
}

// A keyed square on magenta, `side` pixels wide.
std::vector<std::uint8_t> Square(int side) {
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(side) * side, 0xFF00FF);
    for (int i = side / 4; i < side * 3 / 4; ++i) colours[static_cast<std::size_t>(i) * side + i] = 0x204080;
    return Encode24(side, side, colours);
}

struct Failures {
    TempDir dir;
    std::vector<std::vector<std::string>> runs;

    Failures() {
        WriteFile(dir / "notes.png", {'n', 'o', 't', 'e', 's'});
        WriteFile(dir / "huge.png", PngHeader(60000, 60000));
        WriteFile(dir / "small.bmp", Square(48));
        WriteFile(dir / "tiny16.bmp", Square(8));
        WriteFile(dir / "good.bmp", Square(256));
        WriteFile(dir / "old.ico", {'o', 'l', 'd'});
        const std::string svg =
            "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'>"
            "<image href='ext.png' width='8' height='8'/></svg>";
        WriteFile(dir / "drawing.svg", std::vector<std::uint8_t>(svg.begin(), svg.end()));
        std::filesystem::create_directories(dir / "batch");
        WriteFile(dir / "batch/a.bmp", Square(32));
        WriteFile(dir / "batch/a.ico", {'o', 'l', 'd'});
        WriteFile(dir / "batch/b.txt", {'b'});
        const std::string good = dir / "good.bmp";
        runs = {
            {dir / "missing.png"},
            {dir / "notes.png"},
            {dir / "huge.png"},
            {"-o", dir / "nodir/f.ico", good},
            {"--sizes", "256", dir / "small.bmp"},
            {"-f", "-o", dir / "fitted.ico", dir / "small.bmp"},
            {"--sizes", "48,16", "--icon16", dir / "tiny16.bmp", good},
            {"--sizes", "48,16", "--icon16", dir / "gone.png", good},
            {"--depths", "", good},
            {"--sizes=", good},
            {"-o", dir / "old.ico", good},
            {"--classic", dir / "notes.png"},
            {"-f", "--sizes", "16", dir / "drawing.svg"},
            {"--sizes", "16", "-j", "1", dir / "batch"},
            {"--list", dir / "missing.ico", dir / "notes.png"},
            {"--extract", dir / "out", dir / "good.bmp"},
            {"--frobnicate"},
        };
    }
};

void ExpectSaid(const std::vector<std::string>& locale, const std::vector<std::string>& args, const Outcome& expected) {
    const ProcessResult r = RunCliProgramIn(locale, args);
    EXPECT_EQ(r.status, expected.status);
    EXPECT_EQ(r.err, expected.err);
}

}  // namespace

TEST(MessagesByLocale, EveryFailureInEnglishOrInTodaysChinese) {
    Failures failures;
    for (const Language language : {Language::English, Language::Chinese}) {
        const bool english = language == Language::English;
        const std::vector<std::string> locale = {english ? "LANG=C" : "LANG=zh_CN.UTF-8"};
        for (const std::vector<std::string>& args : failures.runs) {
            SCOPED_TRACE(::testing::PrintToString(locale) + " " + ::testing::PrintToString(args));
            Outcome expected;
            {
                const InLanguage speaking(language);
                expected = RunCli(args);
            }
            ASSERT_NE(expected.err, "");
            ExpectSaid(locale, args, expected);
            if (english) {
                EXPECT_TRUE(std::all_of(expected.err.begin(), expected.err.end(), [](char c) { return c > 0; }))
                    << expected.err;
            }
        }
    }
    // The texts the English table was written to give.
    const InLanguage english(Language::English);
    const Failures& f = failures;
    const std::pair<std::vector<std::string>, std::string> said[] = {
        {f.runs[0], f.dir / "missing.png: no such file"},
        {f.runs[1], f.dir / "notes.png: not a picture this program reads (BMP, PNG, JPEG, WebP, GIF, ICO, CUR"},
        {f.runs[2], f.dir / "huge.png: 60000 x 60000 is too large (at most 268435456 pixels, such as 16384 x 16384)"},
        {f.runs[3], f.dir / "nodir/f.ico: cannot be created: no such folder"},
        {f.runs[4], f.dir / "small.bmp: 48 x 48 cannot make the 256 x 256 image; choose smaller --sizes"},
        {f.runs[5], f.dir / "small.bmp: left out 256: the picture is not that large, and pictures are not enlarged"},
        {f.runs[6], f.dir / "tiny16.bmp: 8 x 8 cannot make the 16 x 16 image"},
    };
    for (const auto& [args, line] : said) {
        const std::string err = RunCli(args).err;
        EXPECT_NE(err.find("zentro-cli: " + line), std::string::npos) << err;
    }
}

TEST(MessagesByLocale, LcAllThenLcMessagesThenLangChoose) {
    TempDir dir;
    const std::vector<std::string> args = {dir / "missing.png"};
    Outcome chinese = RunCli(args);
    Outcome english;
    {
        const InLanguage speaking(Language::English);
        english = RunCli(args);
    }
    ASSERT_EQ(chinese.err, "zentro-cli: " + dir / "missing.png: 找不到文件。\n");
    for (const std::vector<std::string>& locale :
         std::vector<std::vector<std::string>>{{},
                                               {"LANG=en_US.UTF-8"},
                                               {"LC_ALL=C", "LANG=zh_CN.UTF-8"},
                                               {"LC_MESSAGES=en_US.UTF-8", "LANG=zh_CN.UTF-8"},
                                               {"LC_ALL=", "LC_MESSAGES=", "LANG=C.UTF-8"},
                                               {"LC_ALL=en_GB.UTF-8", "LC_MESSAGES=zh_CN.UTF-8"}})
        ExpectSaid(locale, args, english);
    for (const std::vector<std::string>& locale :
         std::vector<std::vector<std::string>>{{"LC_ALL=zh_CN.UTF-8", "LANG=C"},
                                               {"LC_MESSAGES=zh_TW.UTF-8", "LANG=en_US.UTF-8"},
                                               {"LC_ALL=", "LANG=zh_CN.UTF-8"},
                                               {"LC_ALL=zh_CN.GB18030"}})
        ExpectSaid(locale, args, chinese);
}
