#pragma once
// Every bitmap of a conversion lives here, from loading the source to writing
// the icon. Re-running a step overwrites its earlier results in place.
#include <cstdint>
#include <vector>

#include "image/dib.h"
#include "job/choices.h"
#include "job/conversion_rules.h"
#include "job/picture_sources.h"

namespace zentro {

struct ImagePair {
    CDib image;
    CDib mask;
};

struct PalettePair {
    CDib image4;
    CDib image8;
};

// Members are declared in the order they are built; C++ destroys them in reverse.
struct ImageStore {
    CDib source;
    // The source's own alpha, 8 bits of the source's size (0 clear, 255 opaque),
    // when the picture has one; the classic reader never gives one.
    CDib sourceAlpha;
    // The source's file dropped detail (see Picture::lossy).
    bool sourceLossy = false;
    // The pictures given besides the source (further rasters, a vector), which
    // make the sizes they fit better; empty for a job of one picture.
    PictureSources moreSources;
    // The pixels of each size index, largest first; the image tables hold one slot per size.
    std::vector<short> sizeTable = {kSizeTable.begin(), kSizeTable.end()};
    std::vector<ImagePair> table32 = std::vector<ImagePair>(kSizeCount);
    std::vector<ImagePair> table24 = std::vector<ImagePair>(kSizeCount);
    std::vector<PalettePair> paletteTable = std::vector<PalettePair>(kSizeCount);
    CDib keyMask;
    std::uint8_t kindCount = 0;
    std::uint8_t sizeCount = 0;
    std::int8_t kind256 = 0;
    std::vector<std::uint8_t> entries;
    std::uint8_t currentPage = 0;
    // How the pictures above become the icon's images; the classic rules unless
    // whoever loads them says otherwise.
    ConversionRules rules;

    // The image and AND mask that entry code `code` (kind x sizes in the table + size index) names.
    const CDib& EntryImage(std::uint8_t code) const;
    const CDib& EntryMask(std::uint8_t code) const;
    // Makes `table` the size table, with empty slots when it differs from the one held.
    void SetSizeTable(const std::vector<short>& table);
    // Sets the entry list to exactly `count` codes; new ones start at 0, and 0 frees the storage.
    void ResizeEntries(std::size_t count);
};

}  // namespace zentro
