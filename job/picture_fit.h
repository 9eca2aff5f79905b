#pragma once
// How a picture of any shape makes a square icon image, and which sizes it can
// make without being enlarged.
#include "image/dib.h"
#include "job/conversion_rules.h"

namespace zentro {

// Where a picture's content lies in the square: `top` counts rows from the top.
struct SquarePlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const SquarePlace&) const = default;
};

// Padded, the longer side fills the square and the shorter one is scaled alike
// (rounded, at least 1 pixel), centred (the odd pixel of margin below or to the
// right); stretched, the picture fills the whole square.
SquarePlace PlaceInSquare(int width, int height, int size, Fit fit);

// The side of a picture that must reach a size for the picture to make it without
// being enlarged: the longer one padded, the shorter one stretched.
int FittingSide(const CDib& picture, Fit fit);

// Copies `content` (24 or 32 bits) and its 1-bit mask into `image` and `mask`, the
// square of `place`, which are created here; every pixel outside is black, clear
// (alpha 0) and transparent in the mask. False when a bitmap cannot be created.
bool PutInSquare(const CDib& content, const CDib& contentMask, const SquarePlace& place, int size, CDib& image,
                 CDib& mask);

}  // namespace zentro
