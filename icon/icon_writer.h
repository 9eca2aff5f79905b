#pragma once
// Writes the icon file: a 6-byte header, one 16-byte directory entry per image,
// then each image's header (height doubled), colour table, pixels and AND mask.
#include <string>

#include "app/choices.h"
#include "app/image_store.h"
#include "image/dib.h"
#include "platform/file.h"

namespace zentro {

constexpr std::uint32_t kIconHeaderSize = 6;
constexpr std::uint32_t kDirEntrySize = 16;

void SerializeDirEntry(const IconDirEntry& entry, std::uint8_t* bytes);

// Pass 0 fills and writes the directory entry, pass 1 the image record.
void WriteIconImage(ByteSink& sink, IconDirEntry& entry, const CDib& image, const CDib& mask, int pass);

// Writes the whole icon of what the image store holds for these choices;
// throws FileError when the sink fails.
void WriteIcon(ByteSink& sink, const ImageStore& store, const FormatChoices& format, const SizeChoices& sizes);

// Writes the icon to `path`, replacing the file only when every byte made it to
// the disk. Shows message 117 or 119 and returns false on failure.
bool WriteIconFile(const ImageStore& store, const std::string& path, const FormatChoices& format,
                   const SizeChoices& sizes);

}  // namespace zentro
