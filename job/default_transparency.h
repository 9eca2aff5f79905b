#pragma once
// The transparency a picture gets when nobody says otherwise, the same for the
// command line and the wizard.
#include "job/image_store.h"

namespace zentro {

// By the picture's own alpha when that is below 255 somewhere, else when its
// corners share the key colour.
bool TransparentByDefault(const ImageStore& store);

}  // namespace zentro
