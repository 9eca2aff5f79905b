#pragma once
// The sums of one footprint, term by term as the definition adds them, or by the
// whole-number totals of a strip where those give the very same doubles.
#include <bit>
#include <cmath>
#include <cstdint>

#include "image/column_sums.h"
#include "image/footprint_axis.h"
#include "image/key_policies.h"
#include "image/target_pixel.h"

namespace zentro::averaging {

// The double nearest to 1/255; a division by 255 would give other bytes.
constexpr double kOneOver255 = 1.0 / 255.0;

// Column x's totals over its rows of weight 1, for the pixels that are not keyed.
struct ColumnTotals {
    ColumnTotals(const Strip& strip, int x, int rows) : opaque(rows - strip.keyed[x]), keyed(strip.keyed[x]) {
        for (int stored = 0; stored < 3; ++stored) colour[2 - stored] = strip.colour[3 * x + stored];
    }
    std::uint64_t colour[3];  // red, green, blue
    std::uint64_t opaque;
    std::uint64_t keyed;
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

}  // namespace zentro::averaging
