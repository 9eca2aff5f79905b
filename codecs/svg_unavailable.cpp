// Builds without librsvg (Windows) know an SVG when they see one and refuse it.
#include "codecs/svg_decoder.h"
#include "platform/string_table.h"

namespace zentro::codecs {

unsigned DecodeSvg(const std::uint8_t*, std::size_t, std::shared_ptr<const VectorPicture>& vector) {
    vector.reset();
    return IDS_NO_SVG_IN_BUILD;
}

bool DrawsSvg() { return false; }

}  // namespace zentro::codecs
