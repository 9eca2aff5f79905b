#pragma once
// A rectangle in a window's pixels, as the pages pass one around.

namespace zentro {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    // The rectangle nobody has set yet.
    bool IsNull() const { return width == 0 && height == 0; }
    bool operator==(const Rect&) const = default;
};

}  // namespace zentro
