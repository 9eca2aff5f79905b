#include "icon_sets/set_images.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "image/parallel_for.h"
#include "job/image_set_builder.h"
#include "job/source_choice.h"
#include "job/vector_picture.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro::sets {

std::vector<int> SizesNeedingEnlargement(const ImageStore& store, const std::vector<int>& sizes) {
    std::vector<int> needing;
    for (int size : sizes)
        if (ChooseSource(store, size).kind == SizeSource::Kind::None) needing.push_back(size);
    return needing;
}

bool SetImages::Make(ImageStore& store, const std::vector<int>& sizes, bool transparent, const std::vector<int>& asPng,
                     const PngEncoder& encode) {
    if (sizes.empty()) {
        ShowMessage(IDS_NO_SIZE, MessageIcon::Exclamation);
        return false;
    }
    FormatChoices format;
    format.transparent = transparent ? 1 : 0;
    format.use32 = 1;
    format.use24 = format.use8 = format.use4 = 0;
    SizeChoices choices;
    choices.anySizes = sizes;
    choices.largestSize = kLargestDrawing;
    if (!BuildImageSet(store, format, choices)) return false;

    store_ = &store;
    made_.clear();
    pngs_.clear();
    const SizeTable table = ResolveSizes(choices);
    for (int size : sizes) made_[size] = table.IndexOf(size);

    try {
        for (int size : asPng)
            if (Has(size)) pngs_[size];
        std::vector<std::vector<std::uint8_t>*> forms;
        std::vector<int> formSizes;
        // Largest first: the longest compression starts at once, the small ones fill in beside it.
        for (auto& [size, png] : pngs_) {
            formSizes.push_back(size);
            forms.push_back(&png);
        }
        std::atomic<bool> failed{false};
        // Independent compressions, the costliest work of a set; each writes its own form.
        ParallelFor(static_cast<int>(forms.size()), [&](int n) {
            RgbaImage rgba;
            if (!Rgba(formSizes[static_cast<std::size_t>(n)], rgba) ||
                !encode(rgba, *forms[static_cast<std::size_t>(n)]))
                failed = true;
        });
        if (failed) throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
        ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
        return false;
    }
    return true;
}

IconImageRef SetImages::Image(int size) const {
    const ImagePair& pair = store_->table32[static_cast<std::size_t>(made_.at(size))];
    return {&pair.image, &pair.mask};
}

bool SetImages::Rgba(int size, RgbaImage& rgba) const { return RgbaFrom32(*Image(size).image, rgba); }

}  // namespace zentro::sets
