// The icon reader on arbitrary bytes. Whatever it is fed, it must stay within the
// bytes; every entry it calls readable must lie within the file and decode, and
// the decoded alpha must be what the entry's own bytes say, worked out here from
// the raw bytes; a file without faults must have its images apart from each other.
#include <algorithm>

#include "fuzz_support.h"
#include "icon/icon_reader.h"
#include "image/bitmap_header.h"
#include "image/little_endian.h"

using namespace zentro;

namespace {

// The alpha that the raw bytes give pixel (x, y) of a readable BMP entry.
int StoredAlpha(const std::uint8_t* image, int x, int y) {
    const BitmapHeader h = ParseBitmapHeader(image);
    const int height = h.height / 2;
    const std::uint64_t colours = h.clrUsed != 0 ? h.clrUsed : h.bitCount <= 8 ? (1u << h.bitCount) : 0;
    const std::uint64_t pixels = h.size + 4 * colours;
    const std::uint64_t colourStride = RowStride(h.width, h.bitCount);
    if (h.bitCount == 32) return image[pixels + y * colourStride + 4 * x + 3];
    const std::uint64_t mask = pixels + colourStride * height + y * RowStride(h.width, 1);
    return (image[mask + x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
}

void CheckEntry(const std::uint8_t* data, std::size_t size, const IconEntryInfo& e) {
    FUZZ_CHECK(std::uint64_t{e.dir.imageOffset} + e.dir.bytesInResource <= size);
    if (e.format != IconImageFormat::Bmp) return;
    Picture picture;
    FUZZ_CHECK(DecodeBmpIconEntry(data, size, e, picture));
    FUZZ_CHECK(picture.colour.Width() == e.width && picture.colour.Height() == e.height);
    FUZZ_CHECK(picture.alpha.Width() == e.width && picture.alpha.Height() == e.height);
    const std::uint8_t* image = data + e.dir.imageOffset;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{e.width - 1, e.height - 1}, std::pair{e.width / 2, 0}})
        FUZZ_CHECK(picture.alpha.Row(y)[x] == StoredAlpha(image, x, y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IconFileInfo icon = ReadIconFile(data, size);
    FUZZ_CHECK(icon.IsIcon() || icon.entries.empty());
    for (const IconEntryInfo& e : icon.entries)
        if (e.readable) CheckEntry(data, size, e);
    // One readable entry for each size.
    const std::vector<int> deepest = DeepestIconEntries(icon);
    for (std::size_t k = 0; k < deepest.size(); ++k) {
        const IconEntryInfo& e = icon.entries[static_cast<std::size_t>(deepest[k])];
        FUZZ_CHECK(e.readable);
        for (std::size_t j = 0; j < k; ++j) {
            const IconEntryInfo& other = icon.entries[static_cast<std::size_t>(deepest[j])];
            FUZZ_CHECK(other.width != e.width || other.height != e.height);
        }
    }

    if (icon.IsIcon() && !icon.HasFault()) {
        FUZZ_CHECK(!icon.entries.empty() && size >= 6 + 16 * icon.entries.size());
        std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
        for (const IconEntryInfo& e : icon.entries) {
            FUZZ_CHECK(e.readable);
            spans.emplace_back(e.dir.imageOffset, std::uint64_t{e.dir.imageOffset} + e.dir.bytesInResource);
        }
        std::sort(spans.begin(), spans.end());
        for (std::size_t k = 0; k < spans.size(); ++k)
            FUZZ_CHECK(spans[k].first >= 6 + 16 * spans.size() && (k == 0 || spans[k - 1].second <= spans[k].first));
    }
    return 0;
}
