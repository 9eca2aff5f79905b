#pragma once
// The whole-number totals that the averaging takes down the source's columns at
// once, sixteen bytes at a time: colour sums and counts of keyed pixels.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/byte_lanes.h"

namespace zentro::averaging {

struct Pixels {
    const std::uint8_t* base;  // stored row 0 of a 24-bit picture
    std::size_t stride;
    const std::uint8_t* At(int x, int y) const { return base + y * stride + 3 * static_cast<std::size_t>(x); }
};

// Per source column, the whole-number totals over the rows of one target row whose
// weight is 1: the colour bytes of the pixels that are not keyed, the count of keyed
// pixels (255) and of partial keys.
struct Strip {
    explicit Strip(int width) : colour(3 * static_cast<std::size_t>(width)), keyed(width), partial(width) {}
    std::vector<std::uint32_t> colour;  // blue, green, red of each column, as stored
    std::vector<std::uint32_t> keyed;
    std::vector<std::uint32_t> partial;
};

// For each of the n byte positions from `first`, the sum of that byte over `rows`
// rows `stride` apart, added to total.
void SumBytesDown(const std::uint8_t* first, std::size_t stride, int rows, std::size_t n, std::uint32_t* total);

// For each of the n key values from `first`, down `rows` rows: how many are 255 and
// how many are neither 0 nor 255.
void CountKeysDown(const std::uint8_t* first, std::size_t stride, int rows, std::size_t n, std::uint32_t* keyed,
                   std::uint32_t* partial);

// Makes `strip`, the running totals as they were where some rows began, the totals of
// those rows alone. Where the colours of all pixels were added (keyColour, blue, green,
// red, not null), the keyed pixels' key colour is taken off.
void TakeRowsSince(const Strip& running, Strip& strip, const std::uint8_t* keyColour);

}  // namespace zentro::averaging
