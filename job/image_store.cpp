#include "job/image_store.h"

namespace zentro {

const CDib& ImageStore::EntryImage(std::uint8_t code) const {
    const int kind = code / static_cast<int>(sizeTable.size());
    const int size = code % static_cast<int>(sizeTable.size());
    switch (kind) {
        case kKind4: return paletteTable[size].image4;
        case kKind8: return paletteTable[size].image8;
        case kKind24: return table24[size].image;
        default: return table32[size].image;
    }
}

const CDib& ImageStore::EntryMask(std::uint8_t code) const {
    const int count = static_cast<int>(sizeTable.size());
    return code / count == kKind32 ? table32[code % count].mask : table24[code % count].mask;
}

void ImageStore::SetSizeTable(const std::vector<short>& table) {
    if (table == sizeTable) return;
    // CDib neither copies nor moves, so the slots are made anew rather than resized.
    table32 = std::vector<ImagePair>(table.size());
    table24 = std::vector<ImagePair>(table.size());
    paletteTable = std::vector<PalettePair>(table.size());
    sizeTable = table;
}

void ImageStore::ResizeEntries(std::size_t count) {
    entries.resize(count, 0);
    if (count == 0) entries.shrink_to_fit();
}

}  // namespace zentro
