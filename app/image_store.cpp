#include "app/image_store.h"

namespace zentro {

const CDib& ImageStore::EntryImage(std::uint8_t code) const {
    const int kind = code / kSizeCount;
    const int size = code % kSizeCount;
    switch (kind) {
        case kKind4: return paletteTable[size].image4;
        case kKind8: return paletteTable[size].image8;
        case kKind24: return table24[size].image;
        default: return table32[size].image;
    }
}

const CDib& ImageStore::EntryMask(std::uint8_t code) const {
    const int size = code % kSizeCount;
    return code / kSizeCount == kKind32 ? table32[size].mask : table24[size].mask;
}

void ImageStore::ResizeEntries(std::size_t count) {
    entries.resize(count, 0);
    if (count == 0) entries.shrink_to_fit();
}

}  // namespace zentro
