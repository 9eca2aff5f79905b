#include <algorithm>
#include <new>

#include "image/colour_key.h"
#include "image/key_values.h"
#include "image/parallel_for.h"
#include "image/true_colour.h"

namespace zentro {

namespace {

bool MakeKeyMask(const CDib& source, CDib& mask, int keyMode, std::uint8_t bitCount) {
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
        ParallelForRows(width, height, [&](int first, int stop) {
            for (int y = first; y < stop; ++y) MarkKeyColour(picture->Row(y), width, key, KeyValueRow(mask, y), step);
        });
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

bool CDib::BuildKeyMask(CDib& keyMask, int keyMode) const { return MakeKeyMask(*this, keyMask, keyMode, 24); }

bool BuildKeyPlane(const CDib& source, CDib& plane, int keyMode) { return MakeKeyMask(source, plane, keyMode, 8); }

}  // namespace zentro
