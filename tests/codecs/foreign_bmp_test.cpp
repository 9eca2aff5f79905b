// BMPs as Pillow and ImageMagick write them, read as Pillow reads them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "codecs/bmp_decoder.h"
#include "image/little_endian.h"
#include "support/bmp_builder.h"

using namespace zentro;
using namespace zentro::test;

TEST(ForeignBmp, DecodesAsPillowDoes) {
    TempDir dir;
    const std::string command = std::string(ZENTRO_PYTHON) + " " + ZENTRO_FOREIGN_BMPS + " " + dir.path();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().extension() != ".bmp") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        const std::vector<std::uint8_t> bmp = ReadFile(entry.path().string());
        std::filesystem::path expectedPath = entry.path();
        const std::vector<std::uint8_t> expected = ReadFile(expectedPath.replace_extension(".rgba").string());
        ASSERT_GE(expected.size(), 8u);
        const int width = static_cast<int>(le::Get32(&expected[0]));
        const int height = static_cast<int>(le::Get32(&expected[4]));

        Picture picture;
        ASSERT_EQ(codecs::DecodeBmp(bmp.data(), bmp.size(), picture), 0u);
        ASSERT_EQ(picture.colour.Width(), width);
        ASSERT_EQ(picture.colour.Height(), height);
        std::size_t mismatches = 0;
        for (int row = 0; row < height; ++row) {
            const int y = height - 1 - row;
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* bgr = picture.colour.PixelPtr24(x, y);
                const std::uint8_t* rgba = &expected[8 + 4 * (static_cast<std::size_t>(row) * width + x)];
                const std::uint8_t alpha = picture.HasAlpha() ? picture.alpha.Row(y)[x] : 255;
                if (bgr[2] != rgba[0] || bgr[1] != rgba[1] || bgr[0] != rgba[2] || alpha != rgba[3]) ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0u);
    }
    EXPECT_EQ(files, 12);
}
