#pragma once
// Where the averaging reads each source pixel's key value: nowhere (all opaque),
// from the key colour, or from a key mask. Each policy also fills a strip of
// column totals in its own fastest way.
#include <cstddef>
#include <cstdint>

#include "image/area_average.h"
#include "image/colour_key.h"
#include "image/column_sums.h"
#include "image/key_values.h"

namespace zentro::averaging {

// The pixels a key policy's RunKey speaks for at once.
constexpr int kRun = 16;

// Key value policies: Raw gives what the key source holds, Key the value that counts,
// SumRows fills a strip. Where every keyed pixel has the key colour (KeyedColour),
// the strip first adds the colours of all pixels, a faster sum, and the key colour's
// share is taken off after.
struct NoKeys {
    static constexpr bool kMayBePartial = false;
    std::uint8_t Raw(const std::uint8_t*, int, int) const { return 0; }
    // The key of all kRun pixels from (x, y) when they share 0 or 255; else -1.
    int RunKey(int, int) const { return 0; }
    std::uint8_t Key(std::uint8_t raw) const { return raw; }
    void SumRows(Strip& strip, const Pixels& pixels, int width, int from, int to) const {
        SumBytesDown(pixels.At(0, from), pixels.stride, to - from, 3 * static_cast<std::size_t>(width),
                     strip.colour.data());
    }
    const std::uint8_t* KeyedColour() const { return nullptr; }
};

struct ColourKeys {
    static constexpr bool kMayBePartial = false;
    const std::uint8_t* key;  // blue, green, red
    std::uint8_t Raw(const std::uint8_t* colour, int, int) const {
        return PackedColour(colour) == PackedColour(key) ? 255 : 0;
    }
    int RunKey(int, int) const { return -1; }
    std::uint8_t Key(std::uint8_t raw) const { return raw; }
    void SumRows(Strip& strip, const Pixels& pixels, int width, int from, int to) const {
        SumBytesDown(pixels.At(0, from), pixels.stride, to - from, 3 * static_cast<std::size_t>(width),
                     strip.colour.data());
        const std::uint32_t k = PackedColour(key);
        for (int y = from; y < to; ++y) {
            const std::uint8_t* c = pixels.At(0, y);
            for (int x = 0; x < width; ++x) strip.keyed[x] += PackedColour(c + 3 * x) == k;
        }
    }
    const std::uint8_t* KeyedColour() const { return key; }
};

struct MaskKeys {
    static constexpr bool kMayBePartial = true;
    const std::uint8_t* base;
    std::size_t stride;
    std::size_t step;
    bool keyedOnly;                 // partial values count as 0
    const std::uint8_t* keyColour;  // blue, green, red; null unless every 255 is a pixel of that colour
    std::uint8_t Raw(const std::uint8_t*, int x, int y) const { return base[y * stride + x * step]; }
    int RunKey(int x, int y) const {
        if (step != 1) return -1;
        const U8x16 raw = Load16(base + y * stride + x);
        if (AllLanes(reinterpret_cast<U8x16>(raw == 255))) return 255;
        const bool allOpaque =
            keyedOnly ? AllLanes(reinterpret_cast<U8x16>(raw != 255)) : AllLanes(reinterpret_cast<U8x16>(raw == 0));
        return allOpaque ? 0 : -1;
    }
    std::uint8_t Key(std::uint8_t raw) const { return keyedOnly && raw != 255 ? 0 : raw; }
    // A partial value is not a whole-number term.
    bool Partial(std::uint64_t partialCount) const { return !keyedOnly && partialCount != 0; }
    bool AllKeyedAreKeyColour() const { return keyColour != nullptr && step == 1; }
    void SumRows(Strip& strip, const Pixels& pixels, int width, int from, int to) const {
        if (AllKeyedAreKeyColour()) {
            SumBytesDown(pixels.At(0, from), pixels.stride, to - from, 3 * static_cast<std::size_t>(width),
                         strip.colour.data());
            CountKeysDown(base + from * stride, stride, to - from, width, strip.keyed.data(), strip.partial.data());
            return;
        }
        for (int y = from; y < to; ++y) {
            const std::uint8_t* keys = base + y * stride;
            const std::uint8_t* colours = pixels.At(0, y);
            for (int x = 0; x < width; ++x, keys += step, colours += 3) {
                const std::uint8_t raw = *keys;
                if (raw == 255) {
                    ++strip.keyed[x];
                    continue;
                }
                for (int c = 0; c < 3; ++c) strip.colour[3 * x + c] += colours[c];
                if (raw != 0) ++strip.partial[x];
            }
        }
    }
    const std::uint8_t* KeyedColour() const { return AllKeyedAreKeyColour() ? keyColour : nullptr; }
};

template <class Visit>
void WithKeys(const KeySource& keys, const CDib& source, const Visit& visit) {
    switch (keys.kind) {
        case KeySource::Kind::None: return visit(NoKeys{});
        case KeySource::Kind::KeyColour: return visit(ColourKeys{source.Row(0)});
        default:
            return visit(MaskKeys{KeyValueRow(*keys.mask, 0), keys.mask->Stride(), KeyValueStep(*keys.mask),
                                  keys.keyedOnly, keys.keyedMeansKeyColour ? source.Row(0) : nullptr});
    }
}

template <class Keys>
bool Partial(const Keys& keys, std::uint64_t partialCount) {
    if constexpr (Keys::kMayBePartial) {
        return keys.Partial(partialCount);
    } else {
        return false;
    }
}

}  // namespace zentro::averaging
