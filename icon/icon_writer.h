#pragma once
// Writes the icon file: a 6-byte header, one 16-byte directory entry per image,
// then each image's header (height doubled), colour table, pixels and AND mask,
// or, for 32-bit images chosen so, the image as a PNG file.
#include <functional>
#include <string>
#include <vector>

#include "icon/icon_reader.h"
#include "image/dib.h"
#include "image/rgba_image.h"
#include "job/choices.h"
#include "job/image_store.h"
#include "platform/file.h"

namespace zentro {

constexpr std::uint32_t kIconHeaderSize = 6;
constexpr std::uint32_t kDirEntrySize = 16;

void SerializeDirEntry(const IconDirEntry& entry, std::uint8_t* bytes);

// Pass 0 fills and writes the directory entry, pass 1 the image record: the BMP
// form, or `png` when that is not empty.
void WriteIconImage(ByteSink& sink, IconDirEntry& entry, const CDib& image, const CDib& mask, int pass,
                    const std::vector<std::uint8_t>& png = {});

// Which 32-bit images are stored as PNG; every shallower one stays BMP.
enum class PngImages { None, Only256, All };
// Compresses pixels as a PNG file; false when it cannot. The core knows no PNG
// library, so whoever wants PNG images hands one in.
using PngEncoder = std::function<bool(const RgbaImage& image, std::vector<std::uint8_t>& png)>;
struct PngChoice {
    PngImages images = PngImages::None;
    PngEncoder encode;
};

// One image of an icon file: the picture and its AND mask, owned elsewhere.
struct IconImageRef {
    const CDib* image = nullptr;
    const CDib* mask = nullptr;
};
// The images that the store holds for these choices, in file order (the entry list's order).
std::vector<IconImageRef> IconImagesOf(const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes);

// The PNG form of each image in file order, empty for those that stay BMP.
using PngForms = std::vector<std::vector<std::uint8_t>>;
// False when an image could not be compressed (no memory).
bool MakePngForms(const std::vector<IconImageRef>& images, const PngChoice& png, PngForms& forms);
bool MakePngForms(const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes, const PngChoice& png,
                  PngForms& forms);

// Writes the whole icon of these images and returns its entries as a reader sees
// them; throws FileError when the sink fails.
std::vector<IconEntryInfo> WriteIcon(ByteSink& sink, const std::vector<IconImageRef>& images,
                                     const PngForms& pngForms = {});
std::vector<IconEntryInfo> WriteIcon(ByteSink& sink, const ImageStore& store, const FormatChoices& format,
                                     const SizeChoices& sizes, const PngForms& pngForms = {});

// Writes the icon to `path`, replacing the file only when every byte made it to
// the disk. Shows message 117 or 119 (105 when a PNG form could not be made) and
// returns false on failure. `written`, when given, receives the entries written.
bool WriteIconFile(const std::vector<IconImageRef>& images, const std::string& path, const PngChoice& png = {},
                   std::vector<IconEntryInfo>* written = nullptr);
bool WriteIconFile(const ImageStore& store, const std::string& path, const FormatChoices& format,
                   const SizeChoices& sizes, const PngChoice& png = {}, std::vector<IconEntryInfo>* written = nullptr);

}  // namespace zentro
