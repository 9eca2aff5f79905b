#include "job/source_choice.h"

#include <algorithm>
#include <utility>

#include "image/alpha_plane.h"
#include "image/colour_key.h"
#include "job/picture_fit.h"
#include "platform/message.h"

namespace zentro {

std::vector<RasterRef> StoreRasters(const ImageStore& store) {
    std::vector<RasterRef> rasters;
    if (store.source.HasPicture()) rasters.push_back({&store.source, &store.sourceAlpha, store.sourceLossy});
    for (const Picture& picture : store.moreSources.rasters)
        rasters.push_back({&picture.colour, &picture.alpha, picture.lossy});
    return rasters;
}

SizeSource ChooseSource(const ImageStore& store, int size) {
    const std::vector<RasterRef> rasters = StoreRasters(store);
    for (std::size_t i = 0; i < rasters.size(); ++i) {
        const CDib& colour = *rasters[i].colour;
        if (colour.Width() == size && colour.Height() == size) return {SizeSource::Kind::Raster, static_cast<int>(i)};
    }
    if (store.moreSources.vector) return {SizeSource::Kind::Vector, -1};
    SizeSource best;
    for (std::size_t i = 0; i < rasters.size(); ++i) {
        const int side = FittingSide(*rasters[i].colour, store.rules.fit);
        if (side >= size &&
            (best.raster < 0 ||
             side < FittingSide(*rasters[static_cast<std::size_t>(best.raster)].colour, store.rules.fit)))
            best = {SizeSource::Kind::Raster, static_cast<int>(i)};
    }
    return best;
}

void TakeSources(ImageStore& store, PictureSources&& sources) {
    store.source.Free();
    store.sourceAlpha.Free();
    store.sourceLossy = false;
    store.moreSources = {};
    if (!sources.rasters.empty()) {
        store.source = std::move(sources.rasters.front().colour);
        store.sourceAlpha = std::move(sources.rasters.front().alpha);
        store.sourceLossy = sources.rasters.front().lossy;
        sources.rasters.erase(sources.rasters.begin());
    }
    store.moreSources = std::move(sources);
}

std::vector<int> SizesOfPictures(const ImageStore& store) {
    const std::vector<RasterRef> rasters = StoreRasters(store);
    std::vector<int> sizes;
    if (rasters.size() < 2 || store.moreSources.vector) return sizes;
    for (const RasterRef& raster : rasters)
        if (raster.colour->Width() == raster.colour->Height()) sizes.push_back(std::min(raster.colour->Width(), 256));
    std::sort(sizes.begin(), sizes.end(), std::greater<>());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

std::vector<int> SizesThatFit(const ImageStore& store, std::vector<int> wanted) {
    std::sort(wanted.begin(), wanted.end(), std::greater<>());
    std::vector<int> made;
    for (int size : wanted)
        if (ChooseSource(store, size).kind != SizeSource::Kind::None) made.push_back(size);
    if (!made.empty() || wanted.empty()) return made;
    int largest = 0;
    for (const RasterRef& raster : StoreRasters(store))
        largest = std::max(largest, FittingSide(*raster.colour, store.rules.fit));
    if (largest > 0) made.push_back(std::min(largest, 256));
    return made;
}

void ChooseSizes(const std::vector<int>& sizes, std::array<int, kSizeCount>& flags, std::vector<int>& anySizes) {
    const bool classic = std::all_of(sizes.begin(), sizes.end(), [](int size) {
        return std::find(kSizeTable.begin(), kSizeTable.end(), size) != kSizeTable.end();
    });
    anySizes.clear();
    if (classic) {
        for (int t = 0; t < kSizeCount; ++t)
            flags[t] = std::find(sizes.begin(), sizes.end(), kSizeTable[t]) != sizes.end();
    } else {
        anySizes = sizes;
    }
}

namespace {

// The raster whose fitting side is the largest: the first given among equals.
int LargestRaster(const std::vector<RasterRef>& rasters, Fit fit) {
    int largest = -1;
    for (std::size_t i = 0; i < rasters.size(); ++i)
        if (largest < 0 ||
            FittingSide(*rasters[i].colour, fit) > FittingSide(*rasters[static_cast<std::size_t>(largest)].colour, fit))
            largest = static_cast<int>(i);
    return largest;
}

}  // namespace

unsigned TakePictureForSize(ImageStore& store, int size, Picture& picture) {
    const SizeSource chosen = ChooseSource(store, size);
    if (chosen.kind == SizeSource::Kind::Vector) return store.moreSources.vector->Draw(size, picture);
    const int index = chosen.kind == SizeSource::Kind::Raster ? chosen.raster : 0;
    if (index == 0) {
        picture.colour = std::move(store.source);
        picture.alpha = std::move(store.sourceAlpha);
        picture.lossy = store.sourceLossy;
    } else {
        // The first raster is the store's source; the others stand beside it.
        picture = std::move(store.moreSources.rasters[static_cast<std::size_t>(index - 1)]);
    }
    return 0;
}

PictureReader SixteenReaderOf(SourcesLoader load) {
    return [load = std::move(load)](const std::string& path, Picture& picture) {
        ImageStore own;
        if (!load(path, own)) return false;
        if (const unsigned id = TakePictureForSize(own, 16, picture)) {
            ShowMessage(id, MessageIcon::Error);
            return false;
        }
        return true;
    };
}

bool TransparentByDefault(const ImageStore& store, int size) {
    const SizeSource chosen = ChooseSource(store, size);
    const std::vector<RasterRef> rasters = StoreRasters(store);
    Picture drawn;
    RasterRef picture;
    const bool drawing = chosen.kind == SizeSource::Kind::Vector;
    if (drawing) {
        if (store.moreSources.vector->Draw(size, drawn) != 0) return false;
        picture = {&drawn.colour, &drawn.alpha, false};
    } else {
        // Too small for that size: the job refuses it later, as it always did.
        const int index =
            chosen.kind == SizeSource::Kind::Raster ? chosen.raster : LargestRaster(rasters, store.rules.fit);
        if (index < 0) return false;
        picture = rasters[static_cast<std::size_t>(index)];
    }
    if (picture.alpha->HasPicture() && HasTransparency(*picture.alpha)) return true;
    if (store.rules.keyed == ConversionRules::Keyed::Every) return CornersShareColour(*picture.colour);
    return KeyedByRules(*picture.colour, picture.lossy, drawing, store.rules) &&
           !(store.rules.keepSomethingOpaque && OneColour(*picture.colour));
}

bool KeyedByRules(const CDib& colour, bool lossy, bool drawn, const ConversionRules& rules) {
    if (rules.keyed == ConversionRules::Keyed::Every) return true;
    return !lossy && !drawn && CornersShareColour(colour);
}

}  // namespace zentro
