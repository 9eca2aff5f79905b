// Edge smoothing of a key mask: ramps of partial transparency across the steps of
// the keyed outline, line by line.
//
// Whether a position is keyed (value 255) never changes while smoothing: ramps are
// at most 254 and only ever raise the values of unkeyed positions. So every
// decision depends on the unsmoothed outline alone, lines do not depend on each
// other, and a position can only open a run where the two neighbouring lines
// differ there. The scans below jump over all other positions, and the column pass
// walks all columns together, row by row, so that it reads memory in order.
#include <bit>
#include <cstring>
#include <vector>

#include "image/key_values.h"

namespace zentro {

namespace {

constexpr std::uint8_t kKeyed = 255;

// Pass 0 runs along the stored rows, pass 1 along the columns.
int ColumnOf(int position, int line, std::uint8_t pass) { return pass == 0 ? position : line; }
int RowOf(int position, int line, std::uint8_t pass) { return pass == 0 ? line : position; }

// The scan state of one line.
struct Run {
    int start = -1;  // -1: no run open
    bool afterKeyed = false;
    int side = 1;
    bool corner = false;
};

// One position of the scan of one line; true when a run is open afterwards.
bool Step(CDib& mask, Run& run, int p, int l, std::uint8_t pass) {
    const auto keyedAt = [&](int position, int line) { return mask.IsKeyState(position, line, pass, true); };
    const auto unkeyedAt = [&](int position, int line) { return mask.IsKeyState(position, line, pass, false); };
    if (run.start < 0) {
        if (!unkeyedAt(p, l)) return false;
        run.afterKeyed = keyedAt(p - 1, l);
        bool corner = false;
        if (mask.IsRampStart(p, l, true, run.afterKeyed, pass, corner)) {
            run = {p, run.afterKeyed, 1, corner};
        } else if (mask.IsRampStart(p, l, false, run.afterKeyed, pass, corner)) {
            run = {p, run.afterKeyed, -1, corner};
        }
        return run.start >= 0;
    }
    if (keyedAt(p, l)) {
        if (!run.afterKeyed) {
            mask.WriteRamp(l, run.start, p, false, pass);
        } else if (!(run.corner && keyedAt(p, l + run.side))) {
            // Keyed at both ends of the run: a V, fading in from either side.
            const int mid = run.start + (p - run.start) / 2;
            mask.WriteRamp(l, run.start, mid, true, pass);
            mask.WriteRamp(l, mid, p, false, pass);
        }
        run.start = -1;
    } else if (run.afterKeyed) {
        if (unkeyedAt(p, l - run.side)) {
            mask.WriteRamp(l, run.start, p, true, pass);
            run.start = -1;
        }
    } else if (unkeyedAt(p, l - 1) && unkeyedAt(p, l + 1)) {
        run.start = -1;
    }
    return run.start >= 0;
}

// Where a run may open: an unkeyed position whose neighbouring lines are keyed on one
// side and unkeyed on the other. A missing neighbour line is outside, which counts
// as both. before/after are those lines' key values at this position, or null.
bool MayOpenRun(std::uint8_t here, const std::uint8_t* before, const std::uint8_t* after) {
    if (here == kKeyed) return false;
    if (before == nullptr || after == nullptr) return true;
    return (*before == kKeyed) != (*after == kKeyed);
}

// Bit 7 of each byte of the result is set exactly where that byte of v is 255.
std::uint64_t KeyedBytes(std::uint64_t v) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t t = ~v;  // keyed bytes become 0
    return ~(((t & kLow7) + kLow7) | t | kLow7);
}

std::uint64_t Load8(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The first position in [from, to) where a run may open, or `to`. Positions are
// `step` bytes apart in here, before and after (the neighbouring lines, null when
// outside). Masks of one byte per value are searched eight positions at a time.
int NextRunStart(const std::uint8_t* here, const std::uint8_t* before, const std::uint8_t* after, std::size_t step,
                 int from, int to) {
    int p = from;
    if (step == 1 && before != nullptr && after != nullptr && std::endian::native == std::endian::little) {
        for (; p + 8 <= to; p += 8) {
            const std::uint64_t open = ~KeyedBytes(Load8(here + p)) &
                                       (KeyedBytes(Load8(before + p)) ^ KeyedBytes(Load8(after + p))) &
                                       0x8080808080808080ull;
            if (open != 0) return p + std::countr_zero(open) / 8;
        }
    }
    for (; p < to; ++p) {
        const std::size_t at = p * step;
        if (MayOpenRun(here[at], before ? before + at : nullptr, after ? after + at : nullptr)) return p;
    }
    return to;
}

// Pass 0: each stored row from left to right.
void SmoothRows(CDib& mask) {
    const int width = mask.Width();
    const int height = mask.Height();
    const std::size_t step = KeyValueStep(mask);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* here = KeyValueRow(mask, y);
        const std::uint8_t* below = y > 0 ? KeyValueRow(mask, y - 1) : nullptr;
        const std::uint8_t* above = y + 1 < height ? KeyValueRow(mask, y + 1) : nullptr;
        Run run;
        for (int x = 0; x <= width; ++x) {
            // A run that would open past the end of the row ends with it, unwritten.
            if (run.start < 0 && (x = NextRunStart(here, below, above, step, x, width)) == width) break;
            Step(mask, run, x, y, 0);
        }
    }
}

// Pass 1: every column from the bottom up, all columns advancing one row at a time.
void SmoothColumns(CDib& mask) {
    const int width = mask.Width();
    const int height = mask.Height();
    const std::size_t step = KeyValueStep(mask);
    std::vector<Run> runs(width);
    std::vector<int> open, stillOpen;
    // The row at which a column last took a step: a position where a run closed
    // does not open the next one.
    std::vector<int> steppedAt(width, -1);
    for (int y = 0; y <= height; ++y) {
        stillOpen.clear();
        for (int x : open) {
            steppedAt[x] = y;
            if (Step(mask, runs[x], y, x, 1)) stillOpen.push_back(x);
        }
        open.swap(stillOpen);
        if (y == height) break;
        // Along a row, the neighbouring lines of column x are columns x - 1 and x + 1;
        // the first and last column have one outside.
        const std::uint8_t* row = KeyValueRow(mask, y);
        const auto tryColumn = [&](int x) {
            if (steppedAt[x] != y && Step(mask, runs[x], y, x, 1)) open.push_back(x);
        };
        if (MayOpenRun(row[0], nullptr, nullptr)) tryColumn(0);
        for (int x = 1; (x = NextRunStart(row, row - step, row + step, step, x, width - 1)) < width - 1; ++x)
            tryColumn(x);
        if (width > 1 && MayOpenRun(row[(width - 1) * step], nullptr, nullptr)) tryColumn(width - 1);
    }
}

}  // namespace

bool CDib::IsKeyState(int position, int line, std::uint8_t pass, bool keyed) const {
    int x = ColumnOf(position, line, pass);
    int y = RowOf(position, line, pass);
    // Beyond the border the outline may go either way, so it answers yes to both questions.
    if (x < 0 || x >= Width() || y < 0 || y >= Height()) return true;
    return (KeyValueRow(*this, y)[x * KeyValueStep(*this)] == kKeyed) == keyed;
}

bool CDib::IsRampStart(int position, int line, bool up, bool afterKeyed, std::uint8_t pass, bool& corner) const {
    int d = up ? 1 : -1;
    int s = afterKeyed ? -1 : 1;
    auto keyedAt = [&](int p, int l) { return IsKeyState(p, l, pass, true); };
    auto unkeyedAt = [&](int p, int l) { return IsKeyState(p, l, pass, false); };
    corner = afterKeyed && keyedAt(position - 1, line + d);
    return keyedAt(position + s, line - d) && keyedAt(position, line - d) && unkeyedAt(position - s, line + d) &&
           unkeyedAt(position, line + d);
}

void CDib::WriteRamp(int line, int from, int to, bool falling, std::uint8_t pass) {
    int n = to - from;
    for (int p = from; p < to; ++p) {
        int k = p - from;
        int numerator = falling ? n - k : k + 1;
        // At most 254: a ramp never turns a position into a keyed one.
        int value = numerator * 255 / (n + 1);
        const std::size_t step = KeyValueStep(*this);
        std::uint8_t* key = KeyValueRow(*this, RowOf(p, line, pass)) + ColumnOf(p, line, pass) * step;
        if (*key >= value) continue;
        *key = static_cast<std::uint8_t>(value);
        if (step == 3) key[-1] = key[-2] = 0;  // green and blue of a 24-bit mask
    }
}

void CDib::SmoothKeyMask(std::uint8_t pass) {
    if (pass == 0) {
        SmoothRows(*this);
    } else {
        SmoothColumns(*this);
    }
}

}  // namespace zentro
