#include "image/column_sums.h"

#include <algorithm>

namespace zentro::averaging {

namespace {

// Widens sixteen 16-bit counts (low and high half) into total[0..15].
void AddWidened(std::uint32_t* total, U16x8 low, U16x8 high) {
    const U16x8 zero = {};
    AddTo(total, reinterpret_cast<U32x4>(__builtin_shufflevector(low, zero, 0, 8, 1, 9, 2, 10, 3, 11)));
    AddTo(total + 4, reinterpret_cast<U32x4>(__builtin_shufflevector(low, zero, 4, 12, 5, 13, 6, 14, 7, 15)));
    AddTo(total + 8, reinterpret_cast<U32x4>(__builtin_shufflevector(high, zero, 0, 8, 1, 9, 2, 10, 3, 11)));
    AddTo(total + 12, reinterpret_cast<U32x4>(__builtin_shufflevector(high, zero, 4, 12, 5, 13, 6, 14, 7, 15)));
}

void AddWidened(std::uint32_t* total, U8x16 counts) {
    const U8x16 zero = {};
    AddWidened(total,
               reinterpret_cast<U16x8>(
                   __builtin_shufflevector(counts, zero, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23)),
               reinterpret_cast<U16x8>(__builtin_shufflevector(counts, zero, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13,
                                                               29, 14, 30, 15, 31)));
}

}  // namespace

// For each of the n byte positions from `first`, the sum of that byte over `rows`
// rows `stride` apart, added to total. Sixteen columns at a time are summed down the
// rows in 16-bit lanes, widened before they could overflow (257 x 255 < 2^16).
void SumBytesDown(const std::uint8_t* first, std::size_t stride, int rows, std::size_t n, std::uint32_t* total) {
    constexpr int kRowsPerWiden = 257;
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        for (int y0 = 0; y0 < rows; y0 += kRowsPerWiden) {
            const U8x16 zero = {};
            U16x8 low = {}, high = {};
            const int y1 = std::min(rows, y0 + kRowsPerWiden);
            for (int y = y0; y < y1; ++y) {
                const U8x16 b = Load16(first + y * stride + i);
                low += reinterpret_cast<U16x8>(
                    __builtin_shufflevector(b, zero, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23));
                high += reinterpret_cast<U16x8>(
                    __builtin_shufflevector(b, zero, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31));
            }
            AddWidened(total + i, low, high);
        }
    }
    for (; i < n; ++i)
        for (int y = 0; y < rows; ++y) total[i] += first[y * stride + i];
}

// For each of the n key values from `first`, down `rows` rows: how many are 255 and
// how many are neither 0 nor 255. Counted in 8-bit lanes, widened every 255 rows.
void CountKeysDown(const std::uint8_t* first, std::size_t stride, int rows, std::size_t n, std::uint32_t* keyed,
                   std::uint32_t* partial) {
    constexpr int kRowsPerWiden = 255;
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        for (int y0 = 0; y0 < rows; y0 += kRowsPerWiden) {
            U8x16 keyedCount = {}, partialCount = {};
            const int y1 = std::min(rows, y0 + kRowsPerWiden);
            for (int y = y0; y < y1; ++y) {
                const U8x16 k = Load16(first + y * stride + i);
                const U8x16 isKeyed = reinterpret_cast<U8x16>(k == 255);  // 255 where true
                const U8x16 isZero = reinterpret_cast<U8x16>(k == 0);
                keyedCount -= isKeyed;
                partialCount -= ~(isKeyed | isZero);
            }
            AddWidened(keyed + i, keyedCount);
            AddWidened(partial + i, partialCount);
        }
    }
    for (; i < n; ++i) {
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t k = first[y * stride + i];
            keyed[i] += k == 255;
            partial[i] += k != 0 && k != 255;
        }
    }
}

namespace {

// total[i] = running[i] - total[i] for the n counts.
void SubtractFrom(const std::uint32_t* running, std::uint32_t* total, std::size_t n) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        U32x4 a, b;
        std::memcpy(&a, running + i, sizeof a);
        std::memcpy(&b, total + i, sizeof b);
        a -= b;
        std::memcpy(total + i, &a, sizeof a);
    }
    for (; i < n; ++i) total[i] = running[i] - total[i];
}

}  // namespace

void TakeRowsSince(const Strip& running, Strip& strip, const std::uint8_t* keyColour) {
    SubtractFrom(running.colour.data(), strip.colour.data(), strip.colour.size());
    SubtractFrom(running.keyed.data(), strip.keyed.data(), strip.keyed.size());
    SubtractFrom(running.partial.data(), strip.partial.data(), strip.partial.size());
    if (keyColour == nullptr) return;
    const std::uint32_t b = keyColour[0], g = keyColour[1], r = keyColour[2];
    const std::size_t width = strip.keyed.size();
    std::uint32_t* colour = strip.colour.data();
    std::size_t x = 0;
    // Four columns are twelve colour counts: three vectors, each column's count spread over its three.
    const U32x4 key0 = {b, g, r, b}, key1 = {g, r, b, g}, key2 = {r, b, g, r};
    for (; x + 4 <= width; x += 4, colour += 12) {
        U32x4 keyed, c0, c1, c2;
        std::memcpy(&keyed, strip.keyed.data() + x, sizeof keyed);
        std::memcpy(&c0, colour, sizeof c0);
        std::memcpy(&c1, colour + 4, sizeof c1);
        std::memcpy(&c2, colour + 8, sizeof c2);
        c0 -= __builtin_shufflevector(keyed, keyed, 0, 0, 0, 1) * key0;
        c1 -= __builtin_shufflevector(keyed, keyed, 1, 1, 2, 2) * key1;
        c2 -= __builtin_shufflevector(keyed, keyed, 2, 3, 3, 3) * key2;
        std::memcpy(colour, &c0, sizeof c0);
        std::memcpy(colour + 4, &c1, sizeof c1);
        std::memcpy(colour + 8, &c2, sizeof c2);
    }
    for (; x < width; ++x, colour += 3)
        for (int c = 0; c < 3; ++c) colour[c] -= strip.keyed[x] * keyColour[c];
}

}  // namespace zentro::averaging
