#include "image/dib.h"

namespace zentro {

bool CDib::BuildKeyMask(CDib& keyMask, int keyMode) const {
    if (!keyMask.Create(Width(), Height(), 24)) return false;
    // Create hands back all-zero pixels, row padding included: with the key off nothing is keyed.
    if (keyMode == 0) return true;

    std::uint8_t key[3];
    GetPixel(0, 0, key);
    for (int x = 0; x < Width(); ++x) {
        for (int y = 0; y < Height(); ++y) {
            std::uint8_t colour[3];
            GetPixel(x, y, colour);
            bool keyed = colour[0] == key[0] && colour[1] == key[1] && colour[2] == key[2];
            const std::uint8_t value[3] = {static_cast<std::uint8_t>(keyed ? 255 : 0), 0, 0};
            keyMask.SetPixel(x, y, value);
        }
    }
    if (keyMode == 2) {
        keyMask.SmoothKeyMask(0);
        keyMask.SmoothKeyMask(1);
    }
    return true;
}

}  // namespace zentro
