#pragma once
// What an SVG document names outside itself. The drawing never reads any of it, so
// whatever it would bring is left out; the user is told what.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentro::codecs {

// The files and addresses of the document's links (href, xlink:href), url(...)
// references in attributes and style sheets, @import rules and xml-stylesheet
// instructions; not those into the document itself ("#id") or that carry their own
// data ("data:"). Each once, in the order met; `text` is the document's XML.
std::vector<std::string> SvgOutsideReferences(const std::uint8_t* text, std::size_t size);

}  // namespace zentro::codecs
