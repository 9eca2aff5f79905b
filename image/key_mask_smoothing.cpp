#include "image/dib.h"

namespace zentro {

namespace {

constexpr std::uint8_t kKeyed = 255;

// Pass 0 runs along the stored rows, pass 1 along the columns.
int ColumnOf(int position, int line, std::uint8_t pass) { return pass == 0 ? position : line; }
int RowOf(int position, int line, std::uint8_t pass) { return pass == 0 ? line : position; }

}  // namespace

bool CDib::IsKeyState(int position, int line, std::uint8_t pass, bool keyed) const {
    int x = ColumnOf(position, line, pass);
    int y = RowOf(position, line, pass);
    // Beyond the border the outline may go either way, so it answers yes to both questions.
    if (x < 0 || x >= Width() || y < 0 || y >= Height()) return true;
    return (PixelPtr24(x, y)[2] == kKeyed) == keyed;
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
        std::uint8_t* pixel = PixelPtr24(ColumnOf(p, line, pass), RowOf(p, line, pass));
        if (pixel[2] < value) {
            pixel[0] = 0;
            pixel[1] = 0;
            pixel[2] = static_cast<std::uint8_t>(value);
        }
    }
}

void CDib::SmoothKeyMask(std::uint8_t pass) {
    int length = pass == 0 ? Width() : Height();
    int lines = pass == 0 ? Height() : Width();
    auto keyedAt = [&](int p, int l) { return IsKeyState(p, l, pass, true); };
    auto unkeyedAt = [&](int p, int l) { return IsKeyState(p, l, pass, false); };

    for (int l = 0; l < lines; ++l) {
        int start = -1;
        bool afterKeyed = false;
        int d = 1;
        bool corner = false;
        // The position past the end of the line takes part: it closes runs that reach the border.
        for (int p = 0; p <= length; ++p) {
            if (start < 0) {
                if (!unkeyedAt(p, l)) continue;
                afterKeyed = keyedAt(p - 1, l);
                bool cornerHere = false;
                if (IsRampStart(p, l, true, afterKeyed, pass, cornerHere)) {
                    start = p;
                    d = 1;
                    corner = cornerHere;
                } else if (IsRampStart(p, l, false, afterKeyed, pass, cornerHere)) {
                    start = p;
                    d = -1;
                    corner = cornerHere;
                }
                continue;
            }
            if (keyedAt(p, l)) {
                if (!afterKeyed) {
                    WriteRamp(l, start, p, false, pass);
                } else if (!(corner && keyedAt(p, l + d))) {
                    // Keyed at both ends of the run: a V, fading in from either side.
                    int mid = start + (p - start) / 2;
                    WriteRamp(l, start, mid, true, pass);
                    WriteRamp(l, mid, p, false, pass);
                }
                start = -1;
            } else if (afterKeyed) {
                if (unkeyedAt(p, l - d)) {
                    WriteRamp(l, start, p, true, pass);
                    start = -1;
                }
            } else if (unkeyedAt(p, l - 1) && unkeyedAt(p, l + 1)) {
                start = -1;
            }
        }
    }
}

}  // namespace zentro
