#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "image/byte_lanes.h"
#include "image/colour_key.h"
#include "image/key_values.h"
#include "image/parallel_for.h"
#include "image/true_colour.h"

namespace zentro {

namespace {

// What the key colour's positions are marked with while the border's reach is not known.
constexpr std::uint8_t kKeyedAlone = 1;

// The marks of one row that reached the border become 255, the others 0, sixteen at a time.
void SettleRow(std::uint8_t* row, int width) {
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        Store16(row + x, reinterpret_cast<U8x16>(Load16(row + x) == 255));
    }
    for (; x < width; ++x) row[x] = row[x] == 255 ? 255 : 0;
}

// Keeps 255 only at the keyed positions of the 8-bit plane that a path of keyed
// 4-neighbours joins to the border; the others become 0. The keyed positions arrive
// marked kKeyedAlone; the border's then spread 255 over them a run of a row at a time,
// so that only the runs still to look above and below are held, not every pixel.
void KeepJoinedToBorder(CDib& plane) {
    const int width = plane.Width();
    const int height = plane.Height();
    std::vector<std::pair<int, int>> seeds;
    // Fills the run through (x, y) and seeds each run of marked positions beside it.
    const auto fill = [&](int x, int y) {
        std::uint8_t* row = plane.Row(y);
        if (row[x] != kKeyedAlone) return;
        int first = x, stop = x + 1;
        while (first > 0 && row[first - 1] == kKeyedAlone) --first;
        while (stop < width && row[stop] == kKeyedAlone) ++stop;
        std::fill(row + first, row + stop, std::uint8_t{255});
        for (int beside : {y - 1, y + 1}) {
            if (beside < 0 || beside >= height) continue;
            // Most of a neighbouring row is filled already or not keyed: memchr skips it.
            const std::uint8_t* other = plane.Row(beside);
            const std::uint8_t* end = other + stop;
            for (const std::uint8_t* at = other + first;;) {
                at = static_cast<const std::uint8_t*>(std::memchr(at, kKeyedAlone, static_cast<std::size_t>(end - at)));
                if (at == nullptr) break;
                seeds.emplace_back(static_cast<int>(at - other), beside);
                while (at < end && *at == kKeyedAlone) ++at;
            }
        }
    };
    const auto drain = [&] {
        while (!seeds.empty()) {
            const auto [x, y] = seeds.back();
            seeds.pop_back();
            fill(x, y);
        }
    };
    for (int x = 0; x < width; ++x) {
        fill(x, 0);
        fill(x, height - 1);
        drain();
    }
    for (int y = 0; y < height; ++y) {
        fill(0, y);
        fill(width - 1, y);
        drain();
    }
    for (int y = 0; y < height; ++y) SettleRow(plane.Row(y), width);
}

bool MakeKeyMask(const CDib& source, CDib& mask, int keyMode, std::uint8_t bitCount, bool fromBorder) {
    if (!mask.Create(source.Width(), source.Height(), bitCount)) return false;
    // Create hands back all-zero pixels, row padding included: with the key off nothing is keyed.
    if (keyMode == 0) return true;

    try {
        CDib copy;
        const CDib* picture = TrueColour(source, copy);
        if (picture == nullptr) return false;
        const std::uint32_t key = PackedColour(picture->Row(0));  // the bottom-left pixel
        const int width = source.Width();
        const int height = source.Height();
        const std::size_t step = KeyValueStep(mask);
        const std::uint8_t mark = fromBorder ? kKeyedAlone : 255;
        ParallelForRows(width, height, [&](int first, int stop) {
            for (int y = first; y < stop; ++y)
                MarkKeyColour(picture->Row(y), width, key, KeyValueRow(mask, y), step, mark);
        });
        if (fromBorder) KeepJoinedToBorder(mask);
        if (keyMode == 2) {
            mask.SmoothKeyMask(0);
            mask.SmoothKeyMask(1);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // working rows for the threads or the smoothing's runs could not be had
    }
}

}  // namespace

bool CDib::BuildKeyMask(CDib& keyMask, int keyMode) const { return MakeKeyMask(*this, keyMask, keyMode, 24, false); }

bool BuildKeyPlane(const CDib& source, CDib& plane, int keyMode, bool fromBorder) {
    return MakeKeyMask(source, plane, keyMode, 8, fromBorder);
}

}  // namespace zentro
