#pragma once
// The program's own texts, by the ids its resources have always used.
#include <string>

namespace zentro {

enum StringId : unsigned {
    IDS_FILE_NOT_FOUND = 102,
    IDS_CANNOT_READ = 103,
    IDS_UNSUPPORTED_BITMAP = 104,
    IDS_NO_DIB_MEMORY = 105,
    IDS_NOT_A_BITMAP = 106,
    IDS_NO_FILE_NAME = 107,
    IDS_OVERWRITE = 110,
    IDS_BITMAP_FILTER = 112,
    IDS_BANNER_TITLE = 113,
    IDS_CANNOT_CREATE = 117,
    IDS_CANNOT_WRITE = 119,
    IDS_TOO_SMALL = 120,
    IDS_NO_DEPTH = 121,
    IDS_NO_SIZE = 122,
    IDS_FOLDER_NOT_FOUND = 123,
    IDS_PICTURE_FILTER = 124,
    IDS_APP_TITLE = 57344,
    IDS_MAIN_SOURCE = 57346,
    IDS_BITMAP_16 = 57347,
    IDS_LARGEST_SIZE_HINT = 57348,
};

// UTF-8 text of a string-table entry; an unknown id gives "".
const char* LoadString(unsigned id);

// Message 120: "<what> 必须至少 <w>x<h> 像素<suffix>." with the printf-style
// conversions of the table entry (%s, %i, %i, %s).
std::string FormatTooSmall(const std::string& what, int width, int height, const std::string& suffix);

}  // namespace zentro
