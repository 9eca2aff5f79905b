#include "icon/icon_writer.h"

#include "image/image_set_builder.h"
#include "image/little_endian.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

void WriteIcon(ByteSink& sink, const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes) {
    const std::uint16_t count = static_cast<std::uint16_t>(store.entries.size());
    std::uint8_t header[kIconHeaderSize] = {0, 0};
    le::Put16(header + 2, 1);
    le::Put16(header + 4, count);
    sink.Write(header, sizeof header);

    // The same selection and order as the entry list, so the preview's order is the file's.
    const std::vector<std::uint8_t> order = ImageOrder(format, sizes, store.kind256);
    IconDirEntry entry;
    entry.imageOffset = kIconHeaderSize + kDirEntrySize * count;
    for (int pass = 0; pass < 2; ++pass)
        for (std::uint8_t code : order) WriteIconImage(sink, entry, store.EntryImage(code), store.EntryMask(code), pass);
}

bool WriteIconFile(const ImageStore& store, const std::string& path, const FormatChoices& format,
                   const SizeChoices& sizes) {
    ReplacingFile file;
    if (!file.Open(path)) {
        ShowMessage(IDS_CANNOT_CREATE, MessageIcon::Error);
        return false;
    }
    try {
        WriteIcon(file, store, format, sizes);
        file.Commit();
    } catch (const FileError&) {
        file.Discard();
        ShowMessage(IDS_CANNOT_WRITE, MessageIcon::Error);
        return false;
    }
    return true;
}

}  // namespace zentro
