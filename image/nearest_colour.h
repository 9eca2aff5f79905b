#pragma once
// The nearest colour table entry, by the sum of the absolute differences of red,
// green and blue, the highest index winning among equally near entries. Prepared
// once per colour table, a search compares a colour with all entries at once.
#include <cstdint>

#include "image/dib.h"

namespace zentro {

class NearestColour {
public:
    // Searches the first `count` entries of `table` (at most 256).
    NearestColour(const PaletteEntry* table, int count);
    // The chosen index for a red, green, blue triple.
    int Find(const std::uint8_t* colour) const;

private:
    std::uint8_t red_[256];
    std::uint8_t green_[256];
    std::uint8_t blue_[256];
    int count_;
};

}  // namespace zentro
