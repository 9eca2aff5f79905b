#pragma once
// Reads the structure of an icon or cursor file held in memory. No count, size
// or offset in the file is trusted: each entry is located within the file and
// measured against its own image header (a bitmap header or a PNG's IHDR), and
// whatever does not add up is reported as a finding. The lister, the lint, the
// unpacker and pictures read from icons all start from this one reading.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/dib.h"
#include "image/picture.h"

namespace zentro {

enum class IconImageFormat : std::uint8_t { Bmp, Png };

struct IconEntryInfo {
    IconDirEntry dir;  // as stored in the directory
    IconImageFormat format = IconImageFormat::Bmp;
    // From the image's own header when it could be read, else from the directory.
    int width = 0;
    int height = 0;
    int bitCount = 0;
    // The image lies within the file and its header describes data that is all
    // there, so that it can be decoded (a finding may still name a mismatch).
    bool readable = false;
    // The directory places the image, or part of it, beyond the end of the file.
    bool pastEnd = false;
};

struct IconFinding {
    bool fault = true;  // false: a warning
    int entry = -1;     // the entry concerned, -1 for the file as a whole
    std::string text;
};

struct IconFileInfo {
    std::uint16_t type = 0;  // 1 icon, 2 cursor
    std::vector<IconEntryInfo> entries;
    std::vector<IconFinding> findings;

    bool HasFault() const;
    // True when the header could be read as an icon or cursor header at all.
    bool IsIcon() const { return type == 1 || type == 2; }
};

IconFileInfo ReadIconFile(const std::uint8_t* data, std::size_t size);

// The colours and alpha of a readable BMP entry: a 32-bit image gives its own
// alpha, shallower ones 0 where the AND mask is set and 255 elsewhere. False
// when the entry is not a readable BMP or memory is short.
bool DecodeBmpIconEntry(const std::uint8_t* data, std::size_t size, const IconEntryInfo& entry, Picture& picture);

// The entries to take when an icon stands for each of its images: for every size,
// the deepest readable entry (the first among equals), in the order of the file.
std::vector<int> DeepestIconEntries(const IconFileInfo& icon);

}  // namespace zentro
