// CDib::Load: uncompressed bottom-up BMP files of 1, 4, 8 or 24 bits per pixel,
// always held as 24 bits afterwards.
#include <algorithm>
#include <iterator>

#include "image/colour_key.h"
#include "image/dib.h"
#include "image/little_endian.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kHeadersSize = kFileHeaderSize + kBitmapHeaderSize;
constexpr std::uint32_t kMaxColourTableBytes = 1024;

// A refusal: its message has been shown already.
struct Refused {};

[[noreturn]] void Refuse(unsigned id, const std::vector<std::string>& facts = {}) {
    ShowMessageAbout("", id, MessageIcon::Error, facts);
    throw Refused{};
}

}  // namespace

bool CDib::ConvertTo24Bits() {
    CDib converted;
    if (!converted.Create(header_.width, header_.height, 24)) return false;
    // Same result as reading and writing pixel by pixel through the palette, a row at a time.
    for (int y = 0; y < header_.height; ++y) {
        std::uint8_t* out = converted.Row(y);
        for (int x = 0; x < header_.width; ++x, out += 3) {
            std::uint8_t colour[3];
            GetPixel(x, y, colour);
            out[0] = colour[2];
            out[1] = colour[1];
            out[2] = colour[0];
        }
    }
    pixels_ = std::move(converted.pixels_);
    header_ = converted.header_;
    return true;
}

bool CDib::Load(const std::string& path) {
    Free();
    File file;
    if (!file.OpenForReading(path)) {
        ShowMessageAbout("", IDS_FILE_NOT_FOUND, MessageIcon::Error, {FailureReason(file.Failure(), false)});
        return false;
    }
    bool reported = false;
    try {
        // Bytes a short file does not have count as zero.
        std::uint8_t headers[kHeadersSize] = {};
        file.Read(headers, kFileHeaderSize);
        if (le::Get16(headers) != 0x4D42) Refuse(IDS_NOT_A_BITMAP, {"BMP"});
        const std::uint32_t fileSize = le::Get32(headers + 2);
        const std::uint32_t offBits = le::Get32(headers + 10);

        file.Read(headers + kFileHeaderSize, kBitmapHeaderSize);
        header_ = ParseBitmapHeader(headers + kFileHeaderSize);

        // Compared without wrap-around: data that cannot fit 32 bits passes here and
        // is refused below, when no pixel memory of that size can be had.
        const std::uint32_t dataSize = fileSize - offBits;
        const std::int32_t tableBytes = static_cast<std::int32_t>(offBits - kHeadersSize);
        const int bits = header_.bitCount;
        if (header_.size != kBitmapHeaderSize || (bits != 24 && bits != 8 && bits != 4 && bits != 1) ||
            header_.width < 1 || header_.height < 1 || ExactImageSize(header_) < dataSize || tableBytes < 0 ||
            tableBytes > static_cast<std::int32_t>(kMaxColourTableBytes))
            Refuse(IDS_UNSUPPORTED_BITMAP);

        // Too many pixels is told as such, with the size, rather than as memory running short.
        const std::uint64_t width = static_cast<std::uint32_t>(header_.width);
        const std::uint64_t height = static_cast<std::uint32_t>(header_.height);
        if (width * height > kMaxPixels) Refuse(IDS_PICTURE_TOO_LARGE, TooLargeFacts(width, height));
        if (!Allocate()) Refuse(IDS_NO_DIB_MEMORY);

        if (bits != 24) {
            // A short palette must not leave colours of an earlier file behind.
            std::fill(std::begin(colourTable_), std::end(colourTable_), PaletteEntry{});
            std::uint8_t table[kMaxColourTableBytes];
            std::size_t got = file.Read(table, static_cast<std::size_t>(tableBytes));
            for (std::size_t i = 0; i < got; ++i) {
                PaletteEntry& entry = colourTable_[i / 4];
                std::uint8_t* field[4] = {&entry.blue, &entry.green, &entry.red, &entry.reserved};
                *field[i % 4] = table[i];
            }
        }
        file.Seek(offBits);
        file.Read(pixels_.get(), dataSize);

        if (bits != 24 && !ConvertTo24Bits()) Refuse(IDS_NO_DIB_MEMORY);

        cornerFlag_ = CornersShareColour(*this);
    } catch (const Refused&) {
        reported = true;
    } catch (const FileError&) {
        ShowMessage(IDS_CANNOT_READ, MessageIcon::Error);
        reported = true;
    }
    try {
        file.Close();
    } catch (const FileError&) {
        file.Abort();
    }
    return !reported;
}

}  // namespace zentro
