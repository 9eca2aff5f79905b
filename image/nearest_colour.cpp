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
    std::sort(bySum_, bySum_ + count,
              [](const Entry& a, const Entry& b) { return a.sum < b.sum || (a.sum == b.sum && a.index < b.index); });
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
