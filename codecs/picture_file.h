#pragma once
// A picture file opened for decoding: its length checked and its format told from
// its first bytes, so that a decoder can stream its rows from it or, where a format
// needs them, take its whole bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "codecs/picture_format.h"
#include "image/dib.h"
#include "platform/file.h"

namespace zentro::codecs {

// The longest file worth reading: an uncompressed 32-bit bitmap of kMaxPixels
// with room to spare for headers and palette. Anything longer is refused before
// its bytes are held.
constexpr std::uint64_t kMaxPictureFileBytes = 4 * kMaxPixels + (std::uint64_t{1} << 20);

class PictureFile {
public:
    // 0, or the id of the message that refuses the file: 102 when it cannot be
    // opened (Stream().Failure() tells why), 103 when it cannot be read, 131 when it
    // is longer than kMaxPictureFileBytes. Throws nothing.
    unsigned Open(const std::string& path);

    PictureFormat Format() const { return format_; }
    // The length the file had when it was opened.
    std::uint64_t Size() const { return size_; }
    // Stands past the first bytes once opened: a reader seeks to where it starts.
    // Reads and seeks throw FileError.
    File& Stream() { return file_; }

    // Every byte of the file; one that shrank while being read is cut short like
    // any truncated file. 0, or 105 when the memory cannot be had. Throws FileError.
    unsigned ReadAll(std::vector<std::uint8_t>& bytes);

private:
    File file_;
    std::uint64_t size_ = 0;
    PictureFormat format_ = PictureFormat::Unknown;
};

}  // namespace zentro::codecs
