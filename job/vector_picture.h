#pragma once
// A picture without pixels of its own (a vector drawing): it is drawn afresh at
// each size an icon asks for, so that small images are sharp, not averaged down.
#include <cstdint>
#include <string>
#include <vector>

#include "image/picture.h"

namespace zentro {

// The largest square a drawing is made for: the largest image of any platform's icons.
constexpr int kLargestDrawing = 1024;

class VectorPicture {
public:
    virtual ~VectorPicture() = default;
    // Draws the whole picture into a `size` x `size` square (1 to kLargestDrawing),
    // with its own alpha; 0 when `picture` holds the drawing, else the id of the
    // message that tells why not (103 cannot be drawn, 105 no memory). Shows no message.
    virtual unsigned Draw(int size, Picture& picture) const = 0;
    // The document as it was given (unpacked, when it came compressed), for outputs
    // that carry the drawing itself rather than pictures of it.
    virtual const std::vector<std::uint8_t>& Document() const = 0;
    // The files and addresses the drawing names outside itself. None is ever read,
    // so what they would add is missing from every size drawn.
    virtual std::vector<std::string> OutsideReferences() const { return {}; }
};

}  // namespace zentro
