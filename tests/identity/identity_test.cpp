// The conversions must give the same bytes however they are computed. Each case
// below runs a whole job (or one operation) and folds everything it produced
// (icon file, preview of every entry, messages, settled choices) into one
// checksum recorded from the straightforward pixel-by-pixel code. A faster
// implementation that changes a single byte fails here.
//
// When a change of output is intended, the failure message prints the new
// checksum; record it only after checking the new images are right.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon/icon_writer.h"
#include "identity/pictures_for_identity.h"
#include "image/image_set_builder.h"
#include "support/bmp_builder.h"
#include "support/memory_sink.h"
#include "support/message_recorder.h"

using namespace zentro;
using namespace zentro::test;

namespace {

// FNV-1a, 64 bits: stable everywhere and needs nothing outside this file.
class Digest {
public:
    void Bytes(const void* data, std::size_t count) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < count; ++i) {
            hash_ ^= p[i];
            hash_ *= 0x100000001B3ull;
        }
    }
    void Number(std::int64_t value) {
        for (int i = 0; i < 8; ++i) {
            const std::uint8_t byte = static_cast<std::uint8_t>(value >> (8 * i));
            Bytes(&byte, 1);
        }
    }
    void Text(const std::string& text) {
        Number(static_cast<std::int64_t>(text.size()));
        Bytes(text.data(), text.size());
    }
    void Picture(const CDib& dib) {
        Number(dib.HasPicture());
        if (!dib.HasPicture()) return;
        Number(dib.Width());
        Number(dib.Height());
        Number(dib.BitCount());
        Bytes(dib.Pixels(), dib.GetImageSize());
        for (std::uint32_t i = 0; i < dib.GetPaletteSize() / 4; ++i) Bytes(&dib.ColourTable()[i], 4);
    }
    void Messages(const MessageRecorder& recorder) {
        Number(static_cast<std::int64_t>(recorder.messages.size()));
        for (const Message& m : recorder.messages) {
            Number(m.id);
            Text(m.text);
            Number(static_cast<int>(m.icon));
            Number(static_cast<int>(m.buttons));
        }
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

SizeChoices Sizes(std::array<int, kSizeCount> flags, int onlyOne256) {
    SizeChoices s;
    s.sizes = flags;
    s.onlyOne256 = onlyOne256;
    return s;
}

constexpr std::array<int, kSizeCount> kAllSizes = {1, 1, 1, 1, 1};
constexpr std::array<int, kSizeCount> kUpTo48 = {0, 1, 1, 1, 1};
const FormatChoices kEveryDepth{1, 1, 1, 1, 1};
const FormatChoices kOpaque{1, 1, 1, 0, 0};

// The source files every case draws from, written once.
class Sources {
public:
    Sources() {
        Put("scene.bmp", SceneFile24(301, 263, 0xFF00FF, 1));
        Put("scene-grey-key.bmp", SceneFile24(97, 61, 0x808080, 2));
        Put("gradient.bmp", GradientFile24(97, 50, 3));
        Put("palette8.bmp", ShapeFile(259, 257, 8, 4));
        Put("palette4.bmp", ShapeFile(53, 61, 4, 5));
        Put("palette1.bmp", ShapeFile(45, 33, 1, 6));
        Put("icon16.bmp", ShapeFile(23, 19, 8, 7));
        Put("icon16-large.bmp", SceneFile24(64, 70, 0x00FF00, 8));
        Put("thin.bmp", ShapeFile(15, 40, 4, 9));
        Put("flat.bmp", Encode24(25, 25, std::vector<std::uint32_t>(625, 0x336699)));
        Put("tall.bmp", SceneFile24(17, 300, 0x0000FF, 10));
    }
    std::string operator/(const std::string& name) const { return dir_ / name; }

private:
    void Put(const std::string& name, const std::vector<std::uint8_t>& bytes) { WriteFile(dir_ / name, bytes); }
    TempDir dir_;
};

const Sources& Files() {
    static const Sources sources;
    return sources;
}

struct JobCase {
    const char* name;
    const char* source;
    FormatChoices format;
    SizeChoices sizes;
    const char* bitmap16;  // "" = no separate 16 x 16 bitmap
    bool builds;
    std::uint64_t expected;
};

// Everything one job leaves behind: what the reader and the builder said, the
// settled choices, the entry list, the icon file and every preview.
std::uint64_t RunJob(const JobCase& job, bool& built) {
    Digest digest;
    MessageRecorder recorder;
    ImageStore store;
    const bool loaded = store.source.Load(Files() / job.source);
    digest.Number(loaded);
    digest.Number(store.source.GetCornerFlag());
    digest.Picture(store.source);

    FormatChoices format = job.format;
    SizeChoices sizes = job.sizes;
    if (job.bitmap16[0] != '\0') {
        sizes.use16Bitmap = 1;
        sizes.bitmap16Path = Files() / job.bitmap16;
    }
    built = loaded && BuildImageSet(store, format, sizes);
    digest.Number(built);
    for (int v : {format.use24, format.use4, format.use8, format.use32, format.transparent, sizes.onlyOne256,
                  sizes.use16Bitmap})
        digest.Number(v);
    if (built) {
        digest.Number(store.sizeCount);
        digest.Number(store.kindCount);
        digest.Number(store.kind256);
        digest.Bytes(store.entries.data(), store.entries.size());
        MemorySink icon;
        WriteIcon(icon, store, format, sizes);
        digest.Number(static_cast<std::int64_t>(icon.bytes.size()));
        digest.Bytes(icon.bytes.data(), icon.bytes.size());
        for (std::uint8_t code : store.entries) {
            CDib preview;
            digest.Number(store.EntryImage(code).ComposePreview(preview, store.EntryMask(code)));
            digest.Picture(preview);
        }
    }
    digest.Messages(recorder);
    return digest.Value();
}

const JobCase kJobs[] = {
    // The benchmark's job: every depth, every size, every kind keeps its 256 image.
    {"scene, everything", "scene.bmp", kEveryDepth, Sizes(kAllSizes, 0), "", true, 0x6DA5B3A9C80B7215ull},
    {"scene, only one 256, separate 16", "scene.bmp", kEveryDepth, Sizes({1, 1, 1, 0, 1}, 1), "icon16.bmp", true,
     0x20ECDD4B19C0F7E4ull},
    {"scene, opaque", "scene.bmp", kOpaque, Sizes(kAllSizes, 1), "", true, 0x2DDE1B015CFD2953ull},
    {"scene, 32-bit alone", "scene.bmp", FormatChoices{0, 0, 0, 1, 1}, Sizes({1, 0, 1, 0, 1}, 1), "", true,
     0x646837F4C17D02DCull},
    {"scene, 8-bit keyed", "scene.bmp", FormatChoices{0, 0, 1, 0, 1}, Sizes({1, 0, 0, 1, 0}, 0), "", true,
     0x76176612AE04213Aull},
    {"8-bit file, everything", "palette8.bmp", kEveryDepth, Sizes(kAllSizes, 0), "icon16-large.bmp", true,
     0x8B6D04BED02D85E5ull},
    {"8-bit file, 4 and 8 opaque", "palette8.bmp", FormatChoices{0, 1, 1, 0, 0}, Sizes({0, 1, 0, 1, 1}, 1), "", true,
     0x84A0F4AE9E6C5124ull},
    {"4-bit file", "palette4.bmp", kEveryDepth, Sizes(kUpTo48, 1), "", true, 0xEA6344AC9D5FF74Aull},
    {"1-bit file", "palette1.bmp", kEveryDepth, Sizes({0, 0, 1, 1, 1}, 0), "", true, 0x3EA104B1AAB7BE05ull},
    {"1-bit file, 24 and 32 only", "palette1.bmp", FormatChoices{1, 0, 0, 1, 1}, Sizes({0, 0, 1, 0, 1}, 0),
     "icon16.bmp", true, 0x145900529E9F4132ull},
    {"grey key, non-square", "scene-grey-key.bmp", kEveryDepth, Sizes(kUpTo48, 1), "", true, 0x7788CFAF0E5B62DAull},
    {"gradient, opaque", "gradient.bmp", kOpaque, Sizes(kUpTo48, 1), "", true, 0xE23E72ED92CE2240ull},
    {"gradient keyed at its corner", "gradient.bmp", kEveryDepth, Sizes(kUpTo48, 0), "", true, 0xE68F2A6AB6C749D1ull},
    {"one colour, all keyed", "flat.bmp", kEveryDepth, Sizes({0, 0, 0, 1, 1}, 1), "", true, 0x633AFB1FDA602B3Eull},
    {"tall and thin", "tall.bmp", kEveryDepth, Sizes({0, 0, 0, 0, 1}, 1), "palette4.bmp", true, 0x72B4886155FE9AB7ull},
    // Refusals: the messages and the unchanged store count as output too.
    {"source too small", "gradient.bmp", kEveryDepth, Sizes(kAllSizes, 1), "", false, 0x8876F4782D9915CDull},
    {"16 x 16 bitmap too thin", "palette4.bmp", kEveryDepth, Sizes(kUpTo48, 1), "thin.bmp", false,
     0xD7A91980E3DFCAD1ull},
    {"16 x 16 bitmap missing", "palette4.bmp", kEveryDepth, Sizes(kUpTo48, 1), "missing.bmp", false,
     0x36FDDF6181A78356ull},
};

}  // namespace

TEST(ByteIdentity, WholeJobsGiveTheRecordedBytes) {
    for (const JobCase& job : kJobs) {
        bool built = false;
        EXPECT_EQ(RunJob(job, built), job.expected) << job.name;
        EXPECT_EQ(built, job.builds) << job.name;
    }
}

namespace {

// A key mask with every value 0 to 255 scattered over it, ramps included.
void NoisyKeyMask(CDib& mask, int width, int height) {
    ASSERT_TRUE(mask.Create(width, height, 24));
    std::uint32_t state = 99;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const std::uint32_t n = state >> 24;
            const std::uint8_t value[3] = {static_cast<std::uint8_t>(n < 96 ? 0 : n < 176 ? 255 : n), 0, 0};
            mask.SetPixel(x, y, value);
        }
    }
}

}  // namespace

// The operations on their own, with inputs the builder never hands them: growing
// a picture, non-square targets, key masks full of partial values, key masks in
// every resampling mode.
TEST(ByteIdentity, SingleOperationsGiveTheRecordedBytes) {
    struct Source {
        const char* file;
        std::uint64_t expected;
    };
    const Source sources[] = {{"scene-grey-key.bmp", 0x0D3148827D9DBEA5ull},
                              {"palette4.bmp", 0x3FBFA210A4E8B887ull},
                              {"flat.bmp", 0x3941625FCFA67B70ull},
                              {"icon16.bmp", 0xAD9579D7F07A0CFBull}};
    const int targets[][2] = {{48, 48}, {16, 16}, {33, 20}, {120, 7}};
    for (const Source& s : sources) {
        Digest digest;
        MessageRecorder recorder;
        CDib source;
        ASSERT_TRUE(source.Load(Files() / s.file));
        CDib masks[4];
        for (int keyMode = 0; keyMode < 3; ++keyMode) {
            ASSERT_TRUE(source.BuildKeyMask(masks[keyMode], keyMode));
            digest.Picture(masks[keyMode]);
        }
        NoisyKeyMask(masks[3], source.Width(), source.Height());
        for (const CDib& mask : masks) {
            for (const auto& size : targets) {
                for (int mode = 0; mode < 3; ++mode) {
                    CDib image, imageMask;
                    ASSERT_TRUE(source.Resample(image, size[0], size[1], mode, mask, imageMask));
                    digest.Picture(image);
                    digest.Picture(imageMask);
                    if (mode == 2) continue;
                    for (bool sixteen : {true, false}) {
                        CDib quantized;
                        ASSERT_TRUE(image.Quantize(quantized, sixteen, imageMask));
                        digest.Picture(quantized);
                    }
                }
            }
        }
        digest.Messages(recorder);
        EXPECT_EQ(digest.Value(), s.expected) << s.file;
    }
}
