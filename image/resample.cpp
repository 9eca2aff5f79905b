// Area-averaging resampler: CDib::Resample makes one image and its mask; the
// averaging itself is in area_average.cpp, shared with the image set builder.
#include <new>

#include "image/area_average.h"
#include "image/true_colour.h"

namespace zentro {

void CDib::EdgeWeight(double& weight, int index, int first, double startEdge, int end, double endEdge) {
    if (index == first) {
        weight *= 1.0 - startEdge + first;
    } else if (index == end - 1) {
        weight *= 1.0 - end + endEdge;
    }
}

bool CDib::Resample(CDib& target, int width, int height, int mode, const CDib& keyMask, CDib& targetMask) const {
    if (!target.Create(width, height, mode == 2 ? 32 : 24)) return false;
    if (!targetMask.Create(width, height, 1)) return false;
    try {
        CDib copy;
        const CDib* source = TrueColour(*this, copy);
        if (source == nullptr) return false;
        ResampleJob job;
        job.targets[0] = {&target, &targetMask, mode, {KeySource::Kind::Mask, &keyMask}};
        job.count = 1;
        AreaAverage(*source, {job});
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // the averaging's working rows could not be had
    }
}

}  // namespace zentro
