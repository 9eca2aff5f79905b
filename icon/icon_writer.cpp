#include "icon/icon_writer.h"

#include "image/little_endian.h"
#include "job/image_set_builder.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

std::vector<IconImageRef> IconImagesOf(const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes) {
    // The same selection and order as the entry list, so the preview's order is the file's.
    std::vector<IconImageRef> images;
    for (std::uint8_t code : ImageOrder(format, sizes, store.kind256))
        images.push_back({&store.EntryImage(code), &store.EntryMask(code)});
    return images;
}

bool MakePngForms(const std::vector<IconImageRef>& images, const PngChoice& png, PngForms& forms) {
    forms.assign(images.size(), {});
    if (png.images == PngImages::None || !png.encode) return true;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const CDib& image = *images[i].image;
        if (image.BitCount() != 32 || (png.images == PngImages::Only256 && image.Width() != 256)) continue;
        RgbaImage rgba;
        if (!RgbaFrom32(image, rgba) || !png.encode(rgba, forms[i])) return false;
    }
    return true;
}

bool MakePngForms(const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes, const PngChoice& png,
                  PngForms& forms) {
    return MakePngForms(IconImagesOf(store, format, sizes), png, forms);
}

std::vector<IconEntryInfo> WriteIcon(ByteSink& sink, const std::vector<IconImageRef>& images,
                                     const PngForms& pngForms) {
    const std::uint16_t count = static_cast<std::uint16_t>(images.size());
    std::uint8_t header[kIconHeaderSize] = {0, 0};
    le::Put16(header + 2, 1);
    le::Put16(header + 4, count);
    sink.Write(header, sizeof header);

    const std::vector<std::uint8_t> none;
    std::vector<IconEntryInfo> written;
    IconDirEntry entry;
    entry.imageOffset = kIconHeaderSize + kDirEntrySize * count;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < images.size(); ++i) {
            const CDib& image = *images[i].image;
            const std::vector<std::uint8_t>& png = i < pngForms.size() ? pngForms[i] : none;
            WriteIconImage(sink, entry, image, *images[i].mask, pass, png);
            if (pass == 0)
                written.push_back({entry, png.empty() ? IconImageFormat::Bmp : IconImageFormat::Png, image.Width(),
                                   image.Height(), image.BitCount(), true});
        }
    }
    return written;
}

std::vector<IconEntryInfo> WriteIcon(ByteSink& sink, const ImageStore& store, const FormatChoices& format,
                                     const SizeChoices& sizes, const PngForms& pngForms) {
    return WriteIcon(sink, IconImagesOf(store, format, sizes), pngForms);
}

bool WriteIconFile(const std::vector<IconImageRef>& images, const std::string& path, const PngChoice& png,
                   std::vector<IconEntryInfo>* written) {
    // Compressed before the file is opened, so that a lack of memory leaves nothing behind.
    PngForms forms;
    if (!MakePngForms(images, png, forms)) {
        ShowMessage(IDS_NO_DIB_MEMORY, MessageIcon::Error);
        return false;
    }
    ReplacingFile file;
    if (!file.Open(path)) {
        ShowMessageAbout(path, IDS_CANNOT_CREATE, MessageIcon::Error, {FailureReason(file.Failure(), true)});
        return false;
    }
    try {
        GatheringSink gathered(file);
        std::vector<IconEntryInfo> entries = WriteIcon(gathered, images, forms);
        gathered.Flush();
        file.Commit();
        if (written != nullptr) *written = std::move(entries);
    } catch (const FileError& error) {
        file.Discard();
        ShowMessageAbout(path, IDS_CANNOT_WRITE, MessageIcon::Error, {FailureReason(error.Failure(), true)});
        return false;
    }
    return true;
}

bool WriteIconFile(const ImageStore& store, const std::string& path, const FormatChoices& format,
                   const SizeChoices& sizes, const PngChoice& png, std::vector<IconEntryInfo>* written) {
    return WriteIconFile(IconImagesOf(store, format, sizes), path, png, written);
}

}  // namespace zentro
