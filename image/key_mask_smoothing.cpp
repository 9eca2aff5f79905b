// Edge smoothing of a key mask: ramps of partial transparency across the steps of
// the keyed outline, line by line.
//
// Whether a position is keyed (value 255) never changes while smoothing: ramps are
// at most 254 and only ever raise the values of unkeyed positions. So every
// decision depends on the unsmoothed outline alone, lines do not depend on each
// other, and a position can only open a run where the two neighbouring lines
// differ there. The scans below jump over all other positions, and the column pass
// walks all columns together, row by row, so that it reads memory in order.
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
            if (run.start < 0) {
                // A run that would open past the end of the row ends with it, unwritten.
                while (x < width) {
                    const std::size_t at = x * step;
                    if (MayOpenRun(here[at], below ? below + at : nullptr, above ? above + at : nullptr)) break;
                    ++x;
                }
                if (x == width) break;
            }
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
        const std::uint8_t* row = KeyValueRow(mask, y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* left = x > 0 ? row + (x - 1) * step : nullptr;
            const std::uint8_t* right = x + 1 < width ? row + (x + 1) * step : nullptr;
            if (steppedAt[x] == y || !MayOpenRun(row[x * step], left, right)) continue;
            if (Step(mask, runs[x], y, x, 1)) open.push_back(x);
        }
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
