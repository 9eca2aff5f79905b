#pragma once
// The nearest colour table entry, by the sum of the absolute differences of red,
// green and blue, the highest index winning among equally near entries. Prepared
// once per colour table: the distinct colours in order of the sum of red, green and
// blue, in blocks of eight that are measured at once. A search starts at the block
// of the colour's own sum and goes outward only while a block's sums alone could
// still come as near as the nearest found so far: the distance is never less than
// the difference of the sums.
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
    static constexpr int kLanes = 8;
    static constexpr int kMaxBlocks = 256 / kLanes;

    // Red, green, blue and index of each distinct colour, block after block; the last
    // block is filled up with colours too far away to ever be chosen.
    alignas(16) std::int16_t red_[256];
    alignas(16) std::int16_t green_[256];
    alignas(16) std::int16_t blue_[256];
    alignas(16) std::int16_t index_[256];
    // The sums of each block's first and last colour; past the last block, the largest number.
    std::int16_t lowestSum_[kMaxBlocks];
    alignas(16) std::int16_t highestSum_[kMaxBlocks];
    int blocks_;
};

}  // namespace zentro
