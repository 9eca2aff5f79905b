#pragma once
// Which of the pictures given makes each size of the icon.
#include <vector>

#include "job/image_store.h"

namespace zentro {

// One raster picture of the store: the source, or one of the more sources.
struct RasterRef {
    const CDib* colour = nullptr;
    const CDib* alpha = nullptr;  // holds no picture when the picture has no alpha
};

// The store's raster pictures in the order given: the source (when loaded) first.
std::vector<RasterRef> StoreRasters(const ImageStore& store);

// What makes a size: a raster picture (index into StoreRasters), the vector drawn
// at that size, or nothing at all (no picture is large enough).
struct SizeSource {
    enum class Kind { None, Raster, Vector } kind = Kind::None;
    int raster = -1;
};

// The raster picture of exactly that size, square (the first given); else the
// vector; else the raster whose smaller side is the smallest that is at least that
// size (the first given among equals).
SizeSource ChooseSource(const ImageStore& store, int size);

// Puts the pictures of one job into the store: the first raster as its source,
// everything else beside it.
void TakeSources(ImageStore& store, PictureSources&& sources);

// The sizes the pictures themselves suggest: with more than one raster picture and
// no vector, the sizes of the square ones (a side over 256 counts as 256), largest
// first; empty when the usual default sizes apply.
std::vector<int> SizesOfPictures(const ImageStore& store);

// Whether the picture that makes `size` asks to be made transparent: by its own
// alpha when that is below 255 somewhere, else when its corners share the key
// colour. A vector is drawn at that size to tell; one that cannot be drawn says no.
bool TransparentByDefault(const ImageStore& store, int size);

}  // namespace zentro
