// What the command line makes of today's pictures without being told: each case
// is one a new user met (holes, lost grounds, invisible icons, speckles, refused
// small pictures, stretched photos, off-by-one pixels).
#include <gtest/gtest.h>

#include "codec_encoders.h"
#include "codecs/icon_decoder.h"
#include "image/little_endian.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/cli_runner.h"

using namespace zentro;
using namespace zentro::test;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

// RGBA rows top first, as a picture file holds them.
struct Rgba {
    int side = 0;
    int height = 0;
    Bytes pixels;
    const std::uint8_t* At(int x, int y) const { return pixels.data() + 4 * (static_cast<std::size_t>(y) * side + x); }
};

Bytes Png(const Rgba& p) {
    PngLayout layout{p.side, p.height, 6, 8, false, p.pixels, {}, {}, {}};
    return EncodePng(layout);
}

// A red square with a white disc inside, on a white ground.
Rgba Logo(int side) {
    Rgba p{side, side, {}};
    const double c = (side - 1) / 2.0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool square = x >= side / 4 && x < side * 3 / 4 && y >= side / 4 && y < side * 3 / 4;
            const bool disc = (x - c) * (x - c) + (y - c) * (y - c) <= side * side / 64.0;
            const bool red = square && !disc;
            p.pixels.insert(p.pixels.end(), {255, std::uint8_t(red ? 0 : 255), std::uint8_t(red ? 0 : 255), 255});
        }
    }
    return p;
}

// Every 32-bit image of an icon, largest first.
std::vector<Rgba> Images32(const std::string& icon) {
    const Bytes bytes = ReadFile(icon);
    std::vector<Picture> pictures;
    EXPECT_EQ(codecs::DecodeIconImages(bytes.data(), bytes.size(), pictures), 0u) << icon;
    std::vector<Rgba> images;
    for (const Picture& p : pictures) images.push_back({p.colour.Width(), p.colour.Height(), TopDownRgba(p)});
    return images;
}

Outcome Convert(Args args, const std::string& input, const std::string& icon) {
    args.insert(args.end(), {"-f", "-o", icon, input});
    return RunCli(args);
}

int ClearPixels(const Rgba& image) {
    int clear = 0;
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) clear += image.pixels[i] == 0;
    return clear;
}

}  // namespace

TEST(DefaultRules, KeyOnlyWhatThePictureCallsFor) {
    TempDir dir;
    WriteFile(dir / "logo.png", Png(Logo(64)));
    ASSERT_EQ(Convert({"--sizes", "64"}, dir / "logo.png", dir / "logo.ico").status, 0);
    const Rgba logo = Images32(dir / "logo.ico").at(0);
    EXPECT_EQ(logo.At(0, 0)[3], 0);      // the ground joined to the border is keyed
    EXPECT_EQ(logo.At(32, 32)[3], 255);  // the disc of the same white inside is not
    EXPECT_EQ(logo.At(32, 32)[0], 255);
    ASSERT_EQ(Convert({"--sizes", "64", "--key", "everywhere"}, dir / "logo.png", dir / "all.ico").status, 0);
    EXPECT_EQ(Images32(dir / "all.ico").at(0).At(32, 32)[3], 0);

    // A lossy picture is not keyed unless asked; nor is a picture of one colour.
    JpegLayout jpeg;
    jpeg.width = jpeg.height = 64;
    jpeg.fullChroma = true;
    const Rgba drawn = Logo(64);
    for (std::size_t i = 0; i < drawn.pixels.size(); i += 4)
        jpeg.samples.insert(jpeg.samples.end(), {drawn.pixels[i], drawn.pixels[i + 1], drawn.pixels[i + 2]});
    WriteFile(dir / "logo.jpg", EncodeJpeg(jpeg));
    Rgba flat{40, 40, {}};
    for (int i = 0; i < 40 * 40; ++i) flat.pixels.insert(flat.pixels.end(), {0x33, 0x66, 0x99, 255});
    WriteFile(dir / "flat.png", Png(flat));
    for (const char* name : {"logo.jpg", "flat.png"}) {
        ASSERT_EQ(Convert({"--sizes", "32"}, dir / name, dir / "out.ico").status, 0) << name;
        EXPECT_EQ(ClearPixels(Images32(dir / "out.ico").at(0)), 0) << name;
    }
    ASSERT_EQ(Convert({"--sizes", "32", "--transparent"}, dir / "logo.jpg", dir / "out.ico").status, 0);
    EXPECT_EQ(Images32(dir / "out.ico").at(0).At(0, 0)[3], 0);
#ifdef ZENTRO_RSVG_CONVERT
    // A drawing's transparency is its own: a full-bleed ground stays.
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><rect width='10' "
        "height='10' fill='#2050c0'/><circle cx='5' cy='5' r='3' fill='#fff'/></svg>";
    WriteFile(dir / "full.svg", Bytes(svg.begin(), svg.end()));
    ASSERT_EQ(Convert({}, dir / "full.svg", dir / "svg.ico").status, 0);
    for (const Rgba& image : Images32(dir / "svg.ico")) EXPECT_EQ(ClearPixels(image), 0) << image.side;
#endif
}

TEST(DefaultRules, SizesThePicturesMakeAndTheirShape) {
    TempDir dir;
    WriteFile(dir / "p48.png", Png(Logo(48)));
    const Outcome small = Convert({}, dir / "p48.png", dir / "p48.ico");
    ASSERT_EQ(small.status, 0) << small.err;
    EXPECT_NE(small.err.find(FormatString(IDS_CLI_SIZES_LEFT_OUT, {"256"})), std::string::npos) << small.err;
    std::vector<int> sides;
    for (const Rgba& image : Images32(dir / "p48.ico")) sides.push_back(image.side);
    EXPECT_EQ(sides, (std::vector<int>{48, 32, 16}));
    // Smaller than every default size: one image of its own size.
    WriteFile(dir / "p10.png", Png(Logo(10)));
    ASSERT_EQ(Convert({}, dir / "p10.png", dir / "p10.ico").status, 0);
    EXPECT_EQ(Images32(dir / "p10.ico").size(), 1u);
    EXPECT_EQ(Images32(dir / "p10.ico").at(0).side, 10);
    // Named sizes are made or refused, never left out.
    const Outcome named = Convert({"--sizes", "256,48"}, dir / "p48.png", dir / "named.ico");
    EXPECT_EQ(named.status, 1);
    EXPECT_NE(named.err.find("256x256"), std::string::npos) << named.err;

    // 60 x 40 in 48: content 48 x 32 from row 8, the margins clear; stretched, none.
    Rgba wide{60, 40, {}};
    for (int i = 0; i < 60 * 40; ++i) wide.pixels.insert(wide.pixels.end(), {10, 200, 30, 255});
    wide.pixels[0] = 0;  // the corners differ: nothing keyed
    WriteFile(dir / "wide.png", Png(wide));
    ASSERT_EQ(Convert({"--sizes", "48"}, dir / "wide.png", dir / "wide.ico").status, 0);
    const Rgba padded = Images32(dir / "wide.ico").at(0);
    for (int y = 0; y < 48; ++y) EXPECT_EQ(padded.At(30, y)[3], y >= 8 && y < 40 ? 255 : 0) << y;
    EXPECT_EQ(ClearPixels(padded), 48 * 16);
    // The palette kinds have the same margins, through their AND masks.
    ASSERT_EQ(Convert({"--sizes", "48", "--depths", "8,4"}, dir / "wide.png", dir / "palette.ico").status, 0);
    for (const Rgba& image : Images32(dir / "palette.ico"))
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) ASSERT_EQ(image.At(x, y)[3], padded.At(x, y)[3]) << x << "," << y;
    ASSERT_EQ(Convert({"--sizes", "32", "--fit", "stretch"}, dir / "wide.png", dir / "stretch.ico").status, 0);
    EXPECT_EQ(ClearPixels(Images32(dir / "stretch.ico").at(0)), 0);
}

TEST(DefaultRules, HandMadeSizesAreTakenAsTheyAre) {
    TempDir dir;
    Args args = {"-f", "-o", dir / "app.ico"};
    std::vector<Rgba> made;
    for (int side : {256, 48, 32, 16}) {
        Rgba p{side, side, {}};
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                p.pixels.insert(p.pixels.end(), {std::uint8_t(x * 255 / side), std::uint8_t(y * 255 / side),
                                                 std::uint8_t(x ^ y), std::uint8_t(1 + (x * 7 + y * 3) % 255)});
        WriteFile(dir / (std::to_string(side) + ".png"), Png(p));
        args.push_back(dir / (std::to_string(side) + ".png"));
        made.push_back(p);
    }
    const Outcome r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<Rgba> images = Images32(dir / "app.ico");
    ASSERT_EQ(images.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(images[i].pixels, made[i].pixels) << made[i].side;
}

TEST(DefaultRules, ThirtyTwoBitAloneWithThe256AsPng) {
    TempDir dir;
    WriteFile(dir / "logo.png", Png(Logo(256)));
    ASSERT_EQ(Convert({}, dir / "logo.png", dir / "logo.ico").status, 0);
    const Bytes ico = ReadFile(dir / "logo.ico");
    ASSERT_EQ(le::Get16(ico.data() + 4), 4);
    EXPECT_EQ(le::Get16(ico.data() + 6 + 6), 32);
    EXPECT_EQ(ico[le::Get32(ico.data() + 6 + 12) + 1], 'P');  // \x89PNG
    ASSERT_EQ(Convert({"--png", "none"}, dir / "logo.png", dir / "bmp.ico").status, 0);
    EXPECT_EQ(ReadFile(dir / "bmp.ico")[le::Get32(ReadFile(dir / "bmp.ico").data() + 6 + 12)], 40);
    // Opaque 32-bit images, asked for outright.
    const Outcome opaque = Convert({"--opaque", "--depths", "32", "--sizes", "32"}, dir / "logo.png", dir / "o.ico");
    ASSERT_EQ(opaque.status, 0) << opaque.err;
    EXPECT_EQ(ClearPixels(Images32(dir / "o.ico").at(0)), 0);
}
