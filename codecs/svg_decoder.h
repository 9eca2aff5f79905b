#pragma once
// SVG documents (and gzip-compressed .svgz) as vector pictures, drawn afresh at
// each size. Loaded from memory with no base file: a document can name other
// files or addresses, but none is ever opened.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "job/vector_picture.h"

namespace zentro::codecs {

// 0 when `vector` holds the parsed document, else the id of the message that
// tells why not (103 not a readable SVG, 105 too large or no memory, 132 a build
// without SVG support); `vector` is then null. Shows no message.
unsigned DecodeSvg(const std::uint8_t* data, std::size_t size, std::shared_ptr<const VectorPicture>& vector);

// Whether this build draws SVG at all.
bool DrawsSvg();

}  // namespace zentro::codecs
