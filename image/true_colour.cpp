#include "image/true_colour.h"

namespace zentro {

const CDib* TrueColour(const CDib& picture, CDib& copy) {
    if (picture.BitCount() == 24) return &picture;
    if (!copy.Create(picture.Width(), picture.Height(), 24)) return nullptr;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            std::uint8_t colour[3];
            picture.GetPixel(x, y, colour);
            copy.SetPixel(x, y, colour);
        }
    }
    return &copy;
}

}  // namespace zentro
