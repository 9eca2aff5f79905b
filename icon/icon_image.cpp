// The parts of an icon file that each image contributes.
#include "icon/icon_writer.h"
#include "image/little_endian.h"

namespace zentro {

void CDib::FillDirEntry(IconDirEntry& entry, const CDib& mask) const {
    entry.planes = 1;
    entry.bitCount = header_.bitCount;
    entry.width = static_cast<std::uint8_t>(header_.width);
    entry.height = static_cast<std::uint8_t>(header_.height);
    entry.imageOffset += entry.bytesInResource;
    entry.bytesInResource = mask.GetImageSize() + GetImageSize() + GetPaletteSize() + kBitmapHeaderSize;
    entry.colourCount = 0;
    entry.reserved = 0;
}

void CDib::WriteImage(ByteSink& sink) const {
    if (header_.bitCount != 1) {
        BitmapHeader doubled = header_;
        doubled.height *= 2;
        std::uint8_t bytes[kBitmapHeaderSize];
        SerializeBitmapHeader(doubled, bytes);
        sink.Write(bytes, sizeof bytes);
        std::uint8_t table[1024];
        const std::uint32_t tableBytes = GetPaletteSize();
        for (std::uint32_t i = 0; i < tableBytes / 4; ++i) {
            table[4 * i] = colourTable_[i].blue;
            table[4 * i + 1] = colourTable_[i].green;
            table[4 * i + 2] = colourTable_[i].red;
            table[4 * i + 3] = colourTable_[i].reserved;
        }
        sink.Write(table, tableBytes);
    }
    sink.Write(pixels_.get(), GetImageSize());
}

void SerializeDirEntry(const IconDirEntry& entry, std::uint8_t* bytes) {
    bytes[0] = entry.width;
    bytes[1] = entry.height;
    bytes[2] = entry.colourCount;
    bytes[3] = entry.reserved;
    le::Put16(bytes + 4, entry.planes);
    le::Put16(bytes + 6, entry.bitCount);
    le::Put32(bytes + 8, entry.bytesInResource);
    le::Put32(bytes + 12, entry.imageOffset);
}

void WriteIconImage(ByteSink& sink, IconDirEntry& entry, const CDib& image, const CDib& mask, int pass,
                    const std::vector<std::uint8_t>& png) {
    if (pass == 0) {
        image.FillDirEntry(entry, mask);
        // A PNG image carries its own alpha and no mask; readers take its size from here.
        if (!png.empty()) entry.bytesInResource = static_cast<std::uint32_t>(png.size());
        std::uint8_t bytes[kDirEntrySize];
        SerializeDirEntry(entry, bytes);
        sink.Write(bytes, sizeof bytes);
    } else if (!png.empty()) {
        sink.Write(png.data(), png.size());
    } else {
        image.WriteImage(sink);
        mask.WriteImage(sink);
    }
}

}  // namespace zentro
