// WebP files against libwebp's own simple decoder; the first frame of an animation.
#include <gtest/gtest.h>

#include "codec_encoders.h"
#include "codecs/webp_decoder.h"
#include "platform/string_table.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> Pixels(int width, int height, int channels, unsigned seed) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels.push_back(c == 3 ? static_cast<std::uint8_t>((x + y) * 40 % 256)
                                        : static_cast<std::uint8_t>(x * 23 + y * 11 * (c + 1) + seed));
    return pixels;
}

}  // namespace

TEST(WebpDecoder, LossyLosslessAndAlphaMatchLibwebp) {
    const int w = 17, h = 9;
    const struct {
        const char* name;
        bool alpha;
        int quality;
    } cases[] = {{"lossy", false, 80}, {"lossy with alpha", true, 80}, {"lossless with alpha", true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> file = EncodeWebp(w, h, Pixels(w, h, c.alpha ? 4 : 3, 5), c.alpha, c.quality);
        int refWidth = 0, refHeight = 0;
        const std::vector<std::uint8_t> reference = DecodeWebpWithLibwebp(file, refWidth, refHeight);
        Picture picture;
        ASSERT_EQ(DecodeBytes(file, picture), 0u);
        EXPECT_EQ(picture.HasAlpha(), c.alpha);
        ASSERT_EQ(picture.colour.Width(), refWidth);
        ASSERT_EQ(picture.colour.Height(), refHeight);
        EXPECT_EQ(TopDownRgba(picture), reference);
    }
}

TEST(WebpDecoder, AnAnimationGivesItsFirstFrameOnTheCanvas) {
    const int w = 10, h = 8;
    WebpFrame first;
    first.x = 2;
    first.y = 4;
    first.width = 5;
    first.height = 3;
    first.rgba = Pixels(5, 3, 4, 1);
    for (std::size_t i = 3; i < first.rgba.size(); i += 4) first.rgba[i] = 255;
    WebpFrame second;
    second.width = w;
    second.height = h;
    second.rgba = Pixels(w, h, 4, 99);
    Picture picture;
    ASSERT_EQ(DecodeBytes(EncodeAnimatedWebp(w, h, {first, second}), picture), 0u);
    ASSERT_TRUE(picture.HasAlpha());
    const std::vector<std::uint8_t> rgba = TopDownRgba(picture);
    ASSERT_EQ(rgba.size(), std::size_t{w * h * 4});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* got = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            const bool inFrame =
                x >= first.x && x < first.x + first.width && y >= first.y && y < first.y + first.height;
            if (inFrame) {
                const std::uint8_t* want =
                    &first.rgba[(static_cast<std::size_t>(y - first.y) * first.width + x - first.x) * 4];
                EXPECT_EQ(std::vector<std::uint8_t>(got, got + 4), std::vector<std::uint8_t>(want, want + 4))
                    << x << "," << y;
            } else {
                EXPECT_EQ(got[3], 0) << x << "," << y;
            }
        }
}

TEST(WebpDecoder, RefusesBrokenAndOversizedFiles) {
    const std::vector<std::uint8_t> file = EncodeWebp(30, 20, Pixels(30, 20, 3, 0), false, 70);
    Picture picture;
    EXPECT_EQ(DecodeBytes(
                  std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2)),
                  picture),
              103u);
    EXPECT_FALSE(picture.colour.HasPicture());

    // An animation canvas of 30000 x 30000 pixels, refused before any canvas is allocated.
    WebpFrame frame;
    frame.rgba = {1, 2, 3, 255};
    std::vector<std::uint8_t> huge = EncodeAnimatedWebp(30000, 30000, {frame});
    EXPECT_EQ(DecodeBytes(huge, picture), unsigned{IDS_PICTURE_TOO_LARGE});
}
