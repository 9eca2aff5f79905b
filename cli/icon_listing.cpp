#include "cli/icon_listing.h"

#include <iomanip>
#include <sstream>

namespace zentro::cli {

std::string IconEntryLine(std::size_t index, const IconEntryInfo& entry) {
    std::ostringstream line;
    line << std::setw(4) << index << "  " << std::setw(7)
         << (std::to_string(entry.width) + "x" + std::to_string(entry.height)) << "  " << std::setw(2) << entry.bitCount
         << "-bit  " << std::setw(7) << entry.dir.bytesInResource << " bytes  "
         << (entry.format == IconImageFormat::Png ? "PNG" : "BMP") << "  at " << entry.dir.imageOffset
         << (entry.pastEnd ? "  past the end of the file" : "") << "\n";
    return line.str();
}

}  // namespace zentro::cli
