#include "platform/path.h"

namespace zentro {

std::string ProposeIconPath(const std::string& bitmapPath) {
    const std::string::size_type nameStart = bitmapPath.find_last_of("/\\");
    const std::string::size_type dot = bitmapPath.find_last_of('.');
    const bool dotInName = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    return (dotInName ? bitmapPath.substr(0, dot) : bitmapPath) + ".ico";
}

}  // namespace zentro
