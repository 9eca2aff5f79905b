#pragma once
// The area averaging behind CDib::Resample and the image set builder: one or two
// targets of one size at a time, from one 24-bit source, on every core.
#include <vector>

#include "image/dib.h"

namespace zentro {

// Where the key value of each source pixel comes from.
struct KeySource {
    enum class Kind {
        None,       // every pixel opaque (0)
        KeyColour,  // 255 where the pixel has the colour of the bottom-left pixel, else 0
        Mask,       // the values of `mask`, a key mask of the source's size
    };
    Kind kind = Kind::None;
    const CDib* mask = nullptr;
    // Mask: values other than 255 count as 0 (the plain mask under a smoothed one).
    bool keyedOnly = false;
    // Mask: 255 only where the source has the key colour, as the masks made from
    // this source by BuildKeyPlane hold it; the colours of all pixels may then be
    // added and the keyed ones' share taken off after.
    bool keyedMeansKeyColour = false;
};

// One target: image and 1-bit mask, both already created at the target size.
struct ResampleTarget {
    CDib* image = nullptr;
    CDib* mask = nullptr;
    int mode = 0;  // as for CDib::Resample
    KeySource keys;
    // Means rounded to the nearest byte rather than truncated, as CDib::Resample does.
    bool round = false;
};

// Targets of one size made together; targets reading one mask share its totals.
struct ResampleJob {
    ResampleTarget targets[2];
    int count = 0;
};

// Fills every pixel and mask bit of every target. Each target pixel is summed in
// the order the pixel-by-pixel definition gives, so the bytes do not depend on
// how the rows were shared out.
void AreaAverage(const CDib& source, const std::vector<ResampleJob>& jobs);

}  // namespace zentro
