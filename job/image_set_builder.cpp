#include "job/image_set_builder.h"

#include <algorithm>
#include <list>
#include <new>

#include "image/alpha_plane.h"
#include "image/area_average.h"
#include "image/colour_key.h"
#include "image/key_values.h"
#include "image/parallel_for.h"
#include "image/true_colour.h"
#include "job/picture_fit.h"
#include "job/source_choice.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

// Step 1: choices that only make sense together.
void SettleChoices(FormatChoices& format, SizeChoices& sizes, const SizeTable& table, const ConversionRules& rules) {
    if (format.transparent == 0 && !rules.opaque32) format.use32 = 0;
    if (!table.IsChosen(256)) sizes.onlyOne256 = 0;
    if (!table.IsChosen(16)) sizes.use16Bitmap = 0;
}

// Message 120: `have` cannot make the `size` x `size` images. It is about `subject`, or
// with "" about the picture at hand.
bool ShowTooSmall(const std::string& subject, unsigned what, int size, const std::string& suffix, const CDib& have) {
    ShowMessageAbout(subject, IDS_TOO_SMALL, MessageIcon::Exclamation,
                     {LoadString(what), std::to_string(size), std::to_string(size), suffix,
                      std::to_string(have.Width()), std::to_string(have.Height())});
    return false;
}

// Settles which picture makes each chosen size; refuses the job, naming the size,
// when none is large enough. With a single picture that size is the largest chosen.
bool ChooseSources(const ImageStore& store, const SizeTable& table, std::vector<SizeSource>& sources) {
    sources.assign(table.pixels.size(), {});
    for (std::size_t t = 0; t < table.pixels.size(); ++t) {
        if (!table.chosen[t]) continue;
        sources[t] = ChooseSource(store, table.pixels[t]);
        if (sources[t].kind != SizeSource::Kind::None) continue;
        // The message gives the size of the picture that came nearest.
        const std::vector<RasterRef> rasters = StoreRasters(store);
        const auto nearest =
            std::max_element(rasters.begin(), rasters.end(), [&store](const RasterRef& a, const RasterRef& b) {
                return FittingSide(*a.colour, store.rules.fit) < FittingSide(*b.colour, store.rules.fit);
            });
        return ShowTooSmall("", IDS_MAIN_SOURCE, table.pixels[t], LoadString(IDS_LARGEST_SIZE_HINT),
                            nearest == rasters.end() ? store.source : *nearest->colour);
    }
    return true;
}

bool LoadBitmap16(Picture& bitmap16, const SizeChoices& sizes, const PictureReader& read16, Fit fit) {
    if (sizes.bitmap16Path.empty()) {
        ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation);
        return false;
    }
    if (!(read16 ? read16(sizes.bitmap16Path, bitmap16) : bitmap16.colour.Load(sizes.bitmap16Path))) return false;
    if (FittingSide(bitmap16.colour, fit) < 16)
        return ShowTooSmall(sizes.bitmap16Path, IDS_BITMAP_16, 16, "", bitmap16.colour);
    return true;
}

constexpr std::int64_t kSerialPixels = 256 * 256;

// One picture that makes some of the sizes, as the builder needs to know it.
struct SourcePicture {
    const CDib& colour;
    const CDib& alpha;  // holds no picture when the picture has none
    bool lossy;
    bool drawn;  // a vector drawn at the size it makes
};

// Which kind and size pairs the entry list names: only those are ever shown or written.
struct Listed {
    bool pair[kKind32 + 1][kMaxSizes] = {};
    bool Plain(int t) const { return pair[kKind4][t] || pair[kKind8][t] || pair[kKind24][t]; }
};

// `sizes` is the number of entries in the size table, as the entry codes count them.
Listed ListedPairs(const std::vector<std::uint8_t>& order, int sizes) {
    Listed listed;
    for (std::uint8_t code : order) listed.pair[code / sizes][code % sizes] = true;
    return listed;
}

// The 4-bit and 8-bit images, each quantized from the 24-bit image of its size;
// they do not depend on each other, so they are made side by side. With only one
// 256 x 256 image kept, the palette kinds' own 256 x 256 images would be most of
// the work and nobody would see them, so they are not made.
bool QuantizeSizes(ImageStore& store, const std::vector<int>& sizeIndexes, const Listed& listed) {
    struct Task {
        const ImagePair* from;
        CDib* target;
        bool sixteenColours;
    };
    std::vector<Task> tasks;
    for (int t : sizeIndexes) {
        if (listed.pair[kKind8][t]) tasks.push_back({&store.table24[t], &store.paletteTable[t].image8, false});
        if (listed.pair[kKind4][t]) tasks.push_back({&store.table24[t], &store.paletteTable[t].image4, true});
    }
    // Bytes rather than vector<bool>: each task writes its own without sharing a word.
    std::vector<std::uint8_t> made(tasks.size(), 0);
    const auto quantize = [&](int n) {
        const Task& task = tasks[n];
        try {
            made[n] = task.from->image.Quantize(*task.target, task.sixteenColours, task.from->mask);
        } catch (const std::bad_alloc&) {
            made[n] = false;  // an octree node or error row could not be had
        }
    };
    // Below this many pixels, starting threads costs more than they save.
    std::int64_t pixels = 0;
    for (const Task& task : tasks) pixels += std::int64_t{task.from->image.Width()} * task.from->image.Height();
    if (pixels < kSerialPixels) {
        for (int n = 0; n < static_cast<int>(tasks.size()); ++n) quantize(n);
    } else {
        ParallelFor(static_cast<int>(tasks.size()), quantize);
    }
    return std::find(made.begin(), made.end(), 0) == made.end();
}

// Makes every image of the sizes that `picture` (with `alphaPlane`, empty when it
// has none) supplies; false when a bitmap cannot be created.
//
// With a key colour both key masks are the same for every size, so each is made
// once: the smoothed one as the builder's own 8-bit mask, and the plain one not
// at all, since it is 255 exactly where the smoothed one is (or where the key
// colour is). With the picture's own alpha, 255 - alpha is the one key plane of
// every kind, read as it is: partial values weigh in the threshold too, and
// nothing is smoothed, since the alpha already holds the edges as drawn.
bool GenerateFromSource(ImageStore& store, const SourcePicture& picture, const std::vector<int>& sizeIndexes,
                        const FormatChoices& format, const Listed& listed, const BuildStageObserver& observer) {
    const auto stage = [&observer](BuildStage s) {
        if (observer) observer(s);
    };
    const ConversionRules& rules = store.rules;
    const CDib& alphaPlane = picture.alpha;
    const bool alpha = format.use32 != 0;
    const bool ownAlpha = alphaPlane.HasPicture() && HasTransparency(alphaPlane);
    if (ownAlpha && (alphaPlane.Width() != picture.colour.Width() || alphaPlane.Height() != picture.colour.Height()))
        return false;
    CDib copy, onWhite;
    const CDib* source = TrueColour(picture.colour, copy);
    if (source == nullptr) return false;
    if (ownAlpha && format.transparent == 0) {
        if (!ComposeOnWhite(*source, alphaPlane, onWhite)) return false;
        source = &onWhite;
    }
    const bool alphaKeys = ownAlpha && format.transparent != 0;
    // A picture of one colour would be keyed whole: told before any plane is made.
    bool colourKeys = !ownAlpha && format.transparent != 0 &&
                      KeyedByRules(*source, picture.lossy, picture.drawn, rules) &&
                      !(rules.keepSomethingOpaque && OneColour(*source));

    stage(BuildStage::KeyMasks);
    // A key that reaches everywhere needs no plane for its plain mask: that is the key colour itself.
    const bool ownKeyPlane = colourKeys && rules.keyFromBorder;
    if (alphaKeys) {
        if (!BuildAlphaKeyPlane(alphaPlane, store.keyMask)) return false;
    } else if (ownKeyPlane || (colourKeys && alpha)) {
        if (!BuildKeyPlane(*source, store.keyMask, alpha ? 2 : 1, rules.keyFromBorder)) return false;
    }

    stage(BuildStage::Resampling);
    const int mode = alphaKeys || colourKeys ? 1 : 0;
    // A mask made from the key colour is 255 only where that colour is (everywhere it
    // is, or where it reaches the border).
    const bool keyColourMask = !alphaKeys;
    KeySource smoothed, plainKeys;
    if (alphaKeys || colourKeys) smoothed = {KeySource::Kind::Mask, &store.keyMask, false, keyColourMask};
    if (alphaKeys)
        plainKeys = smoothed;
    else if (colourKeys)
        // The plain key mask is 255 exactly where the smoothed one is.
        plainKeys = alpha || ownKeyPlane ? KeySource{KeySource::Kind::Mask, &store.keyMask, true, keyColourMask}
                                         : KeySource{KeySource::Kind::KeyColour};
    std::vector<ResampleJob> jobs;
    // A picture padded into its square is made at the size of its content first.
    struct Padded {
        ImagePair content;
        ImagePair* square;
        SquarePlace place;
        int size;
    };
    std::list<Padded> padded;
    for (int t : sizeIndexes) {
        const int size = store.sizeTable[t];
        const SquarePlace place = PlaceInSquare(source->Width(), source->Height(), size, rules.fit);
        ResampleJob job;
        const auto target = [&](ImagePair& pair, int bits) -> ImagePair* {
            ImagePair* made = &pair;
            if (place.width != size || place.height != size)
                made = &padded.emplace_back(Padded{{}, &pair, place, size}).content;
            if (!made->image.Create(place.width, place.height, bits) ||
                !made->mask.Create(place.width, place.height, 1))
                return nullptr;
            return made;
        };
        if (listed.Plain(t)) {
            ImagePair* pair = target(store.table24[t], 24);
            if (pair == nullptr) return false;
            job.targets[job.count++] = {&pair->image, &pair->mask, mode, plainKeys};
        }
        if (listed.pair[kKind32][t]) {
            ImagePair* pair = target(store.table32[t], 32);
            if (pair == nullptr) return false;
            job.targets[job.count++] = {&pair->image, &pair->mask, 2, smoothed, rules.roundMeans};
        }
        // With every kind settled off a size has nothing to make.
        if (job.count != 0) jobs.push_back(job);
    }
    AreaAverage(*source, jobs);
    for (Padded& p : padded)
        if (!PutInSquare(p.content.image, p.content.mask, p.place, p.size, p.square->image, p.square->mask))
            return false;

    stage(BuildStage::Quantizing);
    return QuantizeSizes(store, sizeIndexes, listed);
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

int SizeTable::IndexOf(int size) const {
    const auto at = std::find(pixels.begin(), pixels.end(), size);
    return at == pixels.end() ? -1 : static_cast<int>(at - pixels.begin());
}

bool SizeTable::IsChosen(int size) const {
    const int t = IndexOf(size);
    return t >= 0 && chosen[t];
}

SizeTable ResolveSizes(const SizeChoices& sizes) {
    SizeTable table;
    if (sizes.anySizes.empty()) {
        table.pixels.assign(kSizeTable.begin(), kSizeTable.end());
        for (int flag : sizes.sizes) table.chosen.push_back(flag != 0);
        return table;
    }
    for (int size : sizes.anySizes)
        if (size >= 1 && size <= sizes.largestSize && table.IndexOf(size) < 0 && table.pixels.size() < kMaxSizes)
            table.pixels.push_back(static_cast<short>(size));
    std::sort(table.pixels.begin(), table.pixels.end(), std::greater<>());
    table.chosen.assign(table.pixels.size(), true);
    return table;
}

std::vector<std::uint8_t> ImageOrder(const FormatChoices& format, const SizeChoices& sizes, std::int8_t kind256) {
    const SizeTable table = ResolveSizes(sizes);
    const int count = static_cast<int>(table.pixels.size());
    std::vector<std::uint8_t> order;
    for (std::int8_t kind = kKind4; kind <= kKind32; ++kind) {
        if (IsKindChosen(kind, format) == 0) continue;
        const bool skip256 = sizes.onlyOne256 != 0 && kind != kind256;
        for (int t = 0; t < count; ++t)
            if (table.chosen[t] && !(skip256 && table.pixels[t] == 256))
                order.push_back(static_cast<std::uint8_t>(kind * count + t));
    }
    return order;
}

bool BuildImageSet(ImageStore& store, FormatChoices& format, SizeChoices& sizes, const BuildStageObserver& observer,
                   const PictureReader& read16) {
    const SizeTable table = ResolveSizes(sizes);
    if (table.pixels.empty()) {  // only sizes out of range
        ShowMessage(IDS_NO_SIZE, MessageIcon::Exclamation);
        return false;
    }
    SettleChoices(format, sizes, table, store.rules);
    std::vector<SizeSource> sources;
    if (!ChooseSources(store, table, sources)) return false;
    // Belongs to this run only; released on every way out.
    Picture bitmap16;
    if (sizes.use16Bitmap != 0 && !LoadBitmap16(bitmap16, sizes, read16, store.rules.fit)) return false;

    store.SetSizeTable(table.pixels);
    const int sizeCount = static_cast<int>(std::count(table.chosen.begin(), table.chosen.end(), true));
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
    const std::vector<RasterRef> rasters = StoreRasters(store);
    std::vector<std::vector<int>> fromRaster(rasters.size());
    std::vector<int> drawn, fromBitmap16;
    for (int t = 0; t < static_cast<int>(table.pixels.size()); ++t) {
        if (!table.chosen[t]) continue;
        if (sizes.use16Bitmap != 0 && table.pixels[t] == 16)
            fromBitmap16.push_back(t);
        else if (sources[t].kind == SizeSource::Kind::Vector)
            drawn.push_back(t);
        else
            fromRaster[static_cast<std::size_t>(sources[t].raster)].push_back(t);
    }
    const Listed listed = ListedPairs(order, static_cast<int>(table.pixels.size()));
    unsigned failure = 0;
    try {
        const auto generate = [&](const SourcePicture& picture, const std::vector<int>& sizeIndexes) {
            if (failure == 0 && !sizeIndexes.empty() &&
                !GenerateFromSource(store, picture, sizeIndexes, format, listed, observer))
                failure = IDS_NO_DIB_MEMORY;
        };
        for (std::size_t r = 0; r < rasters.size(); ++r)
            generate({*rasters[r].colour, *rasters[r].alpha, rasters[r].lossy, false}, fromRaster[r]);
        // Each drawing is held only while its own size is made.
        for (int t : drawn) {
            Picture drawing;
            if (failure == 0) failure = store.moreSources.vector->Draw(store.sizeTable[t], drawing);
            generate({drawing.colour, drawing.alpha, false, true}, {t});
        }
        generate({bitmap16.colour, bitmap16.alpha, bitmap16.lossy, false}, fromBitmap16);
    } catch (const std::bad_alloc&) {
        failure = IDS_NO_DIB_MEMORY;  // a working list could not be had
    }
    // Scratch: what it holds is of no use after the run.
    store.keyMask.Free();
    if (failure != 0) {
        ShowMessage(failure, MessageIcon::Error);
        return false;
    }
    return true;
}

}  // namespace zentro
