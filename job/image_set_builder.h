#pragma once
// Turns the user's choices into every image of the icon, in the image store.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/picture.h"
#include "job/choices.h"
#include "job/image_store.h"

namespace zentro {

// The sizes that entry codes count through, largest first, and which of them are
// chosen: the classic five with their flags, or the list of any sizes, all chosen
// (sizes outside 1 to largestSize are left out, and any beyond the first kMaxSizes).
struct SizeTable {
    std::vector<short> pixels;
    std::vector<bool> chosen;

    // Index of the size of `pixels` pixels, -1 when the table lacks it.
    int IndexOf(int size) const;
    bool IsChosen(int size) const;
};
SizeTable ResolveSizes(const SizeChoices& sizes);

// The format choice that selects image kind `kind` (0 for any other value).
int IsKindChosen(std::int8_t kind, const FormatChoices& format);

// Entry codes (kind x table sizes + size index) in preview and file order: kinds from 4-bit
// to 32-bit, each from its largest size to its smallest; with onlyOne256 only
// `kind256` keeps its 256 x 256 image.
std::vector<std::uint8_t> ImageOrder(const FormatChoices& format, const SizeChoices& sizes, std::int8_t kind256);

// The kinds of work a build goes through, for progress displays and measurements.
enum class BuildStage { KeyMasks, Resampling, Quantizing };
// Told, on the building thread, each time the build turns to another kind of work.
using BuildStageObserver = std::function<void(BuildStage)>;

// Reads the separate 16 x 16 picture; false after a message has told the user why.
using PictureReader = std::function<bool(const std::string& path, Picture& picture)>;

// Settles the choices (writing them back), checks the sizes, fills the entry
// list and generates every image. False after a message has told the user why.
// At least one size and one kind must be chosen.
//
// A picture with an alpha that is below 255 somewhere is made transparent by that
// alpha, not by a key colour, when `transparent` is chosen, and is laid on white
// when it is not. `read16` reads the separate 16 x 16 picture (unset: CDib::Load).
bool BuildImageSet(ImageStore& store, FormatChoices& format, SizeChoices& sizes,
                   const BuildStageObserver& observer = {}, const PictureReader& read16 = {});

}  // namespace zentro
