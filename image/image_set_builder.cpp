#include "image/image_set_builder.h"

#include <algorithm>
#include <new>

#include "image/area_average.h"
#include "image/key_values.h"
#include "image/parallel_for.h"
#include "image/true_colour.h"
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

// The 4-bit and 8-bit images, each quantized from the 24-bit image of its size;
// they do not depend on each other, so they are made side by side.
bool QuantizeSizes(ImageStore& store, const std::vector<int>& sizeIndexes, const FormatChoices& format) {
    struct Task {
        const ImagePair* from;
        CDib* target;
        bool sixteenColours;
    };
    std::vector<Task> tasks;
    for (int t : sizeIndexes) {
        if (format.use8 != 0) tasks.push_back({&store.table24[t], &store.paletteTable[t].image8, false});
        if (format.use4 != 0) tasks.push_back({&store.table24[t], &store.paletteTable[t].image4, true});
    }
    // Bytes rather than vector<bool>: each task writes its own without sharing a word.
    std::vector<std::uint8_t> made(tasks.size(), 0);
    ParallelFor(static_cast<int>(tasks.size()), [&](int n) {
        const Task& task = tasks[n];
        try {
            made[n] = task.from->image.Quantize(*task.target, task.sixteenColours, task.from->mask);
        } catch (const std::bad_alloc&) {
            made[n] = false;  // an octree node or error row could not be had
        }
    });
    return std::find(made.begin(), made.end(), 0) == made.end();
}

// Makes every image of the sizes that `picture` supplies; false when a bitmap cannot
// be created. Both key masks are the same for every size, so each is made once:
// the smoothed one as the builder's own 8-bit mask, and the plain one not at all,
// since it is 255 exactly where the smoothed one is (or where the key colour is).
bool GenerateFromSource(ImageStore& store, const CDib& picture, const std::vector<int>& sizeIndexes,
                        const FormatChoices& format, const BuildStageObserver& observer) {
    const auto stage = [&observer](BuildStage s) {
        if (observer) observer(s);
    };
    const bool plain = store.kindCount != 0;
    const bool alpha = format.use32 != 0;
    CDib copy;
    const CDib* source = TrueColour(picture, copy);
    if (source == nullptr) return false;

    stage(BuildStage::KeyMasks);
    if (alpha && !BuildKeyPlane(*source, store.keyMask, 2)) return false;

    stage(BuildStage::Resampling);
    const int mode = format.transparent != 0 ? 1 : 0;
    // The plain key mask is 255 exactly where the smoothed one is.
    const KeySource smoothed{KeySource::Kind::Mask, &store.keyMask, false, true};
    KeySource plainKeys;
    if (mode != 0)
        plainKeys = alpha ? KeySource{KeySource::Kind::Mask, &store.keyMask, true, true}
                          : KeySource{KeySource::Kind::KeyColour};
    std::vector<ResampleJob> jobs;
    for (int t : sizeIndexes) {
        const int size = kSizeTable[t];
        ResampleJob job;
        if (plain) {
            ImagePair& pair = store.table24[t];
            if (!pair.image.Create(size, size, 24) || !pair.mask.Create(size, size, 1)) return false;
            job.targets[job.count++] = {&pair.image, &pair.mask, mode, plainKeys};
        }
        if (alpha) {
            ImagePair& pair = store.table32[t];
            if (!pair.image.Create(size, size, 32) || !pair.mask.Create(size, size, 1)) return false;
            job.targets[job.count++] = {&pair.image, &pair.mask, 2, smoothed};
        }
        // With every kind settled off a size has nothing to make.
        if (job.count != 0) jobs.push_back(job);
    }
    AreaAverage(*source, jobs);

    stage(BuildStage::Quantizing);
    return QuantizeSizes(store, sizeIndexes, format);
}

}  // namespace

int IsKindChosen(std::int8_t kind, const FormatChoices& format) {
    switch (kind) {
        case kKind4:
            return format.use4;
        case kKind8:
            return format.use8;
        case kKind24:
            return format.use24;
        case kKind32:
            return format.use32;
        default:
            return 0;
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

    // The separate bitmap, when there is one, supplies the 16 x 16 images alone.
    std::vector<int> fromSource, fromBitmap16;
    for (int t = 0; t < kSizeCount; ++t) {
        if (sizes.sizes[t] == 0) continue;
        (sizes.use16Bitmap != 0 && t == kSizeCount - 1 ? fromBitmap16 : fromSource).push_back(t);
    }
    bool made;
    try {
        made = GenerateFromSource(store, store.source, fromSource, format, observer) &&
               (fromBitmap16.empty() || GenerateFromSource(store, bitmap16, fromBitmap16, format, observer));
    } catch (const std::bad_alloc&) {
        made = false;  // a working list could not be had
    }
    // Scratch: what it holds is of no use after the run.
    store.keyMask.Free();
    if (!made) {
        ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
        return false;
    }
    return true;
}

}  // namespace zentro
