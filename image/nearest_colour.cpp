#include "image/nearest_colour.h"

#include <climits>

namespace zentro {

namespace {

// Each entry's key is its distance above the complement of its index: the least key
// is the nearest entry, and among equally near ones the highest index. A loop of
// fixed length over separate channel arrays lets the compiler compare many entries
// in one instruction.
template <int kCount>
int Nearest(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue, int count,
            const std::uint8_t* colour) {
    const int r = colour[0], g = colour[1], b = colour[2];
    const int n = kCount > 0 ? kCount : count;
    std::int32_t least = INT32_MAX;
    for (int i = 0; i < n; ++i) {
        const int dr = red[i] - r, dg = green[i] - g, db = blue[i] - b;
        const int distance = (dr < 0 ? -dr : dr) + (dg < 0 ? -dg : dg) + (db < 0 ? -db : db);
        const std::int32_t key = (distance << 8) | (255 - i);
        least = key < least ? key : least;
    }
    return 255 - (least & 0xFF);
}

}  // namespace

NearestColour::NearestColour(const PaletteEntry* table, int count) : count_(count) {
    for (int i = 0; i < count; ++i) {
        red_[i] = table[i].red;
        green_[i] = table[i].green;
        blue_[i] = table[i].blue;
    }
}

int NearestColour::Find(const std::uint8_t* colour) const {
    if (count_ == 256) return Nearest<256>(red_, green_, blue_, count_, colour);
    if (count_ == 16) return Nearest<16>(red_, green_, blue_, count_, colour);
    return Nearest<0>(red_, green_, blue_, count_, colour);
}

}  // namespace zentro
