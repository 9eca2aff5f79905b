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
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>

#include "image/key_values.h"
#include "image/parallel_for.h"

namespace zentro {

namespace {

// The double nearest to 1/255; a division by 255 would give other bytes.
constexpr double kOneOver255 = 1.0 / 255.0;

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
            if (a < b) {
                e.wholeFirst = a;
                e.wholeStop = b;
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

// Key value policies: Raw gives what the key source holds, Key the value that counts.
struct NoKeys {
    static constexpr bool kMayBePartial = false;
    std::uint8_t Raw(const std::uint8_t*, int, int) const { return 0; }
    std::uint8_t Key(std::uint8_t raw) const { return raw; }
};

struct ColourKeys {
    static constexpr bool kMayBePartial = false;
    const std::uint8_t* key;  // blue, green, red
    std::uint8_t Raw(const std::uint8_t* colour, int, int) const {
        return colour[0] == key[0] && colour[1] == key[1] && colour[2] == key[2] ? 255 : 0;
    }
    std::uint8_t Key(std::uint8_t raw) const { return raw; }
};

struct MaskKeys {
    static constexpr bool kMayBePartial = true;
    const std::uint8_t* base;
    std::size_t stride;
    std::size_t step;
    bool keyedOnly;  // partial values count as 0
    std::uint8_t Raw(const std::uint8_t*, int x, int y) const { return base[y * stride + x * step]; }
    std::uint8_t Key(std::uint8_t raw) const { return keyedOnly && raw != 255 ? 0 : raw; }
    // A partial value is not a whole-number term.
    bool Partial(std::uint64_t partialCount) const { return !keyedOnly && partialCount != 0; }
};

template <class Visit>
void WithKeys(const KeySource& keys, const CDib& source, const Visit& visit) {
    switch (keys.kind) {
        case KeySource::Kind::None:
            return visit(NoKeys{});
        case KeySource::Kind::KeyColour:
            return visit(ColourKeys{source.Row(0)});
        default:
            return visit(MaskKeys{KeyValueRow(*keys.mask, 0), keys.mask->Stride(), KeyValueStep(*keys.mask),
                                  keys.kind == KeySource::Kind::MaskKeyed});
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

struct AreaSums {
    double sum[3] = {0.0, 0.0, 0.0};  // red, green, blue
    double opaqueTotal = 0.0;
    double keyedTotal = 0.0;
    bool fullyKeyed = true;
};

// One term of the definition.
void AddTerm(AreaSums& s, double w, const std::uint8_t* colour, std::uint8_t k) {
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

// Adds whole-number terms of `total`, none negative, the way one-by-one additions
// would: true when none of those additions rounds, which holds when every partial
// sum is a double, that is when `a` is a whole number and stays below 2^53, or
// when `a` stays within its binade with a unit in the last place of at most 1.
bool AddWholeNumbers(double& a, std::uint64_t total) {
    if (total == 0) return true;  // terms of +0 leave every total as it is
    constexpr double kTwoTo53 = 9007199254740992.0;
    const double sum = a + static_cast<double>(total);
    if (a >= 0 && a == std::trunc(a)) {
        if (sum > kTwoTo53) return false;
    } else if (!(a > 0) || a >= kTwoTo53 ||
               (std::bit_cast<std::uint64_t>(a) >> 52) != (std::bit_cast<std::uint64_t>(sum) >> 52)) {
        return false;
    }
    a = sum;
    return true;
}

// Per source column, the whole-number totals of the rows of one target row whose
// weight is 1: colours and count of the pixels not keyed, count of partial keys.
struct Strip {
    explicit Strip(int width) : red(width), green(width), blue(width), opaque(width), partial(width) {}
    std::vector<std::uint64_t> red, green, blue, opaque, partial;

    template <class Keys>
    void Sum(const Pixels& pixels, const Keys& keys, int width, int from, int to) {
        std::fill(red.begin(), red.end(), 0);
        std::fill(green.begin(), green.end(), 0);
        std::fill(blue.begin(), blue.end(), 0);
        std::fill(opaque.begin(), opaque.end(), 0);
        std::fill(partial.begin(), partial.end(), 0);
        for (int y = from; y < to; ++y) {
            const std::uint8_t* c = pixels.At(0, y);
            for (int x = 0; x < width; ++x, c += 3) {
                const std::uint8_t raw = keys.Raw(c, x, y);
                if (raw == 255) continue;
                red[x] += c[2];
                green[x] += c[1];
                blue[x] += c[0];
                ++opaque[x];
                if (Keys::kMayBePartial && raw != 0) ++partial[x];
            }
        }
    }
};

// Column x's rows of weight 1 for one total, term by term, when adding them at once
// would round somewhere. Every key there is 0 or 255 and every weight 1.
template <class Keys, class Term>
void AddWholeRowsOneByOne(double& a, const Pixels& pixels, const Keys& keys, int x, const Span& sy, const Term& term) {
    for (int y = sy.wholeFirst; y < sy.wholeStop; ++y) {
        const std::uint8_t* c = pixels.At(x, y);
        a += term(c, keys.Key(keys.Raw(c, x, y)));
    }
}

template <class Keys>
AreaSums SumFootprint(const Pixels& pixels, const Keys& keys, const Strip* strip, const Span& sx, const Span& sy) {
    AreaSums s;
    const int rows = sy.wholeStop - sy.wholeFirst;
    for (int x = sx.first; x < sx.stop; ++x) {
        const double wx = sx.Weight(x);
        if (wx != 1.0 || rows <= 0 || Partial(keys, strip->partial[x])) {
            AddColumn(s, pixels, keys, x, wx, sy, sy.first, sy.stop);
            continue;
        }
        AddColumn(s, pixels, keys, x, wx, sy, sy.first, sy.wholeFirst);
        const std::uint64_t opaque = strip->opaque[x];
        if (opaque != 0) s.fullyKeyed = false;
        if (!AddWholeNumbers(s.opaqueTotal, opaque))
            AddWholeRowsOneByOne(s.opaqueTotal, pixels, keys, x, sy,
                                 [](const std::uint8_t*, std::uint8_t k) { return k == 0 ? 1.0 : 0.0; });
        if (!AddWholeNumbers(s.keyedTotal, rows - opaque))
            AddWholeRowsOneByOne(s.keyedTotal, pixels, keys, x, sy,
                                 [](const std::uint8_t*, std::uint8_t k) { return k == 255 ? 1.0 : 0.0; });
        const std::uint64_t* totals[3] = {&strip->red[x], &strip->green[x], &strip->blue[x]};
        for (int ch = 0; ch < 3; ++ch) {
            if (AddWholeNumbers(s.sum[ch], *totals[ch])) continue;
            AddWholeRowsOneByOne(s.sum[ch], pixels, keys, x, sy, [ch](const std::uint8_t* c, std::uint8_t k) {
                return k == 0 ? static_cast<double>(c[2 - ch]) : 0.0;
            });
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

// Strips for the target rows being worked on, kept for the next ones.
class StripPool {
public:
    explicit StripPool(int width) : width_(width) {}
    std::unique_ptr<Strip> Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (free_.empty()) return std::make_unique<Strip>(width_);
        std::unique_ptr<Strip> strip = std::move(free_.back());
        free_.pop_back();
        return strip;
    }
    void Give(std::unique_ptr<Strip> strip) {
        std::lock_guard<std::mutex> lock(mutex_);
        free_.push_back(std::move(strip));
    }

private:
    int width_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Strip>> free_;
};

// Key sources that read the same raw values share one strip.
bool SameRawKeys(const KeySource& a, const KeySource& b) {
    const auto onMask = [](const KeySource& k) {
        return k.kind == KeySource::Kind::Mask || k.kind == KeySource::Kind::MaskKeyed;
    };
    if (onMask(a) || onMask(b)) return onMask(a) && onMask(b) && a.mask == b.mask;
    return a.kind == b.kind;
}

struct JobAxes {
    Axis columns;
    Axis rows;
};

// Target row j of one job: every pixel of it, in every target of the job.
void AverageRow(const CDib& source, const ResampleJob& job, const JobAxes& axes, int j, Strip& strip) {
    const Pixels pixels{source.Row(0), source.Stride()};
    const Span sy = axes.rows[j];
    const int width = job.targets[0].image->Width();
    for (int t = 0; t < job.count; ++t) {
        const ResampleTarget& target = job.targets[t];
        WithKeys(target.keys, source, [&](const auto& keys) {
            const bool fresh = t == 0 || !SameRawKeys(target.keys, job.targets[0].keys);
            if (fresh && sy.wholeFirst < sy.wholeStop)
                strip.Sum(pixels, keys, source.Width(), sy.wholeFirst, sy.wholeStop);
            for (int i = 0; i < width; ++i)
                WritePixel(SumFootprint(pixels, keys, &strip, axes.columns[i], sy), target, i, j);
        });
    }
}

}  // namespace

void AreaAverage(const CDib& source, const std::vector<ResampleJob>& jobs) {
    std::vector<JobAxes> axes;
    axes.reserve(jobs.size());
    // Rows of the smaller targets cover more source rows: handed out first, they
    // keep the cores evenly busy to the end.
    std::vector<std::pair<int, int>> rows;  // job, target row
    for (std::size_t n = 0; n < jobs.size(); ++n) {
        const CDib& image = *jobs[n].targets[0].image;
        axes.push_back({Axis(image.Width(), source.Width()), Axis(image.Height(), source.Height())});
        for (int j = 0; j < image.Height(); ++j) rows.emplace_back(static_cast<int>(n), j);
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
        return jobs[a.first].targets[0].image->Height() < jobs[b.first].targets[0].image->Height();
    });
    StripPool pool(source.Width());
    ParallelFor(static_cast<int>(rows.size()), [&](int r) {
        const auto [n, j] = rows[r];
        std::unique_ptr<Strip> strip = pool.Take();
        AverageRow(source, jobs[n], axes[n], j, *strip);
        pool.Give(std::move(strip));
    });
}

}  // namespace zentro
