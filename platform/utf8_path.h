#pragma once
// File system paths from and to the program's UTF-8 strings. A plain string
// would be read in the ANSI code page on Windows, which mangles every name
// outside it; elsewhere the bytes pass unchanged.
#include <filesystem>
#include <string>

namespace zentro {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace zentro
