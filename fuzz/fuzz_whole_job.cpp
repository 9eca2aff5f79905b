// The whole job on small fuzzed pictures with fuzzed choices: build the image
// set, compose every preview, write the icon to memory and read it back. The
// directory must describe exactly the images of the entry list, and every
// record must hold those images' bytes.
//
// Input layout (short inputs read as zeros beyond their end):
//   0  format: bit 0 use24, 1 use4, 2 use8, 3 use32, 4 transparent,
//      5 only-one-256, 6 separate 16x16 bitmap, 7 pixels as a 4-colour palette
//   1  bits 0-4 the size flags (256, 48, 32, 24, 16); bits 5-7 all set: a
//      source large enough for 256 x 256 (seconds of work each, so kept rare)
//   2, 3  source width and height; 4, 5 those of the separate 16x16 bitmap
//   6  0xC0 and above: the (value - 0xBF)th allocation of the build fails;
//      0x80 to 0xBF: the source has an alpha, each pixel's green byte
//   7.. pixels, repeated over the picture: triples blue, green, red, or in
//      palette mode four colours then 2 bits per pixel
#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "icon/icon_writer.h"
#include "image/bmp_writer.h"
#include "image/little_endian.h"
#include "job/image_set_builder.h"
#include "job/image_store.h"
#include "job/picture_fit.h"
#include "platform/pixel_memory.h"
#include "platform/string_table.h"
#include "support/memory_sink.h"

using namespace zentro;
using test::MemorySink;

namespace {

constexpr std::size_t kPixelsStart = 7;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t At(std::size_t i) const { return i < size ? data[i] : 0; }
    bool Bit(std::size_t i, int bit) const { return ((At(i) >> bit) & 1) != 0; }
};

void Paint(CDib& picture, int width, int height, const Input& in) {
    FUZZ_CHECK(picture.Create(width, height, 24));
    const std::uint8_t* pixels = in.size > kPixelsStart ? in.data + kPixelsStart : nullptr;
    const std::size_t count = in.size > kPixelsStart ? in.size - kPixelsStart : 0;
    if (count == 0) return;
    const bool paletteMode = in.Bit(0, 7) && count > 12;
    std::size_t next = paletteMode ? 12 : 0;
    int shift = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* out = picture.PixelPtr24(x, y);
            if (paletteMode) {
                const int index = (pixels[next] >> shift) & 3;
                std::memcpy(out, pixels + 3 * index, 3);
                shift = (shift + 2) % 8;
                if (shift == 0 && ++next == count) next = 12;
            } else {
                for (int c = 0; c < 3; ++c) {
                    out[c] = pixels[next];
                    next = (next + 1) % count;
                }
            }
        }
    }
}

int Side(std::uint8_t byte, bool large) { return large ? 240 + byte % 32 : 1 + byte % 64; }

int LargestChosen(const SizeChoices& sizes) {
    for (int t = 0; t < kSizeCount - 1; ++t)
        if (sizes.sizes[t] != 0) return kSizeTable[t];
    return kSizeTable[kSizeCount - 1];
}

int BitsOfKind(int kind) {
    static const int kBits[] = {4, 8, 24, 32};
    return kBits[kind];
}

// The entry list, worked out from the settled choices alone.
void CheckEntries(const ImageStore& store, const FormatChoices& f, const SizeChoices& s) {
    const int chosen[4] = {f.use4 != 0, f.use8 != 0, f.use24 != 0, f.use32 != 0};
    const int kinds = chosen[0] + chosen[1] + chosen[2] + chosen[3];
    const int sizeCount = static_cast<int>(std::count_if(s.sizes.begin(), s.sizes.end(), [](int v) { return v != 0; }));
    const int deepest = chosen[3] ? 3 : chosen[2] ? 2 : chosen[1] ? 1 : 0;
    FUZZ_CHECK(store.sizeCount == sizeCount);
    FUZZ_CHECK(store.kindCount == chosen[0] + chosen[1] + chosen[2]);
    std::size_t expected = static_cast<std::size_t>(sizeCount * kinds);
    if (s.onlyOne256 != 0) {
        FUZZ_CHECK(store.kind256 == deepest);
        expected -= static_cast<std::size_t>(kinds - 1);
    }
    FUZZ_CHECK(store.entries.size() == expected);
    for (std::size_t i = 0; i < store.entries.size(); ++i) {
        const int kind = store.entries[i] / kSizeCount;
        const int t = store.entries[i] % kSizeCount;
        FUZZ_CHECK(kind < 4 && chosen[kind] && s.sizes[t] != 0);
        if (t == 0 && s.onlyOne256 != 0) FUZZ_CHECK(kind == deepest);
        // Ascending kinds, each from the largest size down: strictly increasing codes.
        if (i > 0) FUZZ_CHECK(store.entries[i] > store.entries[i - 1]);
    }
}

void CheckImagesAndPreviews(const ImageStore& store) {
    for (std::uint8_t code : store.entries) {
        const int size = kSizeTable[code % kSizeCount];
        const CDib& image = store.EntryImage(code);
        const CDib& mask = store.EntryMask(code);
        FUZZ_CHECK(image.HasPicture() && image.Width() == size && image.Height() == size);
        FUZZ_CHECK(image.BitCount() == BitsOfKind(code / kSizeCount));
        FUZZ_CHECK(mask.HasPicture() && mask.Width() == size && mask.Height() == size && mask.BitCount() == 1);
        CDib preview;
        FUZZ_CHECK(image.ComposePreview(preview, mask));
        FUZZ_CHECK(preview.BitCount() == 24 && preview.Width() == size && preview.Height() == size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (mask.GetMaskBit(x, y) != 0) {
                    std::uint8_t colour[3];
                    preview.GetPixel(x, y, colour);
                    FUZZ_CHECK(colour[0] == 255 && colour[1] == 255 && colour[2] == 255);
                }
    }
}

bool Same(const std::vector<std::uint8_t>& file, std::size_t at, const void* bytes, std::size_t count) {
    return at + count <= file.size() && std::memcmp(file.data() + at, bytes, count) == 0;
}

// Reads the written icon back: header, one directory entry per entry code, and
// records that follow each other without gap up to the end of the file.
void CheckIcon(const std::vector<std::uint8_t>& file, const ImageStore& store) {
    const std::size_t n = store.entries.size();
    FUZZ_CHECK(file.size() >= kIconHeaderSize + kDirEntrySize * n);
    FUZZ_CHECK(le::Get16(&file[0]) == 0 && le::Get16(&file[2]) == 1 && le::Get16(&file[4]) == n);
    std::size_t next = kIconHeaderSize + kDirEntrySize * n;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* entry = &file[kIconHeaderSize + kDirEntrySize * i];
        const int size = kSizeTable[store.entries[i] % kSizeCount];
        const int bits = BitsOfKind(store.entries[i] / kSizeCount);
        const CDib& image = store.EntryImage(store.entries[i]);
        const CDib& mask = store.EntryMask(store.entries[i]);
        const std::uint32_t palette = bits == 4 ? 64 : bits == 8 ? 1024 : 0;
        const std::uint32_t pixels = static_cast<std::uint32_t>(size * RowStride(size, bits));
        const std::uint32_t maskBytes = static_cast<std::uint32_t>(size * RowStride(size, 1));
        const std::uint32_t bytes = kBitmapHeaderSize + palette + pixels + maskBytes;

        FUZZ_CHECK(entry[0] == (size & 0xFF) && entry[1] == (size & 0xFF));
        FUZZ_CHECK(entry[2] == 0 && entry[3] == 0);
        FUZZ_CHECK(le::Get16(entry + 4) == 1 && le::Get16(entry + 6) == bits);
        FUZZ_CHECK(le::Get32(entry + 8) == bytes);
        FUZZ_CHECK(le::Get32(entry + 12) == next);
        FUZZ_CHECK(next + bytes <= file.size());

        const BitmapHeader header = ParseBitmapHeader(&file[next]);
        FUZZ_CHECK(header.size == kBitmapHeaderSize && header.width == size && header.height == 2 * size);
        FUZZ_CHECK(header.planes == 1 && header.bitCount == bits && header.compression == 0);
        std::size_t at = next + kBitmapHeaderSize;
        FUZZ_CHECK(Same(file, at, image.ColourTable(), palette));
        at += palette;
        FUZZ_CHECK(Same(file, at, image.Pixels(), pixels));
        at += pixels;
        FUZZ_CHECK(Same(file, at, mask.Pixels(), maskBytes));
        next += bytes;
    }
    FUZZ_CHECK(next == file.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile bitmap16File("whole_job_16.bmp");
    const Input in{data, size};

    FormatChoices format;
    format.use24 = in.Bit(0, 0);
    format.use4 = in.Bit(0, 1);
    format.use8 = in.Bit(0, 2);
    format.use32 = in.Bit(0, 3);
    format.transparent = in.Bit(0, 4);
    SizeChoices sizes;
    for (int t = 0; t < kSizeCount; ++t) sizes.sizes[t] = in.Bit(1, t);
    sizes.onlyOne256 = in.Bit(0, 5);
    sizes.use16Bitmap = in.Bit(0, 6);
    const bool today = in.Bit(0, 7) != 0;
    // What the pages guarantee before the builder runs: a size, and a kind that can be made.
    const bool anySize = std::any_of(sizes.sizes.begin(), sizes.sizes.end(), [](int v) { return v != 0; });
    const bool anyKind = format.use4 || format.use8 || format.use24 || (format.use32 && (format.transparent || today));
    if (!anySize || !anyKind) return -1;

    ImageStore store;
    if (today) store.rules = ConversionRules::Today();
    const bool large = (in.At(1) >> 5) == 7;
    Paint(store.source, Side(in.At(2), large), Side(in.At(3), large), in);
    const bool use16Bitmap = sizes.use16Bitmap != 0 && sizes.sizes[4] != 0;
    int side16 = 0;
    if (use16Bitmap) {
        CDib bitmap16;
        Paint(bitmap16, Side(in.At(4), false), Side(in.At(5), false), in);
        side16 = FittingSide(bitmap16, store.rules.fit);
        MemorySink bmp;
        WriteBmp24(bmp, bitmap16);
        bitmap16File.Write(bmp.bytes.data(), bmp.bytes.size());
        sizes.bitmap16Path = bitmap16File.path();
    }

    if (in.At(6) >= 0x80 && in.At(6) < 0xC0) {
        const CDib& source = store.source;
        FUZZ_CHECK(store.sourceAlpha.Create(source.Width(), source.Height(), 8));
        for (int y = 0; y < source.Height(); ++y)
            for (int x = 0; x < source.Width(); ++x) store.sourceAlpha.Row(y)[x] = source.PixelPtr24(x, y)[1];
    }
    const bool injected = in.At(6) >= 0xC0;
    if (injected) InjectAllocationFailure(in.At(6) - 0xBFu);
    fuzz::MessageLog log;
    const bool built = BuildImageSet(store, format, sizes);
    InjectAllocationFailure(0);

    // Settled as documented, whatever came of the build.
    FUZZ_CHECK(format.transparent != 0 || format.use32 == 0 || today);
    FUZZ_CHECK(sizes.sizes[0] != 0 || sizes.onlyOne256 == 0);
    FUZZ_CHECK((sizes.use16Bitmap != 0) == use16Bitmap);

    const int largest = LargestChosen(sizes);
    if (largest > FittingSide(store.source, store.rules.fit)) {
        FUZZ_CHECK(!built && log.messages.size() == 1);
        FUZZ_CHECK(log.messages[0].id == IDS_TOO_SMALL && log.messages[0].icon == MessageIcon::Exclamation);
        FUZZ_CHECK(log.messages[0].text ==
                   FormatString(IDS_TOO_SMALL, {LoadString(IDS_MAIN_SOURCE), std::to_string(largest),
                                                std::to_string(largest), LoadString(IDS_LARGEST_SIZE_HINT)}));
        return 0;
    }
    if (!built) {
        // Only a failed allocation or a too small 16x16 bitmap may stop a build from here.
        FUZZ_CHECK(log.messages.size() == 1);
        const Message& m = log.messages[0];
        const bool smallBitmap16 = use16Bitmap && side16 < 16 && m.id == IDS_TOO_SMALL &&
                                   m.text == FormatString(IDS_TOO_SMALL, {LoadString(IDS_BITMAP_16), "16", "16", ""});
        FUZZ_CHECK(smallBitmap16 || (injected && m.id == IDS_NO_DIB_MEMORY && m.icon == MessageIcon::Error));
        return 0;
    }
    FUZZ_CHECK(log.messages.empty());
    FUZZ_CHECK(!use16Bitmap || side16 >= 16);

    CheckEntries(store, format, sizes);
    CheckImagesAndPreviews(store);
    MemorySink icon;
    WriteIcon(icon, store, format, sizes);
    CheckIcon(icon.bytes, store);
    return 0;
}
