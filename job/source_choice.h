#pragma once
// Which of the pictures given makes each size of the icon.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "job/choices.h"
#include "job/image_set_builder.h"
#include "job/image_store.h"

namespace zentro {

// One raster picture of the store: the source, or one of the more sources.
struct RasterRef {
    const CDib* colour = nullptr;
    const CDib* alpha = nullptr;  // holds no picture when the picture has no alpha
    bool lossy = false;
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
// vector; else the raster whose fitting side is the smallest that is at least that
// size (the first given among equals), by the store's rules.
SizeSource ChooseSource(const ImageStore& store, int size);

// Puts the pictures of one job into the store: the first raster as its source,
// everything else beside it.
void TakeSources(ImageStore& store, PictureSources&& sources);

// The sizes the pictures themselves suggest: with more than one raster picture and
// no vector, the sizes of the square ones (a side over 256 counts as 256), largest
// first; empty when the usual default sizes apply.
std::vector<int> SizesOfPictures(const ImageStore& store);

// The sizes among `wanted` that the pictures make without being enlarged (a vector
// makes every size), largest first; when they make none, the size of the largest
// picture alone. Sizes follow the store's rules of fit.
std::vector<int> SizesThatFit(const ImageStore& store, std::vector<int> wanted);

// Sets the size flags, or the list of any sizes when one of `sizes` is outside the
// classic five, as the builder takes them.
void ChooseSizes(const std::vector<int>& sizes, std::array<int, kSizeCount>& flags, std::vector<int>& anySizes);

// Moves out of the store the picture that makes `size`, drawing the vector when
// that is it: 0, or the id of the message that tells why the vector cannot be
// drawn. When no picture is large enough the store's source comes out, for the
// builder to refuse with its own message.
unsigned TakePictureForSize(ImageStore& store, int size, Picture& picture);

// Reads the pictures of one file into a store of their own; false after a message.
using SourcesLoader = std::function<bool(const std::string& path, ImageStore& store)>;

// The reader of the separate 16 x 16 picture for a face that loads its files with
// `load`: of an icon's images or a vector, the one that would make the 16 x 16 images.
PictureReader SixteenReaderOf(SourcesLoader load);

// Whether a picture without alpha of its own is keyed when transparency is chosen:
// every one, or by today's rules only one drawn on a plain ground (its corners share
// the key colour), which a lossy picture or a drawing never is.
bool KeyedByRules(const CDib& colour, bool lossy, bool drawn, const ConversionRules& rules);

// Whether the picture that makes `size` asks to be made transparent: by its own
// alpha when that is below 255 somewhere, else when it would be keyed by the store's
// rules, and by today's rules only when the key leaves something opaque. A vector
// is drawn at that size to tell; one that cannot be drawn says no. When no picture
// is large enough, the largest raster tells.
bool TransparentByDefault(const ImageStore& store, int size);

}  // namespace zentro
