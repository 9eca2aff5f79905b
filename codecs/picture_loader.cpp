#include "codecs/picture_loader.h"

#include <sys/stat.h>

#include <new>
#include <vector>

#include "codecs/picture_decoder.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

// The largest file worth reading: an uncompressed 32-bit bitmap of kMaxPixels
// with room to spare for headers and palette. Anything longer is refused before
// its bytes are held.
constexpr std::uint64_t kMaxFileBytes = 4 * kMaxPixels + (std::uint64_t{1} << 20);

// 0 when `bytes` holds the whole file, else a message id.
unsigned ReadWholeFile(File& file, std::vector<std::uint8_t>& bytes) {
    struct stat status {};
    if (fstat(file.Descriptor(), &status) != 0) return IDS_CANNOT_READ;
    const auto length = static_cast<std::uint64_t>(status.st_size);
    if (length > kMaxFileBytes) return IDS_NO_DIB_MEMORY;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return IDS_NO_DIB_MEMORY;
    }
    // A file that shrank while being read is cut short like any truncated file.
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return 0;
}

}  // namespace

unsigned ReadPictureFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    File file;
    if (!file.OpenForReading(path)) return IDS_FILE_NOT_FOUND;
    unsigned id = 0;
    try {
        id = ReadWholeFile(file, bytes);
    } catch (const FileError&) {
        id = IDS_CANNOT_READ;
    }
    // Only read from: a failure to close it loses nothing.
    file.Abort();
    return id;
}

bool LoadPicture(const std::string& path, Picture& picture) {
    picture.colour.Free();
    picture.alpha.Free();
    std::vector<std::uint8_t> bytes;
    unsigned id = ReadPictureFile(path, bytes);
    if (id == 0) id = DecodePicture(bytes.data(), bytes.size(), picture);
    if (id == 0) return true;
    ShowMessage(id, MessageIcon::Error);
    return false;
}

}  // namespace zentro::codecs
