// A batch run as the program itself: interrupted midway, and its memory over many files.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "robust_support.h"
#include "support/bmp_builder.h"

using namespace zentro::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> KeyedPicture(int size) {
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(size) * size, 0xFF00FF);
    for (int y = size / 8; y < size * 7 / 8; ++y)
        for (int x = size / 8; x < size * 7 / 8; ++x)
            colours[static_cast<std::size_t>(y) * size + x] = static_cast<std::uint32_t>(x * 0x10305 + y * 0x30201);
    return Encode24(size, size, colours);
}

// `count` names in `folder` for one picture, so each converts to an icon of its own.
void LinkMany(const std::string& picture, const std::string& folder, int count) {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) fs::create_symlink(picture, folder + "/p" + std::to_string(1000 + i) + ".bmp");
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(CliBatchProcess, AnInterruptKeepsWrittenIconsAndLeavesNothingHalfMade) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal == SIGINT ? "SIGINT" : "SIGTERM");
        TempDir dir;
        WriteFile(dir / "source.bmp", KeyedPicture(1024));
        ASSERT_EQ(RunCliProgram({"-o", dir / "reference.ico", dir / "source.bmp"}).status, 0);
        const int files = 60;
        LinkMany(dir / "source.bmp", dir / "in", files);

        bool sent = false;
        const ProcessResult r =
            RunCliProgram({"-j", "2", "--output-dir", dir / "out", dir / "in"}, 120, 0, [&](int pid) {
                if (!sent && Names(dir / "out").size() >= 2) sent = ::kill(pid, signal) == 0;
            });
        ASSERT_TRUE(sent) << "the batch ended before it could be interrupted";
        EXPECT_EQ(r.status, 130) << r.err;
        const std::vector<std::string> written = Names(dir / "out");
        EXPECT_LT(written.size(), static_cast<std::size_t>(files)) << "nothing was stopped";
        const std::vector<std::uint8_t> reference = ReadFile(dir / "reference.ico");
        for (const std::string& name : written) {
            ASSERT_TRUE(name.size() > 4 && name[0] != '.' && name.substr(name.size() - 4) == ".ico") << name;
            EXPECT_EQ(ReadFile(dir / "out/" + name), reference) << name << " is not whole";
        }
        EXPECT_EQ(Count(r.out, " -> "), written.size()) << r.out;
        EXPECT_NE(r.err.find("; interrupted, " + std::to_string(files - written.size()) + " not converted\n"),
                  std::string::npos)
            << r.err;
    }
}

TEST(CliBatchProcess, PeakMemoryDoesNotGrowWithTheNumberOfFiles) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's own bookkeeping grows with every allocation";
#endif
    TempDir dir;
    WriteFile(dir / "source.bmp", KeyedPicture(256));
    LinkMany(dir / "source.bmp", dir / "few", 20);
    LinkMany(dir / "source.bmp", dir / "many", 300);
    const ProcessResult few = RunCliProgram({"-j", "2", "--output-dir", dir / "out-few", dir / "few"}, 120);
    const ProcessResult many = RunCliProgram({"-j", "2", "--output-dir", dir / "out-many", dir / "many"}, 120);
    ASSERT_EQ(few.status, 0) << few.err;
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(Names(dir / "out-many").size(), 300u);
    EXPECT_LE(many.peakKb, few.peakKb + few.peakKb / 5 + 2048)
        << "peak " << few.peakKb << " KB for 20 files, " << many.peakKb << " KB for 300";
}
