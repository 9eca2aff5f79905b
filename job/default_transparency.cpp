#include "job/default_transparency.h"

#include "image/alpha_plane.h"
#include "image/colour_key.h"

namespace zentro {

bool TransparentByDefault(const ImageStore& store) {
    if (store.sourceAlpha.HasPicture() && HasTransparency(store.sourceAlpha)) return true;
    return CornersShareColour(store.source);
}

}  // namespace zentro
