#pragma once
// The byte-identity suite is frozen as it was recorded, includes and all; it
// still names the builder at its earlier place in the tree.
#include "job/image_set_builder.h"
