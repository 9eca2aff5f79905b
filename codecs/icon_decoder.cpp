#include "codecs/icon_decoder.h"

#include "codecs/png_decoder.h"
#include "icon/icon_reader.h"
#include "platform/string_table.h"

namespace zentro::codecs {

unsigned DecodeIcon(const std::uint8_t* data, std::size_t size, Picture& picture) {
    const IconFileInfo icon = ReadIconFile(data, size);
    const int chosen = LargestIconEntry(icon);
    if (chosen < 0) return IDS_CANNOT_READ;
    const IconEntryInfo& entry = icon.entries[static_cast<std::size_t>(chosen)];
    if (entry.format == IconImageFormat::Png)
        return DecodePng(data + entry.dir.imageOffset, entry.dir.bytesInResource, picture);
    // The reader has located and measured the entry, so what fails now is memory.
    return DecodeBmpIconEntry(data, size, entry, picture) ? 0u : static_cast<unsigned>(IDS_NO_DIB_MEMORY);
}

}  // namespace zentro::codecs
