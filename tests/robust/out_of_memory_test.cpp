// Running out of memory anywhere in a conversion: message 105 once, no crash,
// no icon or part of one on disk, and a later run that has memory works.
#include <gtest/gtest.h>

#include <filesystem>

#include "icon/icon_writer.h"
#include "job/image_set_builder.h"
#include "platform/pixel_memory.h"
#include "platform/string_table.h"
#include "robust_support.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"
#include "support/memory_sink.h"
#include "support/message_recorder.h"
#include "support/pictures.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> IconBytes(const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes) {
    MemorySink sink;
    WriteIcon(sink, store, format, sizes);
    return sink.bytes;
}

// Fails the 1st, 2nd, ... allocation in turn until `attempt` gets through;
// returns how many failed. `attempt` reports whether it got through.
template <typename Attempt>
unsigned FailEachAllocationInTurn(Attempt attempt) {
    for (unsigned nth = 1; nth < 1000; ++nth) {
        InjectAllocationFailure(nth);
        const bool done = attempt(nth);
        InjectAllocationFailure(0);
        if (done) return nth - 1;
    }
    ADD_FAILURE() << "still failing after 1000 allocations";
    return 0;
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

}  // namespace

TEST(OutOfMemory, EveryAllocationOfABuildMayFail) {
    FormatChoices format{1, 1, 1, 1, 1};
    SizeChoices sizes;
    sizes.sizes = {0, 1, 1, 1, 1};
    ImageStore fresh;
    DrawDisc(fresh.source, 64, 64);
    FormatChoices freshFormat = format;
    SizeChoices freshSizes = sizes;
    ASSERT_TRUE(BuildImageSet(fresh, freshFormat, freshSizes));
    const std::vector<std::uint8_t> expected = IconBytes(fresh, freshFormat, freshSizes);

    // One store through every failure: what an interrupted run leaves behind must
    // not spoil the run that finally gets its memory.
    ImageStore store;
    DrawDisc(store.source, 64, 64);
    const unsigned failures = FailEachAllocationInTurn([&](unsigned nth) {
        MessageRecorder recorder;
        FormatChoices f = format;
        SizeChoices s = sizes;
        const bool built = BuildImageSet(store, f, s);
        if (!built) {
            EXPECT_EQ(recorder.OnlyId(), static_cast<unsigned>(IDS_NO_DIB_MEMORY)) << "allocation " << nth;
            EXPECT_EQ(recorder.messages.at(0).icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(recorder.messages.empty());
            EXPECT_EQ(IconBytes(store, f, s), expected);
        }
        return built;
    });
    RecordProperty("failed_allocations", static_cast<int>(failures));
    // Four sizes, each at least its 24-bit image and mask, two palette images and
    // the 32-bit image (the key masks are made once for all sizes).
    EXPECT_GE(failures, 4u * 5u);
}

TEST(OutOfMemory, EveryAllocationOfTheCommandLineMayFail) {
    TempDir dir;
    std::vector<std::uint32_t> colours(40 * 40, 0xFF00FF);
    for (int i = 5; i < 35; ++i) colours[i * 40 + i] = colours[i * 40 + 39 - i] = 0x103070;
    WriteFile(dir / "in.bmp", Encode24(40, 40, colours));
    const unsigned failures = FailEachAllocationInTurn([&](unsigned nth) {
        const Outcome r =
            RunCli({"--sizes", "32,16", "--depths", "32,24,8,4", "--previews", dir / "previews", dir / "in.bmp"});
        if (r.status == 0) return true;
        EXPECT_EQ(r.status, 1) << "allocation " << nth;
        EXPECT_EQ(r.err, "zentro-cli: " + dir / "in.bmp" + ": " + LoadString(IDS_NO_DIB_MEMORY) + "\n")
            << "allocation " << nth;
        EXPECT_FALSE(std::filesystem::exists(dir / "in.ico")) << "allocation " << nth;
        std::filesystem::remove_all(dir / "previews");
        EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"in.bmp"})) << "allocation " << nth;
        return false;
    });
    RecordProperty("failed_allocations", static_cast<int>(failures));
    EXPECT_GE(failures, 10u);
    EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"in.bmp", "in.ico", "previews"}));
}

TEST(OutOfMemory, CommandLineUnderAnAddressSpaceLimit) {
    if (kSanitized) GTEST_SKIP() << "sanitizers reserve terabytes of address space up front";
    TempDir dir;
    // Tiny files that claim big pictures: 8192 x 8192 (192 MiB) and 16384 x 16384 (768 MiB).
    for (int side : {8192, 16384}) {
        BmpLayout layout;
        layout.width = side;
        layout.height = side;
        layout.pixels = {0, 0, 0, 0};
        WriteFile(dir / ("claims_" + std::to_string(side) + ".bmp"), EncodeBmp(layout));
    }
    constexpr unsigned long long kMiB = 1ull << 20;
    const ProcessResult works = RunCliProgram({"--version"}, 20, 192 * kMiB);
    ASSERT_EQ(works.status, 0) << "the program does not even start within the limit: " << works.err;

    // The reader can never have the 768 MiB under 320 MiB.
    const std::string huge = dir / "claims_16384.bmp";
    const ProcessResult r = RunCliProgram({huge}, 60, 320 * kMiB);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentro-cli: " + huge + ": " + LoadString(IDS_NO_DIB_MEMORY) + "\n");

    // Where the 192 MiB source runs out depends on the machine: at every limit the
    // run either converts or says 105 and leaves nothing behind.
    const std::string big = dir / "claims_8192.bmp";
    const std::string icon = dir / "claims_8192.ico";
    bool refused = false, converted = false;
    // The drawing libraries of vectors take their share of address space before any picture does.
    for (unsigned long long limit = 192 * kMiB; limit <= 512 * kMiB; limit += 32 * kMiB) {
        const ProcessResult run = RunCliProgram({"--force", big}, 60, limit);
        EXPECT_EQ(run.signal, 0) << limit / kMiB;
        if (run.status == 0) {
            converted = true;
            EXPECT_TRUE(std::filesystem::exists(icon)) << limit / kMiB;
            std::filesystem::remove(icon);
        } else {
            refused = true;
            EXPECT_EQ(run.status, 1) << limit / kMiB;
            EXPECT_EQ(run.err, "zentro-cli: " + big + ": " + LoadString(IDS_NO_DIB_MEMORY) + "\n") << limit / kMiB;
        }
        EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"claims_16384.bmp", "claims_8192.bmp"}))
            << limit / kMiB;
    }
    EXPECT_TRUE(refused) << "no limit was tight enough";
    EXPECT_TRUE(converted) << "no limit was loose enough";
}
