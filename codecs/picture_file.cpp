#include "codecs/picture_file.h"

#include <sys/stat.h>

#include <new>

#include "platform/string_table.h"

namespace zentro::codecs {

unsigned PictureFile::Open(const std::string& path) {
    format_ = PictureFormat::Unknown;
    if (!file_.OpenForReading(path)) return IDS_FILE_NOT_FOUND;
    struct stat status {};
    if (fstat(file_.Descriptor(), &status) != 0) return IDS_CANNOT_READ;
    size_ = static_cast<std::uint64_t>(status.st_size);
    if (size_ > kMaxPictureFileBytes) return IDS_FILE_TOO_LARGE;
    try {
        std::uint8_t probe[kFormatProbeSize];
        format_ = DetectFormat(probe, file_.Read(probe, sizeof probe));
    } catch (const FileError&) {
        return IDS_CANNOT_READ;
    }
    return 0;
}

unsigned PictureFile::ReadAll(std::vector<std::uint8_t>& bytes) {
    try {
        bytes.resize(static_cast<std::size_t>(size_));
    } catch (const std::bad_alloc&) {
        return IDS_NO_DIB_MEMORY;
    }
    file_.Seek(0);
    bytes.resize(file_.Read(bytes.data(), bytes.size()));
    return 0;
}

}  // namespace zentro::codecs
