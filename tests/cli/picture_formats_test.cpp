// Pictures in the field's formats against the classic bitmap of the same pixels:
// the icons must be the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/picture_input.h"
#include "codec_encoders.h"
#include "image/dib.h"
#include "image/key_values.h"
#include "image/little_endian.h"
#include "support/bmp_builder.h"
#include "support/bmp_variant_writer.h"
#include "support/cli_runner.h"
#include "support/failing_new.h"

using namespace zentro;
using namespace zentro::test;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

// 0xRRGGBB top row first, and an alpha per pixel (empty: opaque).
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colours;
    Bytes alphas;
};

// Channel values that 5 bits hold exactly, so that a 5-5-5 bitmap is lossless too.
std::uint32_t FiveBit(int k) { return static_cast<std::uint32_t>((k * 255 + 15) / 31); }

// A magenta ground (every corner keyed) round a disc of at most 169 colours.
Pixels KeyedDisc(int side) {
    Pixels p{side, side, {}, {}};
    const double c = (side - 1) / 2.0, r = 0.4 * side;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool in = (x - c) * (x - c) + (y - c) * (y - c) <= r * r;
            p.colours.push_back(in ? FiveBit(x * 13 / side * 2) << 16 | FiveBit(y * 13 / side * 2) << 8 | FiveBit(12)
                                   : 0xFF00FF);
        }
    }
    return p;
}

Bytes Bmp(const Pixels& p) { return Encode24(p.width, p.height, p.colours); }

Bytes Png(const Pixels& p) {
    PngLayout layout;
    layout.width = p.width;
    layout.height = p.height;
    layout.colourType = p.alphas.empty() ? 2 : 6;
    for (std::size_t i = 0; i < p.colours.size(); ++i) {
        for (int shift : {16, 8, 0}) layout.samples.push_back(static_cast<std::uint8_t>(p.colours[i] >> shift));
        if (!p.alphas.empty()) layout.samples.push_back(p.alphas[i]);
    }
    return EncodePng(layout);
}

// Every colour of `p` in the global table (a keyed disc has fewer than 256).
Bytes Gif(const Pixels& p) {
    std::vector<std::uint32_t> palette;
    GifFrame frame;
    frame.width = p.width;
    frame.height = p.height;
    for (std::uint32_t c : p.colours) {
        auto at = std::find(palette.begin(), palette.end(), c);
        if (at == palette.end()) at = palette.insert(palette.end(), c);
        frame.indexes.push_back(static_cast<std::uint8_t>(at - palette.begin()));
    }
    return EncodeGif(p.width, p.height, palette, 0, {frame});
}

Bytes VariantBmp(const Pixels& p, const BmpVariant& variant) {
    ArgbPicture picture{p.width, p.height, {}};
    for (std::uint32_t c : p.colours) picture.pixels.push_back(0xFF000000 | c);
    return EncodeBmpVariant(picture, variant);
}

// Converts `input` into `icon` and gives the icon's bytes.
Bytes Icon(Args args, const std::string& input, const std::string& icon) {
    args.insert(args.end(), {"-f", "-o", icon, input});
    const Outcome r = RunCli(args);
    EXPECT_EQ(r.status, 0) << input << ": " << r.err;
    return ReadFile(icon);
}

Args With(Args args, const std::string& more) {
    args.push_back(more);
    return args;
}

// The images of one size in an icon, in directory order.
std::vector<Bytes> ImagesOfSize(const Bytes& ico, int size) {
    std::vector<Bytes> images;
    for (int i = 0; i < le::Get16(ico.data() + 4); ++i) {
        const std::uint8_t* entry = ico.data() + 6 + 16 * i;
        if (entry[0] != size) continue;
        const auto from = ico.begin() + le::Get32(entry + 12);
        images.emplace_back(from, from + le::Get32(entry + 8));
    }
    return images;
}

const Args kEveryDepth = {"--depths", "32,24,8,4", "--sizes", "48,32,24,16"};

}  // namespace

TEST(CliFormats, LosslessFormatsGiveTheClassicBitmapsIcon) {
    TempDir dir;
    const Pixels disc = KeyedDisc(130);  // no size divides 130: footprints with partial weights
    WriteFile(dir / "disc.bmp", Bmp(disc));
    const struct {
        const char* name;
        Bytes file;
    } inputs[] = {
        {"disc.bmp", Bmp(disc)},
        {"disc.png", Png(disc)},
        {"disc.gif", Gif(disc)},
        {"v5.bmp", VariantBmp(disc, {124, 24})},
        {"topdown.bmp", VariantBmp(disc, {40, 24, BmpStorage::Plain, {}, true})},
        {"rle8.bmp", VariantBmp(disc, {40, 8, BmpStorage::Rle})},
        {"555.bmp", VariantBmp(disc, {40, 16})},
    };
    for (const auto& input : inputs) WriteFile(dir / input.name, input.file);
    for (const Args& args : {kEveryDepth, Args{"--opaque", "--sizes", "48,24,16"}}) {
        const Bytes expected = Icon(With(args, "--classic"), dir / "disc.bmp", dir / "classic.ico");
        for (const auto& input : inputs)
            EXPECT_EQ(Icon(args, dir / input.name, dir / "out.ico"), expected) << input.name << " " << args[0];
    }
}

TEST(CliFormats, AlphaOfTheClassicKeyPlaneGivesTheClassicThirtyTwoBitIcon) {
    TempDir dir;
    Pixels disc = KeyedDisc(130);
    WriteFile(dir / "disc.bmp", Bmp(disc));
    CDib loaded, plane;
    ASSERT_TRUE(loaded.Load(dir / "disc.bmp"));
    ASSERT_TRUE(BuildKeyPlane(loaded, plane, 2));
    int partial = 0;
    for (int y = 0; y < disc.height; ++y) {
        for (int x = 0; x < disc.width; ++x) {
            const std::uint8_t key = plane.Row(disc.height - 1 - y)[x];
            disc.alphas.push_back(static_cast<std::uint8_t>(255 - key));
            partial += key != 0 && key != 255;
        }
    }
    ASSERT_GT(partial, 0);  // the smoothed edges are in the alpha
    WriteFile(dir / "disc.png", Png(disc));
    const Args only32 = {"--depths", "32", "--sizes", "48,32,24,16"};
    EXPECT_EQ(Icon(only32, dir / "disc.png", dir / "png.ico"),
              Icon(With(only32, "--classic"), dir / "disc.bmp", dir / "bmp.ico"));
}

TEST(CliFormats, JpegGivesTheIconOfLibjpegsOwnDecode) {
    TempDir dir;
    JpegLayout layout;
    layout.width = 120;
    layout.height = 90;
    for (int y = 0; y < layout.height; ++y)
        for (int x = 0; x < layout.width; ++x)
            layout.samples.insert(
                layout.samples.end(),
                {static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 2), static_cast<std::uint8_t>(x * y)});
    const Bytes jpeg = EncodeJpeg(layout);
    WriteFile(dir / "photo.jpg", jpeg);
    Pixels decoded;
    const Bytes rgb = DecodeJpegWithLibjpeg(jpeg, decoded.width, decoded.height);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        decoded.colours.push_back(std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    WriteFile(dir / "photo.bmp", Bmp(decoded));
    EXPECT_EQ(Icon(kEveryDepth, dir / "photo.jpg", dir / "jpg.ico"),
              Icon(With(kEveryDepth, "--classic"), dir / "photo.bmp", dir / "bmp.ico"));
}

TEST(CliFormats, AlphaMakesTransparentByDefaultAndOpaqueLaysItOnWhite) {
    TempDir dir;
    // The corners differ, so only the alpha can make it transparent; green where it is clear.
    Pixels badge = KeyedDisc(64);
    badge.colours[0] = 0x123456;
    Pixels onWhite = badge;
    for (std::size_t i = 0; i < badge.colours.size(); ++i) {
        const bool clear = badge.colours[i] == 0xFF00FF;
        badge.alphas.push_back(clear ? 0 : 255);
        if (clear) badge.colours[i] = 0x00FF00;
        if (clear) onWhite.colours[i] = 0xFFFFFF;
    }
    WriteFile(dir / "badge.png", Png(badge));
    WriteFile(dir / "white.bmp", Bmp(onWhite));
    const Args sizes = {"--sizes", "48,32,16"};
    EXPECT_EQ(le::Get16(Icon(sizes, dir / "badge.png", dir / "badge.ico").data() + 4), 9);  // 32, 8 and 4 bits
    const Args opaque = With(sizes, "--opaque");
    EXPECT_EQ(Icon(opaque, dir / "badge.png", dir / "opaque.ico"),
              Icon(With(opaque, "--classic"), dir / "white.bmp", dir / "white.ico"));
}

TEST(CliFormats, ClassicRefusesAPngAsBefore) {
    TempDir dir;
    WriteFile(dir / "disc.png", Png(KeyedDisc(64)));
    const Outcome classic = RunCli({"--classic", "--sizes", "48", dir / "disc.png"});
    EXPECT_EQ(classic.status, 1);
    EXPECT_EQ(classic.err, "zentro-cli: " + dir / "disc.png" + ": 不是位图文件。\n");
    EXPECT_EQ(classic.out, "");
    EXPECT_EQ(RunCli({"--sizes", "48", dir / "disc.png"}).status, 0);
}

TEST(CliFormats, SixteenPictureInAnyFormatKeepsItsAlpha) {
    TempDir dir;
    WriteFile(dir / "main.bmp", Bmp(KeyedDisc(64)));
    Pixels small = KeyedDisc(40);
    for (std::uint32_t c : small.colours) small.alphas.push_back(c == 0xFF00FF ? 0 : c & 0xFF);
    WriteFile(dir / "small.png", Png(small));
    const Bytes both = Icon({"--depths", "32,24,8,4", "--sizes", "48,16", "--icon16", dir / "small.png"},
                            dir / "main.bmp", dir / "both.ico");
    const Bytes alone = Icon({"--depths", "32,24,8,4", "--sizes", "16"}, dir / "small.png", dir / "alone.ico");
    EXPECT_EQ(ImagesOfSize(both, 16).size(), 4u);
    EXPECT_EQ(ImagesOfSize(both, 16), ImagesOfSize(alone, 16));
}

// The picture's pixel memory is all a BMP read may take: a copy of the whole file
// (or of its pixels) beside the picture must not come back unseen.
TEST(CliFormats, ReadingA4096BmpAsksForLessThanTheFileBeyondThePixels) {
    TempDir dir;
    const int side = 4096;
    const BmpVariant variants[] = {{40, 24},
                                   {124, 32, BmpStorage::AlphaBitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}};
    for (const BmpVariant& variant : variants) {
        SCOPED_TRACE(variant.bitCount);
        // The header of a 4096 x 1 picture made 4096 rows high, its pixels a sparse run of zeros.
        Bytes bytes = EncodeBmpVariant(ArgbPicture{side, 1, std::vector<std::uint32_t>(side)}, variant);
        le::Put32(&bytes[22], side);
        const std::uint64_t size = le::Get32(&bytes[10]) + std::uint64_t{Stride(side, variant.bitCount)} * side;
        WriteFile(dir / "big.bmp", bytes);
        std::filesystem::resize_file(dir / "big.bmp", size);

        ImageStore store;
        const std::size_t before = NewBytesAsked();
        ASSERT_TRUE(cli::LoadSource(dir / "big.bmp", false, store));
        const std::size_t asked = NewBytesAsked() - before;
        EXPECT_EQ(store.source.Width(), side);
        EXPECT_EQ(store.source.Height(), side);
        EXPECT_EQ(store.sourceAlpha.HasPicture(), variant.bitCount == 32);
        EXPECT_LT(asked, size) << asked << " bytes asked for beside the pixels of a " << size << "-byte file";
    }
}
