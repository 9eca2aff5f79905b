// Pictures in the field's formats against the classic bitmap of the same pixels:
// the icons must be the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "cli/input_scan.h"
#include "cli/picture_input.h"
#include "codec_encoders.h"
#include "image/dib.h"
#include "image/key_values.h"
#include "image/little_endian.h"
#include "platform/string_table.h"
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

TEST(CliFormats, LosslessFormatsGiveTheBitmapsIcon) {
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
        const Bytes expected = Icon(args, dir / "disc.bmp", dir / "bitmap.ico");
        for (const auto& input : inputs)
            EXPECT_EQ(Icon(args, dir / input.name, dir / "out.ico"), expected) << input.name << " " << args[0];
    }
}

TEST(CliFormats, AlphaOfTheKeyPlaneGivesTheKeyedThirtyTwoBitIcon) {
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
    // The disc's ground is joined to the border everywhere: the key plane is the same.
    EXPECT_EQ(Icon(only32, dir / "disc.png", dir / "png.ico"), Icon(only32, dir / "disc.bmp", dir / "bmp.ico"));
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
    // The corners differ, so the bitmap is not keyed either.
    EXPECT_EQ(Icon(kEveryDepth, dir / "photo.jpg", dir / "jpg.ico"),
              Icon(kEveryDepth, dir / "photo.bmp", dir / "bmp.ico"));
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
    const Args older = {"--sizes", "48,32,16", "--depths", "32,8,4"};
    EXPECT_EQ(le::Get16(Icon(older, dir / "badge.png", dir / "badge.ico").data() + 4), 9);
    for (const Args& opaque : {With(sizes, "--opaque"), With(older, "--opaque")})
        EXPECT_EQ(Icon(opaque, dir / "badge.png", dir / "opaque.ico"),
                  Icon(opaque, dir / "white.bmp", dir / "white.ico"));
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

namespace {

// Colours all different; with `partial`, an alpha that runs from 64 to 255,
// else one that is clear in every third column and opaque elsewhere.
Pixels Gradient(int side, bool partial) {
    Pixels p{side, side, {}, {}};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            p.colours.push_back(static_cast<std::uint32_t>(x * 255 / side) << 16 |
                                static_cast<std::uint32_t>(y * 255 / side) << 8 | 0x40);
            p.alphas.push_back(static_cast<std::uint8_t>(partial ? 64 + (x + y) * 191 / (2 * side) : x % 3 ? 255 : 0));
        }
    }
    return p;
}

}  // namespace

TEST(SeveralPictures, GiveTheOneSourceIconWhereEachSizeComesFromThatSource) {
    TempDir dir;
    WriteFile(dir / "disc.png", Png(KeyedDisc(130)));
    WriteFile(dir / "large.png", Png(Gradient(200, true)));
    WriteFile(dir / "small.png", Png(Gradient(20, true)));  // too small for every size asked
    const Args sizes = {"--sizes", "48,32,24", "--depths", "32,24,8,4"};
    const Bytes alone = Icon(sizes, dir / "disc.png", dir / "alone.ico");
    // The disc is the smallest picture large enough for every size, wherever it is given.
    for (const Args& inputs :
         {Args{dir / "disc.png", dir / "large.png"}, Args{dir / "small.png", dir / "large.png", dir / "disc.png"}}) {
        Args args = sizes;
        args.insert(args.end(), {"-f", "-o", dir / "together.ico"});
        args.insert(args.end(), inputs.begin(), inputs.end());
        const Outcome r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFile(dir / "together.ico"), alone);
    }
}

TEST(SeveralPictures, ThePictureOfExactlyASizeIsTakenAsItIsAndSizesDefaultToThePictures) {
    TempDir dir;
    const Pixels small = Gradient(16, false);
    WriteFile(dir / "large.png", Png(KeyedDisc(130)));
    WriteFile(dir / "small.png", Png(small));
    const Outcome r = RunCli({"-o", dir / "app.ico", "--png", "all", dir / "large.png", dir / "small.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The square pictures' sizes, at the default depth.
    const Bytes ico = ReadFile(dir / "app.ico");
    ASSERT_EQ(le::Get16(ico.data() + 4), 2);
    EXPECT_EQ(ImagesOfSize(ico, 130).size(), 1u);
    const std::vector<Bytes> sixteens = ImagesOfSize(ico, 16);
    ASSERT_EQ(sixteens.size(), 1u);
    int width = 0, height = 0;
    const Bytes rgba = DecodePngWithLibpng(sixteens.back(), width, height);  // the 32-bit one
    ASSERT_EQ(width, 16);
    for (std::size_t i = 0; i < small.colours.size(); ++i) {
        const std::uint32_t c = small.alphas[i] == 0 ? 0 : small.colours[i];  // clear is clear black
        EXPECT_EQ((Bytes{rgba.begin() + 4 * i, rgba.begin() + 4 * i + 4}),
                  (Bytes{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), small.alphas[i]}))
            << "pixel " << i;
    }
}

TEST(SeveralPictures, AnIconGivesTheIconOfItsExtractedImages) {
    TempDir dir;
    WriteFile(dir / "disc.png", Png(KeyedDisc(130)));
    ASSERT_EQ(RunCli({"-o", dir / "old.ico", "--depths", "32", "--sizes", "48,32,20,16", dir / "disc.png"}).status, 0);
    ASSERT_EQ(RunCli({"--extract", dir / "images", dir / "old.ico"}).status, 0);
    Args pictures;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "images")) pictures.push_back(entry.path());
    std::sort(pictures.begin(), pictures.end());
    ASSERT_EQ(pictures.size(), 4u);
    Args fromImages = {"-o", dir / "images.ico", "--png", "all"};
    fromImages.insert(fromImages.end(), pictures.begin(), pictures.end());
    ASSERT_EQ(RunCli(fromImages).status, 0);
    EXPECT_EQ(Icon({"--png", "all"}, dir / "old.ico", dir / "again.ico"), ReadFile(dir / "images.ico"));
}

#ifdef ZENTRO_RSVG_CONVERT
TEST(SeveralPictures, AVectorGivesTheIconOfItsRendersAtEachSize) {
    TempDir dir;
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'><defs><linearGradient id='g'>"
        "<stop offset='0' stop-color='#2a6'/><stop offset='1' stop-color='#15a' stop-opacity='.6'/>"
        "</linearGradient></defs><rect x='8' y='8' width='84' height='84' rx='18' fill='url(#g)'/>"
        "<path d='M30 70 L50 25 L70 70 Z' fill='#fff'/></svg>";
    WriteFile(dir / "logo.svg", Bytes(svg.begin(), svg.end()));
    for (const Args& options : {Args{}, Args{"--sizes", "windows", "--png", "all"}}) {
        Args renders = options;
        renders.insert(renders.end(), {"-f", "-o", dir / "renders.ico"});
        for (const int size : {256, 96, 64, 48, 40, 32, 24, 20, 16}) {
            const std::string png = dir / ("r" + std::to_string(size) + ".png");
            const std::string command = std::string(ZENTRO_RSVG_CONVERT) + " -w " + std::to_string(size) + " -h " +
                                        std::to_string(size) + " -o " + png + " " + (dir / "logo.svg");
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            renders.push_back(png);
        }
        // The renders the default sizes do not name would change the default: leave them out.
        if (options.empty())
            renders.erase(std::remove_if(renders.begin(), renders.end(),
                                         [](const std::string& a) {
                                             return a.find("/r96.") != std::string::npos ||
                                                    a.find("/r64.") != std::string::npos ||
                                                    a.find("/r40.") != std::string::npos ||
                                                    a.find("/r24.") != std::string::npos ||
                                                    a.find("/r20.") != std::string::npos;
                                         }),
                          renders.end());
        const Outcome r = RunCli(renders);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Icon(options, dir / "logo.svg", dir / "vector.ico"), ReadFile(dir / "renders.ico")) << options.size();
    }
}
#endif

// A folder takes the pictures their names take: an SVG told by its text, which
// may open with a long prolog, also when that text comes gzip-compressed.
TEST(CliFormats, AFolderTakesSvgPicturesWhateverTheirProlog) {
    TempDir dir;
    const std::string svg = "<?xml version='1.0' encoding='UTF-8'?>\n<!-- " + std::string(3000, 'x') +
                            " -->\n<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 8 8'/>\n";
    WriteFile(dir / "drawing.svg", Bytes(svg.begin(), svg.end()));
    const std::string gzip = "gzip -c " + (dir / "drawing.svg") + " > " + (dir / "drawing.svgz");
    ASSERT_EQ(std::system(gzip.c_str()), 0);
    for (const char* name : {"drawing.svg", "drawing.svgz"})
        EXPECT_TRUE(cli::IsTakenPicture(dir / name, false)) << name;
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
        ASSERT_TRUE(cli::LoadSources({dir / "big.bmp"}, false, store));
        const std::size_t asked = NewBytesAsked() - before;
        EXPECT_EQ(store.source.Width(), side);
        EXPECT_EQ(store.source.Height(), side);
        EXPECT_EQ(store.sourceAlpha.HasPicture(), variant.bitCount == 32);
        EXPECT_LT(asked, size) << asked << " bytes asked for beside the pixels of a " << size << "-byte file";
    }
}

// An icon cut short: --list must tell what --list of the whole icon tells, and mark
// what is missing; --extract, failing, must not leave a folder of its own behind.
TEST(CliIcons, ACutIconListsLikeTheWholeAndAFailedExtractionLeavesNoNewFolder) {
    TempDir dir;
    WriteFile(dir / "in.png", Png(KeyedDisc(48)));
    ASSERT_EQ(RunCli({"--png", "all", "--sizes", "48,32,16", "--depths", "32", "-o", dir / "whole.ico", dir / "in.png"})
                  .status,
              0);
    const Bytes whole = ReadFile(dir / "whole.ico");
    const std::uint32_t last = le::Get32(whole.data() + 6 + 16 * 2 + 12);
    WriteFile(dir / "cut.ico", Bytes(whole.begin(), whole.begin() + last + 20));

    const std::string wholeList = RunCli({"--list", dir / "whole.ico"}).out;
    std::string expected = wholeList.substr(wholeList.find('\n') + 1);
    expected.insert(expected.size() - 1, "  past the end of the file");
    const Outcome cut = RunCli({"--list", dir / "cut.ico"});
    EXPECT_EQ(cut.out.substr(cut.out.find('\n') + 1), expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 3);
    EXPECT_EQ(expected.find("BMP"), std::string::npos) << expected;

    EXPECT_EQ(RunCli({"--extract", dir / "new/images", dir / "cut.ico"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "new"));
    std::filesystem::create_directory(dir / "there");
    EXPECT_EQ(RunCli({"--extract", dir / "there", dir / "cut.ico"}).status, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "there"), {}), 2);
}

#ifdef ZENTRO_RSVG_CONVERT
// A drawing that names a picture beside it converts without it, and says so once.
TEST(CliFormats, AnSvgThatNamesAnotherFileSaysItIsNotDrawnOnce) {
    TempDir dir;
    WriteFile(dir / "ext.png", Png(KeyedDisc(8)));
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><rect width='10' "
        "height='5' fill='#2a6'/><image href='ext.png' width='10' height='10'/></svg>";
    WriteFile(dir / "logo.svg", Bytes(svg.begin(), svg.end()));
    const Outcome r = RunCli({"--sizes", "48,32,16", dir / "logo.svg"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "zentro-cli: " + dir / "logo.svg" + ": " + FormatString(IDS_CLI_NOT_DRAWN, {"\"ext.png\""}) + "\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "logo.ico"));
}
#endif
