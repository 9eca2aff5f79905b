// The loader on files: one message for each refusal, the decoded picture otherwise.
#include <gtest/gtest.h>

#include <filesystem>

#include "codec_encoders.h"
#include "codecs/picture_loader.h"
#include "platform/file.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

using namespace zentro;
using namespace zentro::test;

TEST(PictureLoader, ReadsAFileAndRefusesWithOneMessage) {
    TempDir dir;
    PngLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    WriteFile(dir / "picture.png", EncodePng(layout));
    WriteFile(dir / "text.txt", {'h', 'e', 'l', 'l', 'o'});
    WriteFile(dir / "icon.ico", {0, 0, 1, 0, 1, 0});
    WriteFile(dir / "empty", {});
    // Longer than any picture the decoders accept; sparse, so it costs no disk.
    WriteFile(dir / "endless.bmp", {'B', 'M'});
    std::filesystem::resize_file(dir / "endless.bmp", std::uintmax_t{5} << 30);

    {
        MessageRecorder recorder;
        PictureSources sources;
        ASSERT_TRUE(codecs::LoadSources(dir / "picture.png", sources));
        EXPECT_TRUE(recorder.messages.empty());
        ASSERT_EQ(sources.rasters.size(), 1u);
        EXPECT_EQ(TopDownRgba(sources.rasters.front()),
                  (std::vector<std::uint8_t>{1,  2,  3,  255, 4,  5,  6,  255, 7,  8,  9,  255,
                                             10, 11, 12, 255, 13, 14, 15, 255, 16, 17, 18, 255}));
    }
    const struct {
        std::string path;
        unsigned id;
    } refusals[] = {
        {dir / "missing.png", 102}, {dir.path(), 102},       {dir / "text.txt", 106},
        {dir / "empty", 106},       {dir / "icon.ico", 103}, {dir / "endless.bmp", IDS_FILE_TOO_LARGE},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.path);
        MessageRecorder recorder;
        PictureSources sources;
        ASSERT_TRUE(codecs::LoadSources(dir / "picture.png", sources));
        EXPECT_FALSE(codecs::LoadSources(r.path, sources));
        EXPECT_EQ(recorder.OnlyId(), r.id);
        // A refused file adds nothing to what was read before it.
        EXPECT_EQ(sources.rasters.size(), 1u);
        EXPECT_FALSE(sources.vector);
    }
}

TEST(PictureLoader, AFailingReadIsAReadError) {
    TempDir dir;
    PngLayout layout;
    layout.samples = {1, 2, 3};
    WriteFile(dir / "picture.png", EncodePng(layout));
    MessageRecorder recorder;
    PictureSources sources;
    InjectFileFailure(FileOp::Read, 1);
    EXPECT_FALSE(codecs::LoadSources(dir / "picture.png", sources));
    ClearFileFailures();
    EXPECT_EQ(recorder.OnlyId(), 103u);
}
