#include "icon/icon_reader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "icon/icon_writer.h"
#include "image/bitmap_header.h"
#include "image/little_endian.h"

namespace zentro {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, IHDR length and type, and the 13 bytes of IHDR up to the interlace flag.
constexpr std::uint64_t kPngHeadBytes = 8 + 8 + 13;

std::uint32_t GetBig32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

int DirSide(std::uint8_t stored) { return stored == 0 ? 256 : stored; }

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size, IconFileInfo& info) : data_(data), size_(size), info_(info) {}

    void Read() {
        if (size_ < kIconHeaderSize) {
            File("the file holds " + std::to_string(size_) + " bytes, fewer than an icon header's 6");
            return;
        }
        const std::uint16_t reserved = le::Get16(data_);
        const std::uint16_t type = le::Get16(data_ + 2);
        const std::uint16_t count = le::Get16(data_ + 4);
        if (reserved != 0) File("header: reserved field is " + std::to_string(reserved) + ", not 0");
        if (type != 1 && type != 2) {
            File("header: type " + std::to_string(type) + " is neither 1 (icon) nor 2 (cursor)");
            return;
        }
        info_.type = type;
        if (count == 0) File("header: the directory holds no entries");
        const std::uint64_t directoryEnd = kIconHeaderSize + std::uint64_t{kDirEntrySize} * count;
        std::size_t fitting = count;
        if (directoryEnd > size_) {
            fitting = (size_ - kIconHeaderSize) / kDirEntrySize;
            File("header: " + std::to_string(count) + " entries need a directory up to byte " +
                 std::to_string(directoryEnd) + ", but the file holds " + std::to_string(size_) + " bytes");
        }
        info_.entries.resize(fitting);
        for (std::size_t k = 0; k < fitting; ++k)
            ReadEntry(static_cast<int>(k), std::min<std::uint64_t>(directoryEnd, size_));
        CheckOverlaps();
        CheckDuplicates();
    }

private:
    void File(std::string text) { info_.findings.push_back({true, -1, std::move(text)}); }
    void Fault(int k, const std::string& text) {
        info_.findings.push_back({true, k, "entry " + std::to_string(k) + ": " + text});
    }
    void Warn(int k, const std::string& text) {
        info_.findings.push_back({false, k, "entry " + std::to_string(k) + ": " + text});
    }

    void ReadEntry(int k, std::uint64_t directoryEnd) {
        IconEntryInfo& e = info_.entries[k];
        const std::uint8_t* p = data_ + kIconHeaderSize + std::size_t{kDirEntrySize} * k;
        e.dir = {p[0], p[1], p[2], p[3], le::Get16(p + 4), le::Get16(p + 6), le::Get32(p + 8), le::Get32(p + 12)};
        e.width = DirSide(e.dir.width);
        e.height = DirSide(e.dir.height);
        e.bitCount = info_.type == 1 ? e.dir.bitCount : 0;  // a cursor keeps its hot spot there
        const std::uint64_t start = e.dir.imageOffset;
        const std::uint64_t end = start + e.dir.bytesInResource;
        // The kind is told by the image's first bytes wherever they are in the file, cut short or not.
        if (start + sizeof kPngSignature <= size_ && e.dir.bytesInResource >= sizeof kPngSignature &&
            std::memcmp(data_ + start, kPngSignature, sizeof kPngSignature) == 0)
            e.format = IconImageFormat::Png;
        if (e.dir.bytesInResource == 0) {
            Fault(k, "the image is 0 bytes long");
            return;
        }
        e.pastEnd = end > size_;
        if (e.pastEnd) {
            Fault(k, "the image at offset " + std::to_string(start) + ", " + std::to_string(e.dir.bytesInResource) +
                         " bytes, runs past the end of the file (" + std::to_string(size_) + " bytes)");
            return;
        }
        if (start < directoryEnd) {
            Fault(k, "the image at offset " + std::to_string(start) + " lies within the header or directory");
            return;
        }
        const std::uint8_t* image = data_ + start;
        const std::uint32_t bytes = e.dir.bytesInResource;
        if (e.format == IconImageFormat::Png)
            ReadPng(k, image, bytes);
        else
            ReadBmp(k, image, bytes);
    }

    void ReadPng(int k, const std::uint8_t* image, std::uint32_t bytes) {
        IconEntryInfo& e = info_.entries[k];
        if (bytes < kPngHeadBytes || GetBig32(image + 8) != 13 || std::memcmp(image + 12, "IHDR", 4) != 0) {
            Fault(k, "PNG image without a complete IHDR chunk after its signature");
            return;
        }
        const std::uint32_t width = GetBig32(image + 16);
        const std::uint32_t height = GetBig32(image + 20);
        const int depth = image[24];
        const int colourType = image[25];
        const int channels = colourType == 0 || colourType == 3 ? 1 : colourType == 2 ? 3 : colourType == 4 ? 2 : 4;
        if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
            Fault(k, "PNG image of " + std::to_string(width) + "x" + std::to_string(height) + " pixels");
            return;
        }
        if (width != static_cast<std::uint32_t>(e.width) || height != static_cast<std::uint32_t>(e.height))
            Fault(k, "PNG image is " + std::to_string(width) + "x" + std::to_string(height) + ", the directory says " +
                         Size(e.width, e.height));
        e.width = static_cast<int>(width);
        e.height = static_cast<int>(height);
        const int bits = depth * channels;
        if (info_.type == 1 && e.dir.bitCount != 0 && e.dir.bitCount != bits)
            Warn(k, "PNG image has " + std::to_string(bits) + " bits per pixel, the directory says " +
                        std::to_string(e.dir.bitCount));
        e.bitCount = bits;
        e.readable = true;
    }

    void ReadBmp(int k, const std::uint8_t* image, std::uint32_t bytes) {
        IconEntryInfo& e = info_.entries[k];
        if (bytes < kBitmapHeaderSize) {
            Fault(k, "the image is " + std::to_string(bytes) + " bytes, too short for a bitmap header or a PNG");
            return;
        }
        const BitmapHeader h = ParseBitmapHeader(image);
        if (h.size < kBitmapHeaderSize || h.size > bytes) {
            Fault(k, "bitmap header claims " + std::to_string(h.size) + " bytes");
            return;
        }
        const bool depthKnown =
            h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 24 || h.bitCount == 32;
        if (!depthKnown) {
            Fault(k, "bitmap of " + std::to_string(h.bitCount) + " bits per pixel");
            return;
        }
        if (h.compression != 0) {
            Fault(k, "bitmap compressed with method " + std::to_string(h.compression) + "; icons store them plain");
            return;
        }
        // Icon bitmaps are bottom-up and hold the colour rows, then as many mask rows.
        if (h.width <= 0 || h.height <= 0 || h.height % 2 != 0) {
            Fault(k, "bitmap header gives " + std::to_string(h.width) + "x" + std::to_string(h.height) +
                         " pixels; an icon needs a positive width and an even, positive doubled height");
            return;
        }
        const int height = h.height / 2;
        if (h.width != e.width || height != e.height)
            Fault(k, "bitmap is " + Size(h.width, height) + " (height " + std::to_string(h.height) +
                         " doubled), the directory says " + Size(e.width, e.height));
        if (info_.type == 1 && e.dir.bitCount != h.bitCount) {
            if (e.dir.bitCount == 0)
                Warn(k, "the directory gives no bit count; the bitmap has " + std::to_string(h.bitCount));
            else
                Fault(k, "bitmap has " + std::to_string(h.bitCount) + " bits per pixel, the directory says " +
                             std::to_string(e.dir.bitCount));
        }
        e.width = h.width;
        e.height = height;
        e.bitCount = h.bitCount;
        if (h.width == 256 && height == 256 && info_.type == 1)
            Warn(k, "a 256x256 image stored as BMP; PNG is usual at this size");

        const std::uint64_t maxColours = h.bitCount <= 8 ? (1u << h.bitCount) : 256;
        if (h.clrUsed > maxColours) {
            Fault(k, "bitmap claims " + std::to_string(h.clrUsed) + " colours in its table");
            return;
        }
        const std::uint64_t colours = h.clrUsed != 0 ? h.clrUsed : h.bitCount <= 8 ? maxColours : 0;
        BitmapHeader plane = h;
        plane.height = height;
        const std::uint64_t xorBytes = ExactImageSize(plane);
        plane.bitCount = 1;
        const std::uint64_t andBytes = ExactImageSize(plane);
        const std::uint64_t needed = h.size + 4 * colours + xorBytes + andBytes;
        if (needed > bytes && h.bitCount == 32 && needed - andBytes == bytes) {
            // Pillow writes them so; its own alpha makes the image whole.
            Warn(k, "32-bit bitmap without an AND mask; some older readers expect one");
            e.readable = true;
            return;
        }
        if (needed > bytes) {
            Fault(k, "holds " + std::to_string(bytes) + " bytes, but its header, " + std::to_string(colours) +
                         " colours, " + std::to_string(xorBytes) + " bytes of colour and " + std::to_string(andBytes) +
                         " bytes of AND mask need " + std::to_string(needed));
            // A 32-bit image carries its own alpha and is whole without its mask.
            e.readable = h.bitCount == 32 && needed - andBytes <= bytes;
            return;
        }
        if (needed < bytes)
            Warn(k, "holds " + std::to_string(bytes - needed) + " bytes more than its bitmap needs (" +
                        std::to_string(needed) + ")");
        e.readable = true;
    }

    void CheckOverlaps() {
        std::vector<int> placed;
        for (std::size_t k = 0; k < info_.entries.size(); ++k) {
            const IconDirEntry& d = info_.entries[k].dir;
            if (d.bytesInResource != 0 && std::uint64_t{d.imageOffset} + d.bytesInResource <= size_)
                placed.push_back(static_cast<int>(k));
        }
        std::sort(placed.begin(), placed.end(),
                  [this](int a, int b) { return info_.entries[a].dir.imageOffset < info_.entries[b].dir.imageOffset; });
        // Compared with the furthest-reaching image so far, so that an entry inside another is found too.
        std::uint64_t reach = 0;
        int reaching = -1;
        for (int k : placed) {
            const IconDirEntry& d = info_.entries[k].dir;
            if (reaching >= 0 && d.imageOffset < reach)
                Fault(std::min(k, reaching),
                      "the image overlaps that of entry " + std::to_string(std::max(k, reaching)));
            if (std::uint64_t{d.imageOffset} + d.bytesInResource > reach) {
                reach = std::uint64_t{d.imageOffset} + d.bytesInResource;
                reaching = k;
            }
        }
    }

    void CheckDuplicates() {
        std::map<std::tuple<int, int, int>, int> seen;
        for (std::size_t k = 0; k < info_.entries.size(); ++k) {
            const IconEntryInfo& e = info_.entries[k];
            if (!e.readable) continue;
            const auto [it, fresh] = seen.emplace(std::make_tuple(e.width, e.height, e.bitCount), static_cast<int>(k));
            if (!fresh)
                Warn(static_cast<int>(k), "the same size and depth (" + Size(e.width, e.height) + ", " +
                                              std::to_string(e.bitCount) + " bits) as entry " +
                                              std::to_string(it->second));
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    IconFileInfo& info_;
};

}  // namespace

bool IconFileInfo::HasFault() const {
    return std::any_of(findings.begin(), findings.end(), [](const IconFinding& f) { return f.fault; });
}

IconFileInfo ReadIconFile(const std::uint8_t* data, std::size_t size) {
    IconFileInfo info;
    Reader(data, size, info).Read();
    return info;
}

std::vector<int> DeepestIconEntries(const IconFileInfo& icon) {
    std::vector<int> chosen;
    for (std::size_t k = 0; k < icon.entries.size(); ++k) {
        const IconEntryInfo& e = icon.entries[k];
        if (!e.readable) continue;
        const auto same = std::find_if(chosen.begin(), chosen.end(), [&](int c) {
            const IconEntryInfo& other = icon.entries[static_cast<std::size_t>(c)];
            return other.width == e.width && other.height == e.height;
        });
        if (same == chosen.end())
            chosen.push_back(static_cast<int>(k));
        else if (e.bitCount > icon.entries[static_cast<std::size_t>(*same)].bitCount)
            *same = static_cast<int>(k);
    }
    return chosen;
}

}  // namespace zentro
