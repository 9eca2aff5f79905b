#pragma once
// Each size of a set, made once by the builder that makes icons (so that a set
// follows every rule an icon does) and shared by every file that holds it.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "icon/icon_writer.h"
#include "image/rgba_image.h"
#include "job/image_store.h"

namespace zentro::sets {

// Of `sizes`, those that no picture of the store can make without being enlarged.
std::vector<int> SizesNeedingEnlargement(const ImageStore& store, const std::vector<int>& sizes);

class SetImages {
public:
    // Makes each of `sizes` from the pictures in `store` (none may need enlarging) as
    // 32-bit images by the store's rules, transparent as far as the pictures call for
    // it (nothing when not `transparent`); then the PNG form of each of `asPng`, side
    // by side. False after a message has told why (memory).
    bool Make(ImageStore& store, const std::vector<int>& sizes, bool transparent, const std::vector<int>& asPng,
              const PngEncoder& encode);

    bool Has(int size) const { return made_.count(size) != 0; }
    // The 32-bit image of that size with its mask, as an icon holds it.
    IconImageRef Image(int size) const;
    // Its pixels; false when memory is short.
    bool Rgba(int size, RgbaImage& rgba) const;
    // Its PNG form, made by Make.
    const std::vector<std::uint8_t>& Png(int size) const { return pngs_.at(size); }

private:
    const ImageStore* store_ = nullptr;
    std::map<int, int> made_;                                        // size -> index into the store's size table
    std::map<int, std::vector<std::uint8_t>, std::greater<>> pngs_;  // largest first
};

}  // namespace zentro::sets
