// Every target pixel is the mean colour of the source area it covers, weighted by
// how much of each source pixel lies inside it, with the key deciding which part
// of that area counts as opaque.
//
// The icon bytes must be identical on every machine and to the pixel-by-pixel
// definition, so the order of the floating-point operations is part of the
// result: for each target pixel, columns outer, rows inner; w = column factor x
// row factor; t = (k * w) * (1/255); each total grows term by term. The work is
// cut without changing one of those doubles:
//
// - Inside a footprint most source pixels have weight 1 and key 0 or 255. Each
//   such pixel adds whole numbers: its colour and 1 to the opaque total (key 0),
//   or 1 to the keyed total and +0 to the rest (key 255, since t is exactly 1).
//   Whole numbers added to a double that stays within one binade (or to a whole
//   number) never round, so a column's run of them is added as its integer total,
//   and these totals come from one pass over the rows of each target row.
// - A pixel with key 0 adds +0 to the keyed total, which changes nothing.
// - The totals are independent of each other, so each follows its own terms; a
//   run that would round somewhere is added term by term for that total alone.
#include "image/area_average.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

#include "image/colour_key.h"
#include "image/key_values.h"
#include "image/parallel_for.h"
#include "platform/usable_cores.h"

namespace zentro {

namespace {

// The double nearest to 1/255; a division by 255 would give other bytes.
constexpr double kOneOver255 = 1.0 / 255.0;
constexpr int kMaxWholeRun = 1 << 24;

// The source pixels under one target pixel along one axis, with their weights, and
// the stretch among them whose weights are exactly 1.
struct Span {
    int first;
    int stop;
    const double* weights;  // of first, first + 1, ..., stop - 1
    int wholeFirst;
    int wholeStop;
    double Weight(int index) const { return weights[index - first]; }
    bool Whole() const { return wholeFirst == first && wholeStop == stop; }
};

class Axis {
public:
    Axis(int targetSize, int sourceSize) {
        const double scale = static_cast<double>(sourceSize) / targetSize;
        int previousWholeStop = 0;
        for (int i = 0; i < targetSize; ++i) {
            const double start = i * scale;  // left (or lower) edge, in source pixels
            const double end = start + scale;
            const int first = static_cast<int>(start);
            // Rounding can put the last edge a hair past the source; never read beyond it.
            const int stop = std::min(static_cast<int>(std::ceil(end)), sourceSize);
            Entry e{first, stop, weights_.size(), stop, stop};
            for (int index = first; index < stop; ++index) {
                double w = 1.0;
                CDib::EdgeWeight(w, index, first, start, stop, end);
                weights_.push_back(w);
            }
            // Only the first and the last factor can differ from 1.
            const double* w = weights_.data() + e.offset;
            int a = first, b = stop;
            if (a < b && w[0] != 1.0) ++a;
            if (a < b && w[b - 1 - first] != 1.0) --b;
            // Whole stretches follow one another without overlap, so that a pass over
            // the rows has at most one open at a time; strips count in 32 bits, and
            // 255 x kMaxWholeRun stays below 2^32.
            a = std::max(a, previousWholeStop);
            if (a < b && b - a <= kMaxWholeRun) {
                e.wholeFirst = a;
                e.wholeStop = b;
                previousWholeStop = b;
            }
            entries_.push_back(e);
        }
    }
    Span operator[](int i) const {
        const Entry& e = entries_[i];
        return {e.first, e.stop, weights_.data() + e.offset, e.wholeFirst, e.wholeStop};
    }

private:
    struct Entry {
        int first;
        int stop;
        std::size_t offset;
        int wholeFirst;
        int wholeStop;
    };
    std::vector<Entry> entries_;
    std::vector<double> weights_;
};

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

using U8x16 = std::uint8_t __attribute__((vector_size(16)));
using U16x8 = std::uint16_t __attribute__((vector_size(16)));
using U32x4 = std::uint32_t __attribute__((vector_size(16)));

U8x16 Load16(const std::uint8_t* p) {
    U8x16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Whether all sixteen lanes of a comparison hold true.
bool AllLanes(U8x16 comparison) {
    std::uint64_t halves[2];
    std::memcpy(halves, &comparison, sizeof halves);
    return (halves[0] & halves[1]) == ~std::uint64_t{0};
}

void AddTo(std::uint32_t* total, U32x4 v) {
    U32x4 t;
    std::memcpy(&t, total, sizeof t);
    t += v;
    std::memcpy(total, &t, sizeof t);
}

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

// Column x's totals over its rows of weight 1, for the pixels that are not keyed.
struct ColumnTotals {
    ColumnTotals(const Strip& strip, int x, int rows) : opaque(rows - strip.keyed[x]), keyed(strip.keyed[x]) {
        for (int stored = 0; stored < 3; ++stored) colour[2 - stored] = strip.colour[3 * x + stored];
    }
    std::uint64_t colour[3];  // red, green, blue
    std::uint64_t opaque;
    std::uint64_t keyed;
};

struct AreaSums {
    double sum[3] = {0.0, 0.0, 0.0};  // red, green, blue
    double opaqueTotal = 0.0;
    double keyedTotal = 0.0;
    bool fullyKeyed = true;
};

// One term of the definition. Forced inline, as AddWholeNumbers is: they run per term and
// per column, and as calls they cost the small-picture job about a tenth of its time.
[[gnu::always_inline]] inline void AddTerm(AreaSums& s, double w, const std::uint8_t* colour, std::uint8_t k) {
    if (k == 0) {
        s.opaqueTotal += w;
        s.fullyKeyed = false;
        s.sum[0] += colour[2] * w;
        s.sum[1] += colour[1] * w;
        s.sum[2] += colour[0] * w;
        return;
    }
    const double t = (k * w) * kOneOver255;
    // For k = 255, o is 0 or one ulp either side; it still enters
    // the colour sums, and the output bytes depend on that.
    const double o = w - t;
    if (k != 255) {
        s.opaqueTotal += o;
        s.fullyKeyed = false;
    }
    s.keyedTotal += t;
    s.sum[0] += colour[2] * o;
    s.sum[1] += colour[1] * o;
    s.sum[2] += colour[0] * o;
}

// The terms of column x, rows [from, to), one by one.
template <class Keys>
void AddColumn(AreaSums& s, const Pixels& pixels, const Keys& keys, int x, double wx, const Span& sy, int from,
               int to) {
    for (int y = from; y < to; ++y) {
        const std::uint8_t* c = pixels.At(x, y);
        AddTerm(s, wx * sy.Weight(y), c, keys.Key(keys.Raw(c, x, y)));
    }
}

// Adds whole-number terms of `total`, none negative, exactly as one-by-one additions
// would; false when that cannot be told without them. While the running total stays
// a whole number below 2^53, or stays in the binade of `a` (whose unit in the last
// place u is then at most 1), no addition rounds. When it passes into the next binade
// once, only the addition that crosses rounds, to a multiple of 2u; with u at most
// 1/4 the whole numbers added before it are multiples of 4u, so that rounding falls
// as it would for a + total at once: the result is a + total rounded once.
[[gnu::always_inline]] inline bool AddWholeNumbers(double& a, std::uint64_t total) {
    if (total == 0) return true;  // terms of +0 leave every total as it is
    constexpr double kTwoTo51 = 2251799813685248.0;
    constexpr double kTwoTo53 = 9007199254740992.0;
    const double sum = a + static_cast<double>(total);
    if (a >= 0 && a == std::trunc(a)) {
        if (sum > kTwoTo53) return false;
    } else {
        const auto binade = [](double v) { return static_cast<int>(std::bit_cast<std::uint64_t>(v) >> 52); };
        if (!(a > 0) || a >= kTwoTo51 || binade(sum) - binade(a) > 1) return false;
    }
    a = sum;
    return true;
}

// Rows [from, to) of column x for one total, term by term, when adding them at once
// could round otherwise. Every key there is 0 or 255 and every weight 1.
template <class Keys, class Term>
void AddWholeRowsOneByOne(double& a, const Pixels& pixels, const Keys& keys, int x, int from, int to,
                          const Term& term) {
    for (int y = from; y < to; ++y) {
        const std::uint8_t* c = pixels.At(x, y);
        a += term(c, keys.Key(keys.Raw(c, x, y)));
    }
}

// Adds the terms of rows [from, to) of column x, where every weight is 1 and every
// key 0 or 255, given their whole-number totals.
template <class Keys>
void AddWholeRows(AreaSums& s, const Pixels& pixels, const Keys& keys, int x, int from, int to,
                  const std::uint64_t* colour, std::uint64_t opaque, std::uint64_t keyed) {
    if (opaque != 0) s.fullyKeyed = false;
    if (!AddWholeNumbers(s.opaqueTotal, opaque))
        AddWholeRowsOneByOne(s.opaqueTotal, pixels, keys, x, from, to,
                             [](const std::uint8_t*, std::uint8_t k) { return k == 0 ? 1.0 : 0.0; });
    if (!AddWholeNumbers(s.keyedTotal, keyed))
        AddWholeRowsOneByOne(s.keyedTotal, pixels, keys, x, from, to,
                             [](const std::uint8_t*, std::uint8_t k) { return k == 255 ? 1.0 : 0.0; });
    for (int ch = 0; ch < 3; ++ch) {
        if (AddWholeNumbers(s.sum[ch], colour[ch])) continue;
        AddWholeRowsOneByOne(s.sum[ch], pixels, keys, x, from, to, [ch](const std::uint8_t* c, std::uint8_t k) {
            return k == 0 ? static_cast<double>(c[2 - ch]) : 0.0;
        });
    }
}

// Rows [from, to) of column x, all of weight 1, some with partial keys: the runs
// between partial keys are added by their totals, the partial ones term by term.
template <class Keys>
void AddRowsAroundPartialKeys(AreaSums& s, const Pixels& pixels, const Keys& keys, int x, int from, int to) {
    std::uint64_t colour[3] = {0, 0, 0}, opaque = 0, keyed = 0;
    int runStart = from;
    for (int y = from; y < to; ++y) {
        const std::uint8_t* c = pixels.At(x, y);
        const std::uint8_t k = keys.Key(keys.Raw(c, x, y));
        if (k == 0) {
            for (int ch = 0; ch < 3; ++ch) colour[ch] += c[2 - ch];
            ++opaque;
        } else if (k == 255) {
            ++keyed;
        } else {
            AddWholeRows(s, pixels, keys, x, runStart, y, colour, opaque, keyed);
            AddTerm(s, 1.0, c, k);
            colour[0] = colour[1] = colour[2] = opaque = keyed = 0;
            runStart = y + 1;
        }
    }
    AddWholeRows(s, pixels, keys, x, runStart, to, colour, opaque, keyed);
}

// A footprint whose weights are all 1 and keys all 0 or 255: every term is a whole
// number, so the totals are exact in any order. False when a key is partial.
template <class Keys>
bool SumWholeFootprint(const Keys& keys, const Strip& strip, const Span& sx, const Span& sy, AreaSums& s) {
    const int rows = sy.stop - sy.first;
    std::uint64_t colour[3] = {0, 0, 0}, opaque = 0, keyed = 0;
    for (int x = sx.first; x < sx.stop; ++x) {
        if (Partial(keys, strip.partial[x])) return false;
        const ColumnTotals column(strip, x, rows);
        for (int c = 0; c < 3; ++c) colour[c] += column.colour[c];
        opaque += column.opaque;
        keyed += column.keyed;
    }
    for (int c = 0; c < 3; ++c) s.sum[c] = static_cast<double>(colour[c]);
    s.opaqueTotal = static_cast<double>(opaque);
    s.keyedTotal = static_cast<double>(keyed);
    s.fullyKeyed = opaque == 0;
    return true;
}

template <class Keys>
AreaSums SumFootprint(const Pixels& pixels, const Keys& keys, const Strip* strip, const Span& sx, const Span& sy) {
    AreaSums s;
    const int rows = sy.wholeStop - sy.wholeFirst;
    if (rows > 0 && sx.Whole() && sy.Whole() && SumWholeFootprint(keys, *strip, sx, sy, s)) return s;
    for (int x = sx.first; x < sx.stop; ++x) {
        const double wx = sx.Weight(x);
        if (wx != 1.0 || rows <= 0) {
            AddColumn(s, pixels, keys, x, wx, sy, sy.first, sy.stop);
            continue;
        }
        AddColumn(s, pixels, keys, x, wx, sy, sy.first, sy.wholeFirst);
        if (Partial(keys, strip->partial[x])) {
            AddRowsAroundPartialKeys(s, pixels, keys, x, sy.wholeFirst, sy.wholeStop);
        } else {
            const ColumnTotals column(*strip, x, rows);
            AddWholeRows(s, pixels, keys, x, sy.wholeFirst, sy.wholeStop, column.colour, column.opaque, column.keyed);
        }
        AddColumn(s, pixels, keys, x, wx, sy, sy.wholeStop, sy.stop);
    }
    return s;
}

// Truncates toward zero and saturates. Slivers of weight (a footprint reaching
// 1e-15 into a neighbour) can leave a mean slightly outside 0..255; wrapping to
// the low byte would turn a bright pixel black.
std::uint8_t SaturatedByte(double value) {
    if (!(value >= 1.0)) return 0;
    if (value >= 255.0) return 255;
    return static_cast<std::uint8_t>(static_cast<int>(value));
}

void WritePixel(const AreaSums& s, const ResampleTarget& target, int i, int j) {
    bool transparent = s.fullyKeyed;
    std::uint8_t alpha = 0;
    if (target.mode == 1 || target.mode == 2) {
        const double share = s.keyedTotal / (s.keyedTotal + s.opaqueTotal);
        if (target.mode == 1) {
            transparent = share > 0.5;
        } else {
            alpha = SaturatedByte((1.0 - share) * 255);
        }
    }
    std::uint8_t out[4] = {0, 0, 0, 0};
    if (!transparent) {
        for (int c = 0; c < 3; ++c) out[c] = SaturatedByte(s.sum[c] / s.opaqueTotal);
        out[3] = alpha;
    }
    target.image->SetPixel(i, j, out);
    target.mask->SetMaskBit(i, j, transparent);
}

// Key sources that read the same raw values share their strips.
bool SameRawKeys(const KeySource& a, const KeySource& b) {
    if (a.kind != b.kind) return false;
    return a.kind != KeySource::Kind::Mask || (a.mask == b.mask && a.keyedMeansKeyColour == b.keyedMeansKeyColour);
}

struct JobAxes {
    Axis columns;
    Axis rows;
};

// The targets that read one source of raw key values; they are made in one pass over
// the source's rows.
struct Pass {
    std::vector<std::vector<int>> targets;  // per job, the indices of its targets in this pass
};

// Which raw key values a footprint holds: 0, partial ones, 255. The whole rows are
// told by the strip, the rest one by one.
enum KeyKinds { kOpaqueKeys = 1, kPartialKeys = 2, kKeyedKeys = 4 };

template <class Keys>
int FootprintKeyKinds(const Keys& keys, const Pixels& pixels, const Strip& strip, const Span& sx, const Span& sy) {
    if constexpr (std::is_same_v<Keys, NoKeys>) {
        return kOpaqueKeys;
    } else {
        int kinds = 0;
        const auto addRows = [&](int from, int to) {
            for (int y = from; y < to; ++y) {
                for (int x = sx.first; x < sx.stop; ++x) {
                    const std::uint8_t raw = keys.Raw(pixels.At(x, y), x, y);
                    kinds |= raw == 0 ? kOpaqueKeys : raw == 255 ? kKeyedKeys : kPartialKeys;
                }
            }
        };
        if (sy.wholeFirst >= sy.wholeStop) {
            addRows(sy.first, sy.stop);
            return kinds;
        }
        const auto rows = static_cast<std::uint32_t>(sy.wholeStop - sy.wholeFirst);
        for (int x = sx.first; x < sx.stop; ++x) {
            if (strip.keyed[x] != 0) kinds |= kKeyedKeys;
            if (strip.partial[x] != 0) kinds |= kPartialKeys;
            if (strip.keyed[x] + strip.partial[x] != rows) kinds |= kOpaqueKeys;
        }
        addRows(sy.first, sy.wholeFirst);
        addRows(sy.wholeStop, sy.stop);
        return kinds;
    }
}

// The sums of a footprint whose every term is keyed: no opaque weight at all, so the
// pixel is black and transparent in every mode, whatever the weights.
AreaSums FullyKeyedSums() {
    AreaSums s;
    s.keyedTotal = 1.0;
    return s;
}

// Target row j of job n: every pixel of it in the pass's targets. `strip` holds the
// totals of the row's whole rows, if it has any. The targets of a pass read the same
// raw key values and differ at most in whether partial ones count, so a footprint
// without partial keys gives every target the same terms: its sums serve them all.
void AverageRow(const CDib& source, const ResampleJob& job, const std::vector<int>& targets, const JobAxes& axes, int j,
                const Strip& strip) {
    const Pixels pixels{source.Row(0), source.Stride()};
    const Span sy = axes.rows[j];
    const int width = job.targets[0].image->Width();
    const ResampleTarget& first = job.targets[targets[0]];
    WithKeys(first.keys, source, [&](const auto& keys) {
        for (int i = 0; i < width; ++i) {
            const Span sx = axes.columns[i];
            const int kinds = FootprintKeyKinds(keys, pixels, strip, sx, sy);
            const AreaSums sums = kinds == kKeyedKeys ? FullyKeyedSums() : SumFootprint(pixels, keys, &strip, sx, sy);
            WritePixel(sums, first, i, j);
            for (std::size_t t = 1; t < targets.size(); ++t) {
                const ResampleTarget& target = job.targets[targets[t]];
                if (target.keys.keyedOnly == first.keys.keyedOnly || (kinds & kPartialKeys) == 0) {
                    WritePixel(sums, target, i, j);
                    continue;
                }
                WithKeys(target.keys, source,
                         [&](const auto& own) { WritePixel(SumFootprint(pixels, own, &strip, sx, sy), target, i, j); });
            }
        }
    });
}

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

// Makes `strip`, the running totals as they were where some rows began, the totals of
// those rows alone. Where the colours of all pixels were added (keyColour, blue, green,
// red, not null), the keyed pixels' key colour is taken off.
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

// One piece of a pass: the target rows whose whole rows begin in source rows
// [firstRow, stopRow) (or whose footprint does, when they have none). One running
// strip adds the rows in order; a target row's totals are the difference between
// the running strip when its whole rows end and when they began.
template <class Keys>
void RunPiece(const CDib& source, const std::vector<ResampleJob>& jobs, const std::vector<JobAxes>& axes,
              const Pass& pass, const Keys& keys, int firstRow, int stopRow) {
    const Pixels pixels{source.Row(0), source.Stride()};
    const int width = source.Width();
    struct Rows {
        std::vector<int> pending;  // target rows with whole rows, in order
        std::size_t next = 0;
        bool open = false;
        std::unique_ptr<Strip> begun;  // the running strip where the open one began
    };
    std::vector<Rows> rows(jobs.size());
    const Strip none(0);
    for (std::size_t n = 0; n < jobs.size(); ++n) {
        if (pass.targets[n].empty()) continue;
        for (int j = 0; j < jobs[n].targets[0].image->Height(); ++j) {
            const Span sy = axes[n].rows[j];
            const bool whole = sy.wholeFirst < sy.wholeStop;
            const int start = whole ? sy.wholeFirst : sy.first;
            if (start < firstRow || start >= stopRow) continue;
            if (whole) {
                rows[n].pending.push_back(j);
            } else {
                AverageRow(source, jobs[n], pass.targets[n], axes[n], j, none);
            }
        }
        if (!rows[n].pending.empty()) rows[n].begun = std::make_unique<Strip>(width);
    }

    Strip running(width);
    const auto nextEvent = [&](int after) {
        int event = INT_MAX;
        for (std::size_t n = 0; n < jobs.size(); ++n) {
            const Rows& r = rows[n];
            if (r.next == r.pending.size()) continue;
            const Span sy = axes[n].rows[r.pending[r.next]];
            const int at = r.open ? sy.wholeStop : sy.wholeFirst;
            if (at > after) event = std::min(event, at);
        }
        return event;
    };
    for (int y = nextEvent(-1); y != INT_MAX;) {
        for (std::size_t n = 0; n < jobs.size(); ++n) {
            Rows& r = rows[n];
            if (r.next == r.pending.size()) continue;
            const int j = r.pending[r.next];
            const Span sy = axes[n].rows[j];
            if (r.open && sy.wholeStop == y) {
                Strip& strip = *r.begun;
                TakeRowsSince(running, strip, keys.KeyedColour());
                AverageRow(source, jobs[n], pass.targets[n], axes[n], j, strip);
                r.open = false;
                if (++r.next == r.pending.size()) continue;
            }
            if (!r.open && axes[n].rows[r.pending[r.next]].wholeFirst == y) {
                *r.begun = running;
                r.open = true;
            }
        }
        const int next = nextEvent(y);
        if (next == INT_MAX) break;
        keys.SumRows(running, pixels, width, y, next);
        y = next;
    }
}

// One piece per core, or one alone for a source too small to be worth sharing out.
int CorePieces(const CDib& source) {
    const bool small = static_cast<std::int64_t>(source.Width()) * source.Height() <= kPixelsWorthAThread;
    return small ? 1 : UsableCores();
}

// A target of the source's own size: each footprint is one source pixel of weight 1,
// so each pixel is its one term, without the strips and spans that larger footprints need.
// That term is a whole number for keys 0 and 255, and the definition then gives the
// colour as it is (opaque, alpha 255 in mode 2) or black and transparent; only partial
// keys need the doubles. Runs of one kind, the bulk of most pictures, are written whole.
template <int kBytes, class Keys>
void AverageRowAtOwnSize(const Pixels& pixels, const Keys& keys, const ResampleTarget& target, int width, int y) {
    static_assert(255 * (1.0 * 1.0) * kOneOver255 == 1.0, "a fully keyed term must weigh exactly 1");
    const std::uint8_t opaqueAlpha = target.mode == 2 ? 255 : 0;
    std::uint8_t* const out = target.image->Row(y);
    std::uint8_t* const maskRow = target.mask->Row(y);
    std::memset(maskRow, 0, target.mask->Stride());
    const std::uint8_t* const colours = pixels.At(0, y);
    const auto opaque = [&](int x) {
        std::memcpy(out + kBytes * x, colours + 3 * x, 3);  // both stored blue first
        if constexpr (kBytes == 4) out[4 * x + 3] = opaqueAlpha;
    };
    for (int first = 0; first < width; first += kRun) {
        const int stop = std::min(first + kRun, width);
        const int runKey = stop - first == kRun ? keys.RunKey(first, y) : -1;
        if (runKey == 255) {
            std::memset(out + kBytes * first, 0, kBytes * kRun);
            maskRow[first / 8] = maskRow[first / 8 + 1] = 0xFF;
            continue;
        }
        if (runKey == 0) {
            for (int x = first; x < stop; ++x) opaque(x);
            continue;
        }
        for (int x = first; x < stop; ++x) {
            const std::uint8_t key = keys.Key(keys.Raw(colours + 3 * x, x, y));
            if (key == 0) {
                opaque(x);
            } else if (key == 255) {
                std::memset(out + kBytes * x, 0, kBytes);
                maskRow[x / 8] = static_cast<std::uint8_t>(maskRow[x / 8] | 0x80 >> x % 8);
            } else {
                AreaSums s;
                AddTerm(s, 1.0 * 1.0, colours + 3 * x, key);
                WritePixel(s, target, x, y);
            }
        }
    }
}

void AverageAtOwnSize(const CDib& source, const ResampleTarget& target, int pieces) {
    const Pixels pixels{source.Row(0), source.Stride()};
    const int width = source.Width();
    const int height = source.Height();
    const bool alpha = target.image->BitCount() == 32;
    WithKeys(target.keys, source, [&](const auto& keys) {
        ParallelFor(pieces, [&](int k) {
            const int last = static_cast<int>(std::int64_t{height} * (k + 1) / pieces);
            for (int y = static_cast<int>(std::int64_t{height} * k / pieces); y < last; ++y) {
                if (alpha) {
                    AverageRowAtOwnSize<4>(pixels, keys, target, width, y);
                } else {
                    AverageRowAtOwnSize<3>(pixels, keys, target, width, y);
                }
            }
        });
    });
}

void AverageScaled(const CDib& source, const std::vector<ResampleJob>& jobs) {
    std::vector<JobAxes> axes;
    axes.reserve(jobs.size());
    int tallestFootprint = 1;
    for (const ResampleJob& job : jobs) {
        const CDib& image = *job.targets[0].image;
        axes.push_back({Axis(image.Width(), source.Width()), Axis(image.Height(), source.Height())});
        tallestFootprint = std::max(tallestFootprint, source.Height() / image.Height() + 2);
    }
    // Targets reading the same raw key values share a pass (the builder's always do).
    std::vector<Pass> passes;
    std::vector<KeySource> passKeys;
    for (std::size_t n = 0; n < jobs.size(); ++n) {
        for (int t = 0; t < jobs[n].count; ++t) {
            const KeySource& keys = jobs[n].targets[t].keys;
            std::size_t p = 0;
            while (p < passes.size() && !SameRawKeys(passKeys[p], keys)) ++p;
            if (p == passes.size()) {
                passes.push_back({std::vector<std::vector<int>>(jobs.size())});
                passKeys.push_back(keys);
            }
            passes[p].targets[n].push_back(t);
        }
    }
    // Each core takes a band of source rows. A piece reads on past its band to the end
    // of its last target row, so pieces are kept several footprints tall.
    const int height = source.Height();
    const int pieces = std::max(1, std::min(CorePieces(source), height / (4 * tallestFootprint)));
    for (std::size_t p = 0; p < passes.size(); ++p) {
        WithKeys(passKeys[p], source, [&](const auto& keys) {
            ParallelFor(pieces, [&](int k) {
                RunPiece(source, jobs, axes, passes[p], keys, static_cast<int>(std::int64_t{height} * k / pieces),
                         static_cast<int>(std::int64_t{height} * (k + 1) / pieces));
            });
        });
    }
}

}  // namespace

void AreaAverage(const CDib& source, const std::vector<ResampleJob>& jobs) {
    std::vector<ResampleJob> scaled;
    for (const ResampleJob& job : jobs) {
        const CDib& image = *job.targets[0].image;
        if (image.Width() != source.Width() || image.Height() != source.Height()) {
            scaled.push_back(job);
            continue;
        }
        for (int t = 0; t < job.count; ++t) AverageAtOwnSize(source, job.targets[t], CorePieces(source));
    }
    if (!scaled.empty()) AverageScaled(source, scaled);
}

}  // namespace zentro
