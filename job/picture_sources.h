#pragma once
// The pictures one icon is made from, as they were given: raster pictures (an
// icon file brings each of its images) and at most one vector picture.
#include <memory>
#include <vector>

#include "image/picture.h"
#include "job/vector_picture.h"

namespace zentro {

struct PictureSources {
    // In the order given: among pictures equally fit for a size, the first wins.
    std::vector<Picture> rasters;
    // Drawn at every size no raster has exactly; null when none was given.
    std::shared_ptr<const VectorPicture> vector;
};

}  // namespace zentro
