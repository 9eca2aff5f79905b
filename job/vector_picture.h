#pragma once
// A picture without pixels of its own (a vector drawing): it is drawn afresh at
// each size an icon asks for, so that small images are sharp, not averaged down.
#include "image/picture.h"

namespace zentro {

class VectorPicture {
public:
    virtual ~VectorPicture() = default;
    // Draws the whole picture into a `size` x `size` square (1 to 256), with its
    // own alpha; 0 when `picture` holds the drawing, else the id of the message
    // that tells why not (103 cannot be drawn, 105 no memory). Shows no message.
    virtual unsigned Draw(int size, Picture& picture) const = 0;
};

}  // namespace zentro
