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

#include "image/column_sums.h"
#include "image/footprint_axis.h"
#include "image/footprint_sums.h"
#include "image/key_policies.h"
#include "image/parallel_for.h"
#include "image/target_pixel.h"
#include "platform/usable_cores.h"

namespace zentro {

namespace {

using namespace averaging;

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
