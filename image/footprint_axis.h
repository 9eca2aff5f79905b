#pragma once
// Where each target pixel's footprint lies along one axis of the source: the
// source pixels it covers, the weight of each, and the stretch of whole ones.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "image/dib.h"

namespace zentro::averaging {

// Strips count in 32 bits, and 255 x kMaxWholeRun stays below 2^32.
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

}  // namespace zentro::averaging
