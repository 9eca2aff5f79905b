#pragma once
// The line that describes one image of an icon: the same after a conversion
// and for --list, so that the two can be compared and parsed alike.
#include <cstddef>
#include <string>

#include "icon/icon_reader.h"

namespace zentro::cli {

// "   3    48x48   8-bit     3752 bytes  BMP  at 198" and a line feed; an image that
// runs past the end of the file has "  past the end of the file" before it.
std::string IconEntryLine(std::size_t index, const IconEntryInfo& entry);

}  // namespace zentro::cli
