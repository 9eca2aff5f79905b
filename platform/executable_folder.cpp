#include "platform/executable_folder.h"

#include <filesystem>
#include <system_error>

namespace zentro {

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : FolderOf(executable.string());
}

}  // namespace zentro
