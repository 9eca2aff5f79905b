#include <algorithm>
#include <vector>

#include "image/dib.h"
#include "image/nearest_colour.h"

namespace zentro {

namespace {

// Floyd-Steinberg scaled to 90 %. Float constants on purpose: a double literal would
// lift the products to double precision and change the output bytes.
constexpr float kAhead = 0.39375f;        // next pixel in scan direction, this row
constexpr float kBelow = 0.28125f;        // same column, next row
constexpr float kBelowAhead = 0.05625f;   // one column ahead, next row
constexpr float kBelowBehind = 0.16875f;  // one column behind, next row

// The search's answers for colours met before. Flat areas and the black of transparent
// pixels ask for the same colour again and again, and a look-up costs far less than a
// search. On the stack, so that the quantizer asks for no more memory than before.
class RememberedColours {
public:
    explicit RememberedColours(const NearestColour& nearest) : nearest_(nearest) {}
    int Find(const std::uint8_t* colour) {
        const std::uint32_t key = kKnown | std::uint32_t{colour[0]} << 16 | std::uint32_t{colour[1]} << 8 | colour[2];
        const std::uint32_t slot = (key * 2654435761u) >> (32 - kSlotBits);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            indexes_[slot] = static_cast<std::uint8_t>(nearest_.Find(colour));
        }
        return indexes_[slot];
    }

private:
    static constexpr int kSlotBits = 12;
    static constexpr std::uint32_t kKnown = 1u << 24;  // no empty slot carries it
    const NearestColour& nearest_;
    std::uint32_t keys_[1 << kSlotBits] = {};
    std::uint8_t indexes_[1 << kSlotBits] = {};
};

}  // namespace

bool CDib::Quantize(CDib& target, bool sixteenColours, const CDib& mask) const {
    const int width = Width();
    const int height = Height();
    if (!target.Create(width, height, sixteenColours ? 4 : 8)) return false;
    BuildPalette(target, sixteenColours);
    const NearestColour search(target.ColourTable(), sixteenColours ? 16 : 256);
    RememberedColours nearest(search);

    // Red, green, blue per column: what the row being converted and the row after it are owed.
    const std::size_t rowFloats = 3 * static_cast<std::size_t>(width);
    std::vector<float> current(rowFloats, 0.0f);
    std::vector<float> next(rowFloats, 0.0f);
    for (int y = 0; y < height; ++y) {
        std::fill(next.begin(), next.end(), 0.0f);
        // Serpentine: even rows left to right, odd rows back, so errors do not pile up on one side.
        const int step = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = step == 1 ? i : width - 1 - i;
            std::uint8_t colour[3];
            GetPixel(x, y, colour);
            // Transparent pixels take no part: dithering them would only smear error into
            // the opaque picture from colours nobody sees.
            if (mask.GetMaskBit(x, y) != 0) {
                target.SetIndex(x, y, nearest.Find(colour));
                continue;
            }
            float corrected[3];
            for (int k = 0; k < 3; ++k) {
                const float sum = colour[k] + current[3 * x + k];
                if (sum < 0) {
                    corrected[k] = 0;
                } else if (sum > 255) {
                    corrected[k] = 255;
                } else {
                    corrected[k] = sum;
                }
                colour[k] = static_cast<std::uint8_t>(corrected[k]);
            }
            const int index = nearest.Find(colour);
            target.SetIndex(x, y, index);
            const PaletteEntry& entry = target.ColourTable()[index];
            const std::uint8_t chosen[3] = {entry.red, entry.green, entry.blue};

            const int forward = x + step;
            const int backward = x - step;
            const bool hasForward = forward >= 0 && forward < width;
            const bool hasBackward = backward >= 0 && backward < width;
            for (int k = 0; k < 3; ++k) {
                // From the value before truncation, so the dropped fraction is passed on too.
                const float error = corrected[k] - chosen[k];
                next[3 * x + k] += error * kBelow;
                if (hasForward) {
                    current[3 * forward + k] += error * kAhead;
                    next[3 * forward + k] += error * kBelowAhead;
                }
                if (hasBackward) next[3 * backward + k] += error * kBelowBehind;
            }
        }
        current.swap(next);
    }
    return true;
}

}  // namespace zentro
