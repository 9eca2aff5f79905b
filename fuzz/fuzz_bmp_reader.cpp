// CDib::Load on arbitrary bytes. A refusal must show exactly one message; a
// success must leave a 24-bit picture whose every pixel is what the file says,
// worked out here from the raw bytes without the reader's help.
#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "image/dib.h"
#include "image/little_endian.h"
#include "platform/string_table.h"

using namespace zentro;

namespace {

// Pictures above this many pixels are compared on samples: the first and last
// rows, each on its first columns, its last column and its padding.
constexpr std::uint64_t kFullCheckPixels = std::uint64_t{1} << 16;
constexpr int kSampleColumns = 256;
// Pictures that the reader accepts but that cost seconds each: under ASan even
// lazily zeroed memory gets shadowed, and palette pictures are converted pixel
// by pixel. The fuzzer learns nothing from them that small ones do not teach.
constexpr std::uint64_t kMaxFuzzBytes = std::uint64_t{1} << 20;
constexpr std::uint64_t kMaxPalettePixels = std::uint64_t{1} << 16;

// The bytes as the reader sees them: past the end of the file there are zeros.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t At(std::uint64_t offset) const { return offset < size ? data[offset] : 0; }
};

struct Stated {
    std::uint8_t info[kBitmapHeaderSize];
    BitmapHeader header;
    std::uint32_t offBits;
    std::uint32_t dataSize;
};

Stated ReadStated(const Bytes& file) {
    Stated s{};
    for (std::uint32_t i = 0; i < kBitmapHeaderSize; ++i) s.info[i] = file.At(14 + i);
    s.header = ParseBitmapHeader(s.info);
    std::uint8_t numbers[8];
    for (int i = 0; i < 4; ++i) {
        numbers[i] = file.At(2 + i);
        numbers[4 + i] = file.At(10 + i);
    }
    s.offBits = le::Get32(numbers + 4);
    s.dataSize = le::Get32(numbers) - s.offBits;
    return s;
}

// Byte `j` of the stored pixel data: read from bfOffBits on, zero where the
// stated data or the file ends first.
std::uint8_t StoredByte(const Bytes& file, const Stated& s, std::uint64_t j) {
    return j < s.dataSize ? file.At(std::uint64_t{s.offBits} + j) : 0;
}

// The colour the file gives pixel (x, y), as stored in a 24-bit row: blue, green, red.
void ExpectedPixel(const Bytes& file, const Stated& s, int x, int y, std::uint8_t* bgr) {
    const int bits = s.header.bitCount;
    const std::uint64_t row = static_cast<std::uint64_t>(y) * RowStride(s.header.width, bits);
    if (bits == 24) {
        for (int c = 0; c < 3; ++c) bgr[c] = StoredByte(file, s, row + 3 * static_cast<std::uint64_t>(x) + c);
        return;
    }
    const std::uint64_t bitOffset = static_cast<std::uint64_t>(x) * bits;
    const std::uint8_t byte = StoredByte(file, s, row + bitOffset / 8);
    const int shift = 8 - bits - static_cast<int>(bitOffset % 8);
    const unsigned index = (byte >> shift) & ((1u << bits) - 1);
    // Palette bytes the file does not have read as zero, never as an earlier file's colours.
    const std::uint64_t tableBytes = s.offBits - 54;
    for (int c = 0; c < 3; ++c) {
        const std::uint64_t at = 4 * std::uint64_t{index} + c;
        bgr[c] = at < tableBytes ? file.At(54 + at) : 0;
    }
}

void CheckPixel(const CDib& dib, const Bytes& file, const Stated& s, int x, int y) {
    std::uint8_t expected[3];
    ExpectedPixel(file, s, x, y, expected);
    FUZZ_CHECK(std::memcmp(dib.Row(y) + 3 * x, expected, 3) == 0);
}

void CheckRow(const CDib& dib, const Bytes& file, const Stated& s, int y, int columns) {
    for (int x = 0; x < columns; ++x) CheckPixel(dib, file, s, x, y);
    CheckPixel(dib, file, s, dib.Width() - 1, y);
    // Padding is the file's own for 24 bits and zero after a conversion; reading all
    // of it proves that the row lies inside the pixel memory.
    const std::uint8_t* row = dib.Row(y);
    const std::uint64_t rowStart = static_cast<std::uint64_t>(y) * dib.Stride();
    for (std::size_t i = 3 * static_cast<std::size_t>(dib.Width()); i < dib.Stride(); ++i)
        FUZZ_CHECK(row[i] == (s.header.bitCount == 24 ? StoredByte(file, s, rowStart + i) : 0));
}

void CheckLoaded(const CDib& dib, const Bytes& file, const Stated& s) {
    FUZZ_CHECK(dib.HasPicture());
    FUZZ_CHECK(dib.BitCount() == 24);
    FUZZ_CHECK(dib.Width() == s.header.width && dib.Height() == s.header.height);
    std::uint8_t header[kBitmapHeaderSize];
    SerializeBitmapHeader(dib.Header(), header);
    if (s.header.bitCount == 24) {
        // Read without conversion: the header stays exactly as the file has it.
        FUZZ_CHECK(std::memcmp(header, s.info, kBitmapHeaderSize) == 0);
    } else {
        BitmapHeader plain;
        plain.size = kBitmapHeaderSize;
        plain.width = s.header.width;
        plain.height = s.header.height;
        plain.planes = 1;
        plain.bitCount = 24;
        std::uint8_t expected[kBitmapHeaderSize];
        SerializeBitmapHeader(plain, expected);
        FUZZ_CHECK(std::memcmp(header, expected, kBitmapHeaderSize) == 0);
    }
    FUZZ_CHECK(dib.Header().compression == 0);

    const std::uint64_t pixels = static_cast<std::uint64_t>(dib.Width()) * static_cast<std::uint64_t>(dib.Height());
    if (pixels <= kFullCheckPixels) {
        for (int y = 0; y < dib.Height(); ++y) CheckRow(dib, file, s, y, dib.Width());
    } else {
        const int columns = std::min(dib.Width(), kSampleColumns);
        CheckRow(dib, file, s, 0, columns);
        CheckRow(dib, file, s, dib.Height() - 1, columns);
    }

    std::uint8_t bottomLeft[3], topLeft[3], bottomRight[3];
    dib.GetPixel(0, 0, bottomLeft);
    dib.GetPixel(0, dib.Height() - 1, topLeft);
    dib.GetPixel(dib.Width() - 1, 0, bottomRight);
    const bool same = std::memcmp(bottomLeft, topLeft, 3) == 0 && std::memcmp(bottomLeft, bottomRight, 3) == 0;
    FUZZ_CHECK(dib.GetCornerFlag() == (same ? 1 : 0));
}

bool CostlyToAccept(const BitmapHeader& h) {
    const std::uint64_t bytes = ExactImageSize(h);
    if (bytes == 0 || h.compression != 0) return false;
    const std::uint64_t pixels = static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height);
    // What CDib refuses to allocate costs nothing and stays in.
    if (bytes > UINT32_MAX || pixels > kMaxPixels) return false;
    return bytes > kMaxFuzzBytes || (h.bitCount != 24 && pixels > kMaxPalettePixels);
}

// A 1 x 1 8-bit file whose palette is white everywhere, loaded before each input
// so that whatever it leaves behind would show in the input's colours.
std::vector<std::uint8_t> WhitePaletteFile() {
    std::vector<std::uint8_t> bytes(1078 + 4, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    le::Put32(&bytes[2], static_cast<std::uint32_t>(bytes.size()));
    le::Put32(&bytes[10], 1078);
    BitmapHeader h;
    h.size = kBitmapHeaderSize;
    h.width = 1;
    h.height = 1;
    h.planes = 1;
    h.bitCount = 8;
    SerializeBitmapHeader(h, &bytes[14]);
    std::memset(&bytes[54], 0xFF, 1024);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile input("bmp_reader.bmp");
    static const fuzz::ScratchFile previous("bmp_reader_previous.bmp");
    static const bool previousWritten = [] {
        const std::vector<std::uint8_t> bytes = WhitePaletteFile();
        previous.Write(bytes.data(), bytes.size());
        return true;
    }();
    FUZZ_CHECK(previousWritten);

    const Bytes file{data, size};
    const Stated stated = ReadStated(file);
    if (CostlyToAccept(stated.header)) return -1;
    input.Write(data, size);

    CDib dib;
    {
        fuzz::MessageLog log;
        FUZZ_CHECK(dib.Load(previous.path()));
        FUZZ_CHECK(log.messages.empty());
    }
    fuzz::MessageLog log;
    if (!dib.Load(input.path())) {
        FUZZ_CHECK(log.messages.size() == 1);
        const Message& m = log.messages[0];
        FUZZ_CHECK(m.id == IDS_CANNOT_READ || m.id == IDS_UNSUPPORTED_BITMAP || m.id == IDS_NO_DIB_MEMORY ||
                   m.id == IDS_NOT_A_BITMAP || m.id == IDS_PICTURE_TOO_LARGE);
        FUZZ_CHECK(m.icon == MessageIcon::Error && m.buttons == MessageButtons::Ok);
        FUZZ_CHECK(m.text == LoadString(m.id));
        // Refused before any pixel memory was had: the earlier picture is gone too.
        if (m.id == IDS_NOT_A_BITMAP || m.id == IDS_UNSUPPORTED_BITMAP || m.id == IDS_PICTURE_TOO_LARGE)
            FUZZ_CHECK(!dib.HasPicture());
        return 0;
    }
    FUZZ_CHECK(log.messages.empty());
    CheckLoaded(dib, file, stated);
    return 0;
}
