#include "image/dib.h"

namespace zentro {

bool CDib::ComposePreview(CDib& preview, const CDib& mask) const {
    if (!preview.Create(Width(), Height(), 24)) return false;
    static const std::uint8_t kWhite[3] = {255, 255, 255};
    for (int x = 0; x < Width(); ++x) {
        for (int y = 0; y < Height(); ++y) {
            if (mask.GetMaskBit(x, y) != 0) {
                preview.SetPixel(x, y, kWhite);
                continue;
            }
            std::uint8_t colour[3];
            GetPixel(x, y, colour);
            if (BitCount() == 32) {
                // Blend onto white; the result stays within 255 - alpha .. 255.
                int alpha = PixelPtr32(x, y)[3];
                for (std::uint8_t& c : colour) c = static_cast<std::uint8_t>(c * alpha / 255 + 255 - alpha);
            }
            preview.SetPixel(x, y, colour);
        }
    }
    return true;
}

}  // namespace zentro
