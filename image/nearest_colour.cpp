#include "image/nearest_colour.h"

#include <algorithm>
#include <cstdlib>

namespace zentro {

NearestColour::NearestColour(const PaletteEntry* table, int count) : count_(count) {
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = table[i];
        bySum_[i] = {static_cast<std::int16_t>(e.red + e.green + e.blue), e.red, e.green, e.blue,
                     static_cast<std::uint8_t>(i)};
    }
    // In place: sorting must not ask for memory, the quantizer's first allocations are its error rows.
    // Equal colours sit together, the highest index first: the only one of them the tie rule can
    // ever pick. An 8-bit table of a small or keyed picture holds scores of equal black entries,
    // which a search would otherwise walk one by one.
    std::sort(bySum_, bySum_ + count, [](const Entry& a, const Entry& b) {
        if (a.sum != b.sum) return a.sum < b.sum;
        if (a.red != b.red) return a.red < b.red;
        if (a.green != b.green) return a.green < b.green;
        return a.index > b.index;
    });
    count_ = static_cast<int>(std::unique(bySum_, bySum_ + count,
                                          [](const Entry& a, const Entry& b) {
                                              return a.red == b.red && a.green == b.green && a.blue == b.blue;
                                          }) -
                              bySum_);
}

int NearestColour::Find(const std::uint8_t* colour) const {
    const int r = colour[0], g = colour[1], b = colour[2];
    int best = 766;  // more than any distance
    int chosen = 0;
    const auto consider = [&](const Entry& e) {
        const int d = std::abs(e.red - r) + std::abs(e.green - g) + std::abs(e.blue - b);
        if (d < best || (d == best && e.index > chosen)) {
            best = d;
            chosen = e.index;
        }
    };
    // Outward from the colour's sum, in both directions, until the sum alone differs by
    // more than the best distance: no entry beyond can be nearer, or as near.
    const int sum = r + g + b;
    const Entry* const first = bySum_;
    const Entry* const last = bySum_ + count_;
    const Entry* up = std::lower_bound(first, last, sum, [](const Entry& e, int s) { return e.sum < s; });
    const Entry* down = up;
    while (up != last || down != first) {
        if (up != last && (down == first || up->sum - sum <= sum - (down - 1)->sum)) {
            if (up->sum - sum > best) break;
            consider(*up++);
        } else {
            if (sum - (down - 1)->sum > best) break;
            consider(*--down);
        }
    }
    return chosen;
}

}  // namespace zentro
