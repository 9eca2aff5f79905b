#include "image/nearest_colour.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace zentro {

namespace {

using I16x8 = std::int16_t __attribute__((vector_size(16)));

I16x8 Load(const std::int16_t* p) {
    I16x8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

I16x8 Splat(int value) { return I16x8{} + static_cast<std::int16_t>(value); }

I16x8 Abs(I16x8 v) {
    const I16x8 sign = v >> 15;
    return (v ^ sign) - sign;
}

I16x8 Min(I16x8 a, I16x8 b) {
    const I16x8 less = a < b;
    return (a & less) | (b & ~less);
}

I16x8 Max(I16x8 a, I16x8 b) {
    const I16x8 more = a > b;
    return (a & more) | (b & ~more);
}

bool AnyLane(I16x8 comparison) {
    std::uint64_t halves[2];
    std::memcpy(halves, &comparison, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

I16x8 Add(I16x8 a, I16x8 b) { return a + b; }

// The eight lanes combined into one (their lowest, highest or sum), by halving.
template <I16x8 (*Combine)(I16x8, I16x8)>
int Across(I16x8 v) {
    v = Combine(v, __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3));
    v = Combine(v, __builtin_shufflevector(v, v, 2, 3, 0, 1, 6, 7, 4, 5));
    v = Combine(v, __builtin_shufflevector(v, v, 1, 0, 3, 2, 5, 4, 7, 6));
    return v[0];
}

// Far enough from every colour that no search ever takes it: its distance, above
// 3 x (4000 - 255), is more than any real entry's, and still fits 16 bits.
constexpr std::int16_t kFarAway = 4000;

}  // namespace

NearestColour::NearestColour(const PaletteEntry* table, int count) {
    struct Entry {
        std::int16_t sum;  // red + green + blue
        std::uint8_t red, green, blue, index;
    };
    Entry bySum[256];
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = table[i];
        bySum[i] = {static_cast<std::int16_t>(e.red + e.green + e.blue), e.red, e.green, e.blue,
                    static_cast<std::uint8_t>(i)};
    }
    // In place: sorting must not ask for memory, the quantizer's first allocations are its error rows.
    // Equal colours sit together, the highest index first: the only one of them the tie rule can
    // ever pick. An 8-bit table of a small or keyed picture holds scores of equal black entries,
    // which a search would otherwise measure one by one.
    std::sort(bySum, bySum + count, [](const Entry& a, const Entry& b) {
        if (a.sum != b.sum) return a.sum < b.sum;
        if (a.red != b.red) return a.red < b.red;
        if (a.green != b.green) return a.green < b.green;
        return a.index > b.index;
    });
    const int distinct =
        static_cast<int>(std::unique(bySum, bySum + count,
                                     [](const Entry& a, const Entry& b) {
                                         return a.red == b.red && a.green == b.green && a.blue == b.blue;
                                     }) -
                         bySum);
    blocks_ = (distinct + kLanes - 1) / kLanes;
    for (int i = 0; i < blocks_ * kLanes; ++i) {
        if (i < distinct) {
            red_[i] = bySum[i].red;
            green_[i] = bySum[i].green;
            blue_[i] = bySum[i].blue;
            index_[i] = bySum[i].index;
        } else {
            red_[i] = green_[i] = blue_[i] = kFarAway;
            index_[i] = -1;
        }
    }
    for (int k = 0; k < kMaxBlocks; ++k) {
        if (k < blocks_) {
            lowestSum_[k] = bySum[k * kLanes].sum;
            highestSum_[k] = bySum[std::min(distinct, (k + 1) * kLanes) - 1].sum;
        } else {
            lowestSum_[k] = highestSum_[k] = SHRT_MAX;
        }
    }
}

int NearestColour::Find(const std::uint8_t* colour) const {
    if (blocks_ == 0) return 0;
    const int sum = colour[0] + colour[1] + colour[2];
    const I16x8 r = Splat(colour[0]), g = Splat(colour[1]), b = Splat(colour[2]);
    // Per lane, the nearest entry met so far and its index.
    I16x8 bestDistance = Splat(SHRT_MAX), bestIndex = Splat(-1);
    const auto measure = [&](int block) {
        const int at = block * kLanes;
        const I16x8 distance = Abs(Load(red_ + at) - r) + Abs(Load(green_ + at) - g) + Abs(Load(blue_ + at) - b);
        const I16x8 index = Load(index_ + at);
        const I16x8 better = (distance < bestDistance) | ((distance == bestDistance) & (index > bestIndex));
        bestDistance = (distance & better) | (bestDistance & ~better);
        bestIndex = (index & better) | (bestIndex & ~better);
    };
    // The first block that reaches the colour's sum, or the last one: counted without a
    // branch, as a binary search's turns are as good as random.
    I16x8 below = {};
    for (int k = 0; k < kMaxBlocks; k += kLanes) below -= Load(highestSum_ + k) < Splat(sum);
    const int start = std::min(blocks_ - 1, Across<Add>(below));
    measure(start);
    // Outward, the nearer block first, while a block could hold an entry as near as the
    // best: no lane has found one nearer than the block's sums alone are far.
    for (int up = start + 1, down = start - 1;;) {
        const int upBound = up < blocks_ ? lowestSum_[up] - sum : INT_MAX;
        const int downBound = down >= 0 ? sum - highestSum_[down] : INT_MAX;
        const int bound = std::min(upBound, downBound);
        if (bound == INT_MAX || AnyLane(bestDistance < Splat(bound))) break;
        measure(upBound <= downBound ? up++ : down--);
    }
    // Among the lanes at the nearest distance, the highest index.
    const I16x8 nearest = bestDistance == Splat(Across<Min>(bestDistance));
    return Across<Max>((bestIndex & nearest) | (Splat(-1) & ~nearest));
}

}  // namespace zentro
