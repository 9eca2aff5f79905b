#include "image/image_set_builder.h"

#include <algorithm>
#include <new>

#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

// Step 1: choices that only make sense together.
void SettleChoices(FormatChoices& format, SizeChoices& sizes) {
    if (format.transparent == 0) format.use32 = 0;
    if (sizes.sizes[0] == 0) sizes.onlyOne256 = 0;
    if (sizes.sizes[4] == 0) sizes.use16Bitmap = 0;
}

bool ShowTooSmall(unsigned what, int size, const std::string& suffix) {
    ShowMessageText(IDS_TOO_SMALL, FormatTooSmall(LoadString(what), size, size, suffix), MessageIcon::Exclamation);
    return false;
}

bool CheckSource(const CDib& source, const SizeChoices& sizes) {
    int largest = kSizeTable[kSizeCount - 1];
    for (int t = 0; t < kSizeCount - 1; ++t) {
        if (sizes.sizes[t] != 0) {
            largest = kSizeTable[t];
            break;
        }
    }
    if (largest > source.GetMinSide()) return ShowTooSmall(IDS_MAIN_SOURCE, largest, LoadString(IDS_LARGEST_SIZE_HINT));
    return true;
}

bool LoadBitmap16(CDib& bitmap16, const SizeChoices& sizes) {
    if (sizes.bitmap16Path.empty()) {
        ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation);
        return false;
    }
    if (!bitmap16.Load(sizes.bitmap16Path)) return false;
    if (bitmap16.GetMinSide() < kSizeTable[4]) return ShowTooSmall(IDS_BITMAP_16, kSizeTable[4], "");
    return true;
}

// Makes every image of one size; false when a bitmap cannot be created.
bool GenerateSize(ImageStore& store, const CDib& source, int t, const FormatChoices& format,
                  const BuildStageObserver& observer) {
    const auto stage = [&observer](BuildStage s) {
        if (observer) observer(s);
    };
    const int size = kSizeTable[t];
    if (store.kindCount != 0) {
        const int mode = format.transparent != 0 ? 1 : 0;
        ImagePair& pair24 = store.table24[t];
        stage(BuildStage::KeyMasks);
        if (!source.BuildKeyMask(store.keyMask, mode)) return false;
        stage(BuildStage::Resampling);
        if (!source.Resample(pair24.image, size, size, mode, store.keyMask, pair24.mask)) return false;
        stage(BuildStage::Quantizing);
        if (format.use4 != 0 && !pair24.image.Quantize(store.paletteTable[t].image4, true, pair24.mask)) return false;
        if (format.use8 != 0 && !pair24.image.Quantize(store.paletteTable[t].image8, false, pair24.mask)) return false;
    }
    if (format.use32 != 0) {
        ImagePair& pair32 = store.table32[t];
        stage(BuildStage::KeyMasks);
        if (!source.BuildKeyMask(store.keyMask, 2)) return false;
        stage(BuildStage::Resampling);
        if (!source.Resample(pair32.image, size, size, 2, store.keyMask, pair32.mask)) return false;
    }
    return true;
}

}  // namespace

int IsKindChosen(std::int8_t kind, const FormatChoices& format) {
    switch (kind) {
        case kKind4: return format.use4;
        case kKind8: return format.use8;
        case kKind24: return format.use24;
        case kKind32: return format.use32;
        default: return 0;
    }
}

std::vector<std::uint8_t> ImageOrder(const FormatChoices& format, const SizeChoices& sizes, std::int8_t kind256) {
    std::vector<std::uint8_t> order;
    for (std::int8_t kind = kKind4; kind <= kKind32; ++kind) {
        if (IsKindChosen(kind, format) == 0) continue;
        const int first = (sizes.onlyOne256 != 0 && kind != kind256) ? 1 : 0;
        for (int t = first; t < kSizeCount; ++t)
            if (sizes.sizes[t] != 0) order.push_back(static_cast<std::uint8_t>(kind * kSizeCount + t));
    }
    return order;
}

bool BuildImageSet(ImageStore& store, FormatChoices& format, SizeChoices& sizes, const BuildStageObserver& observer) {
    SettleChoices(format, sizes);
    if (!CheckSource(store.source, sizes)) return false;
    // Belongs to this run only; released on every way out.
    CDib bitmap16;
    if (sizes.use16Bitmap != 0 && !LoadBitmap16(bitmap16, sizes)) return false;

    int sizeCount = 0;
    for (int flag : sizes.sizes) sizeCount += flag != 0 ? 1 : 0;
    store.sizeCount = static_cast<std::uint8_t>(sizeCount);
    store.kindCount = static_cast<std::uint8_t>((format.use24 != 0) + (format.use4 != 0) + (format.use8 != 0));
    if (sizes.onlyOne256 != 0) {
        for (std::int8_t kind = kKind32; kind >= kKind4; --kind) {
            if (IsKindChosen(kind, format) != 0) {
                store.kind256 = kind;
                break;
            }
        }
    }
    std::vector<std::uint8_t> order = ImageOrder(format, sizes, store.kind256);
    store.ResizeEntries(order.size());
    std::copy(order.begin(), order.end(), store.entries.begin());

    for (int t = 0; t < kSizeCount; ++t) {
        if (sizes.sizes[t] == 0) continue;
        const CDib& source = (sizes.use16Bitmap != 0 && t == kSizeCount - 1) ? bitmap16 : store.source;
        bool made;
        try {
            made = GenerateSize(store, source, t, format, observer);
        } catch (const std::bad_alloc&) {
            made = false;  // an octree node or error row could not be had
        }
        if (!made) {
            ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
            return false;
        }
    }
    return true;
}

}  // namespace zentro
