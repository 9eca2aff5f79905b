// Every target pixel is the mean colour of the source area it covers, weighted by
// how much of each source pixel lies inside it, with the key deciding which part
// of that area counts as opaque.
//
// The icon bytes must be identical on every machine and to the pixel-by-pixel
// definition, so the order of the floating-point operations is part of the
// result: columns outer, rows inner; w = column factor x row factor;
// t = (k * w) * (1/255). Two shortcuts give the same doubles with less work:
// a pixel with key 0 adds w to the opaque total and nothing to the keyed total
// (t is +0); and where every weight of a footprint is 1 and every key 0 or 255,
// every term is a whole number, so the sums are exact in any order and are
// taken in integers, row by row.
#include "image/area_average.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "image/key_values.h"
#include "image/parallel_for.h"

namespace zentro {

namespace {

// The double nearest to 1/255; a division by 255 would give other bytes.
constexpr double kOneOver255 = 1.0 / 255.0;

// The source pixels under each target pixel along one axis, with their weights.
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
            first_.push_back(first);
            stop_.push_back(stop);
            offset_.push_back(weights_.size());
            bool whole = true;
            for (int index = first; index < stop; ++index) {
                double w = 1.0;
                CDib::EdgeWeight(w, index, first, start, stop, end);
                weights_.push_back(w);
                whole = whole && w == 1.0;
            }
            whole_.push_back(whole);
        }
    }
    int First(int i) const { return first_[i]; }
    int Stop(int i) const { return stop_[i]; }
    // The weight of source index First(i) + k.
    const double* Weights(int i) const { return weights_.data() + offset_[i]; }
    bool Whole(int i) const { return whole_[i]; }

private:
    std::vector<int> first_, stop_;
    std::vector<std::size_t> offset_;
    std::vector<double> weights_;
    std::vector<bool> whole_;
};

struct Span {
    int first;
    int stop;
    const double* weights;
    bool whole;
};

Span SpanOf(const Axis& axis, int i) { return {axis.First(i), axis.Stop(i), axis.Weights(i), axis.Whole(i)}; }

struct Pixels {
    const std::uint8_t* base;  // stored row 0 of a 24-bit picture
    std::size_t stride;
    const std::uint8_t* At(int x, int y) const { return base + y * stride + 3 * static_cast<std::size_t>(x); }
};

// Key value policies: Raw gives what the source holds, Key the value that counts.
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
    bool keyedOnly;
    std::uint8_t Raw(const std::uint8_t*, int x, int y) const { return base[y * stride + x * step]; }
    std::uint8_t Key(std::uint8_t raw) const { return keyedOnly && raw != 255 ? 0 : raw; }
};

struct AreaSums {
    double sum[3] = {0.0, 0.0, 0.0};  // red, green, blue
    double opaqueTotal = 0.0;
    double keyedTotal = 0.0;
    bool fullyKeyed = true;
};

bool IsPartial(std::uint8_t raw) { return raw != 0 && raw != 255; }

// The definition itself, term by term in its order.
template <class Keys>
AreaSums SumWeighted(const Pixels& source, const Span& sx, const Span& sy, const Keys& keys, bool& partialSeen) {
    AreaSums s;
    for (int x = sx.first; x < sx.stop; ++x) {
        const double wx = sx.weights[x - sx.first];
        for (int y = sy.first; y < sy.stop; ++y) {
            const double w = wx * sy.weights[y - sy.first];
            const std::uint8_t* c = source.At(x, y);
            const std::uint8_t raw = keys.Raw(c, x, y);
            if (Keys::kMayBePartial && IsPartial(raw)) partialSeen = true;
            const std::uint8_t k = keys.Key(raw);
            if (k == 0) {
                s.opaqueTotal += w;
                s.fullyKeyed = false;
                s.sum[0] += c[2] * w;
                s.sum[1] += c[1] * w;
                s.sum[2] += c[0] * w;
                continue;
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
            s.sum[0] += c[2] * o;
            s.sum[1] += c[1] * o;
            s.sum[2] += c[0] * o;
        }
    }
    return s;
}

// Every weight 1: a key-0 pixel adds its colour and 1 to the opaque total, a key-255
// pixel adds (255 * 1) * (1/255) = 1 to the keyed total and 0 elsewhere. False,
// with `s` unusable, at the first partial key: those terms are not whole numbers.
template <class Keys>
bool SumWholePixels(const Pixels& source, const Span& sx, const Span& sy, const Keys& keys, bool& partialSeen,
                    AreaSums& s) {
    std::uint64_t sum[3] = {0, 0, 0};
    std::uint64_t opaque = 0;
    std::uint64_t keyed = 0;
    for (int y = sy.first; y < sy.stop; ++y) {
        const std::uint8_t* c = source.At(sx.first, y);
        for (int x = sx.first; x < sx.stop; ++x, c += 3) {
            const std::uint8_t raw = keys.Raw(c, x, y);
            if (Keys::kMayBePartial && IsPartial(raw)) partialSeen = true;
            const std::uint8_t k = keys.Key(raw);
            if (k == 0) {
                sum[0] += c[2];
                sum[1] += c[1];
                sum[2] += c[0];
                ++opaque;
            } else if (k == 255) {
                ++keyed;
            } else {
                return false;
            }
        }
    }
    for (int i = 0; i < 3; ++i) s.sum[i] = static_cast<double>(sum[i]);
    s.opaqueTotal = static_cast<double>(opaque);
    s.keyedTotal = static_cast<double>(keyed);
    s.fullyKeyed = opaque == 0;
    return true;
}

template <class Keys>
AreaSums SumFootprint(const Pixels& source, const Span& sx, const Span& sy, const Keys& keys, bool& partialSeen) {
    AreaSums s;
    if (sx.whole && sy.whole && SumWholePixels(source, sx, sy, keys, partialSeen, s)) return s;
    return SumWeighted(source, sx, sy, keys, partialSeen);
}

template <class Visit>
AreaSums SumWith(const KeySource& keys, const CDib& source, const Visit& visit) {
    switch (keys.kind) {
        case KeySource::Kind::None:
            return visit(NoKeys{});
        case KeySource::Kind::KeyColour:
            return visit(ColourKeys{source.Row(0)});
        default: {
            const CDib& mask = *keys.mask;
            return visit(MaskKeys{KeyValueRow(mask, 0), mask.Stride(), KeyValueStep(mask),
                                  keys.kind == KeySource::Kind::MaskKeyed});
        }
    }
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

bool SharesFootprints(const ResampleJob& job) {
    return job.count == 2 && job.targets[0].keys.kind == KeySource::Kind::MaskKeyed &&
           job.targets[1].keys.kind == KeySource::Kind::Mask && job.targets[0].keys.mask == job.targets[1].keys.mask;
}

struct JobAxes {
    Axis columns;
    Axis rows;
};

// Target row j of one job: every pixel of it, in every target of the job.
void AverageRow(const CDib& source, const ResampleJob& job, const JobAxes& axes, int j) {
    const Pixels pixels{source.Row(0), source.Stride()};
    const Span sy = SpanOf(axes.rows, j);
    const int width = job.targets[0].image->Width();
    const bool shared = SharesFootprints(job);
    for (int i = 0; i < width; ++i) {
        const Span sx = SpanOf(axes.columns, i);
        bool partialSeen = false;
        AreaSums sums;
        for (int t = 0; t < job.count; ++t) {
            const ResampleTarget& target = job.targets[t];
            // Without partial keys under it, the smoothed mask gives this footprint the plain mask's sums.
            if (t == 0 || !shared || partialSeen) {
                sums = SumWith(target.keys, source,
                               [&](const auto& keys) { return SumFootprint(pixels, sx, sy, keys, partialSeen); });
            }
            WritePixel(sums, target, i, j);
        }
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
    ParallelFor(static_cast<int>(rows.size()), [&](int r) {
        const auto [n, j] = rows[r];
        AverageRow(source, jobs[n], axes[n], j);
    });
}

}  // namespace zentro
