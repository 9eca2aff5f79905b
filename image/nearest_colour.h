#pragma once
// The nearest colour table entry, by the sum of the absolute differences of red,
// green and blue, the highest index winning among equally near entries. Prepared
// once per colour table, a search looks only at entries whose sum of red, green and
// blue alone differs from the colour's by no more than the nearest distance found so
// far: the distance is never less than that difference.
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
    struct Entry {
        std::int16_t sum;  // red + green + blue
        std::uint8_t red, green, blue, index;
    };
    Entry bySum_[256];  // the distinct colours in order of sum
    int count_;
};

}  // namespace zentro
