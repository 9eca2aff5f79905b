#include "codecs/exif_orientation.h"

#include <cstring>

namespace zentro::codecs {

namespace {

constexpr std::uint8_t kExifSignature[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntryBytes = 12;

// The TIFF structure inside the block, in its own byte order.
class TiffBytes {
public:
    TiffBytes(const std::uint8_t* data, std::size_t size, bool bigEndian)
        : data_(data), size_(size), bigEndian_(bigEndian) {}

    bool Has(std::uint64_t offset, std::uint64_t count) const { return offset <= size_ && count <= size_ - offset; }
    std::uint16_t Get16(std::size_t at) const {
        return bigEndian_ ? static_cast<std::uint16_t>(data_[at] << 8 | data_[at + 1])
                          : static_cast<std::uint16_t>(data_[at + 1] << 8 | data_[at]);
    }
    std::uint32_t Get32(std::size_t at) const {
        const std::uint32_t high = Get16(at), low = Get16(at + 2);
        return bigEndian_ ? high << 16 | low : low << 16 | high;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool bigEndian_;
};

}  // namespace

int ExifOrientation(const std::uint8_t* app1, std::size_t size) {
    constexpr std::size_t kSignatureBytes = sizeof kExifSignature;
    if (size < kSignatureBytes + 8 || std::memcmp(app1, kExifSignature, kSignatureBytes) != 0) return 1;
    const std::uint8_t* tiff = app1 + kSignatureBytes;
    const std::size_t tiffSize = size - kSignatureBytes;
    bool bigEndian;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (tiff[0] == 'I' && tiff[1] == 'I') {
        bigEndian = false;
    } else {
        return 1;
    }
    const TiffBytes bytes(tiff, tiffSize, bigEndian);
    if (bytes.Get16(2) != 42) return 1;
    const std::uint64_t directory = bytes.Get32(4);
    if (!bytes.Has(directory, 2)) return 1;
    const unsigned entries = bytes.Get16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + std::uint64_t{i} * kEntryBytes;
        if (!bytes.Has(entry, kEntryBytes)) return 1;
        if (bytes.Get16(entry) != kOrientationTag) continue;
        if (bytes.Get16(entry + 2) != kShortType || bytes.Get32(entry + 4) != 1) return 1;
        const int orientation = bytes.Get16(entry + 8);
        return orientation >= 1 && orientation <= 8 ? orientation : 1;
    }
    return 1;
}

}  // namespace zentro::codecs
