#include "codecs/icon_decoder.h"

#include "codecs/png_decoder.h"
#include "icon/icon_reader.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

unsigned DecodeEntry(const std::uint8_t* data, std::size_t size, const IconEntryInfo& entry, Picture& picture) {
    if (entry.format == IconImageFormat::Png)
        return DecodePng(data + entry.dir.imageOffset, entry.dir.bytesInResource, picture);
    // The reader has located and measured the entry, so what fails now is memory.
    return DecodeBmpIconEntry(data, size, entry, picture) ? 0u : static_cast<unsigned>(IDS_NO_DIB_MEMORY);
}

}  // namespace

unsigned DecodeIconImages(const std::uint8_t* data, std::size_t size, std::vector<Picture>& pictures) {
    const IconFileInfo icon = ReadIconFile(data, size);
    const std::vector<int> chosen = DeepestIconEntries(icon);
    if (chosen.empty()) return IDS_CANNOT_READ;
    for (int k : chosen) {
        Picture picture;
        if (const unsigned id = DecodeEntry(data, size, icon.entries[static_cast<std::size_t>(k)], picture)) return id;
        pictures.push_back(std::move(picture));
    }
    return 0;
}

}  // namespace zentro::codecs
