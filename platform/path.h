#pragma once
#include <string>

namespace zentro {

// The icon name proposed for a bitmap: the path up to the last dot of its file
// name, plus ".ico". A dot in a folder name never counts, so the icon stays in
// the bitmap's folder.
std::string ProposeIconPath(const std::string& bitmapPath);

}  // namespace zentro
