#include "robust_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/string_table.h"
#include "support/bmp_builder.h"

namespace zentro::test {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string MountOptions(unsigned long long bytes) { return "size=" + std::to_string(bytes) + ",mode=0777"; }

// This process's environment without the variables that choose the language, plus `locale`.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& locale) {
    std::vector<std::string> variables = locale;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "LC_ALL" && name != "LC_MESSAGES" && name != "LANG") variables.push_back(entry);
    }
    return variables;
}

ProcessResult Run(const std::vector<std::string>& args, const std::vector<std::string>& locale, double timeoutSeconds,
                  unsigned long long addressSpaceBytes, const std::function<void(int)>& watch) {
    TempDir scratch;
    const std::string outPath = scratch / "out.txt";
    const std::string errPath = scratch / "err.txt";
    std::vector<std::string> argv = {ZENTRO_CLI_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    std::vector<std::string> environment = EnvironmentWith(locale);
    std::vector<char*> environmentPointers;
    for (std::string& variable : environment) environmentPointers.push_back(variable.data());
    environmentPointers.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(126);
        if (addressSpaceBytes != 0) {
            const struct rlimit limit = {addressSpaceBytes, addressSpaceBytes};
            if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
        }
        ::execve(pointers[0], pointers.data(), environmentPointers.data());
        ::_exit(127);
    }
    ProcessResult result;
    if (child < 0) return result;
    int status = 0;
    struct rusage usage {};
    for (;;) {
        const pid_t done = ::wait4(child, &status, WNOHANG, &usage);
        if (done == child) break;
        if (watch) watch(child);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (done < 0 || elapsed.count() > timeoutSeconds) {
            result.timedOut = done >= 0;
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.peakKb = usage.ru_maxrss;
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

}  // namespace

ProcessResult RunCliProgram(const std::vector<std::string>& args, double timeoutSeconds,
                            unsigned long long addressSpaceBytes, const std::function<void(int)>& watch) {
    const char* locale = CurrentLanguage() == Language::Chinese ? "LC_ALL=zh_CN.UTF-8" : "LC_ALL=C";
    return Run(args, {locale}, timeoutSeconds, addressSpaceBytes, watch);
}

ProcessResult RunCliProgramIn(const std::vector<std::string>& locale, const std::vector<std::string>& args) {
    return Run(args, locale, 20, 0, {});
}

ScratchMount::ScratchMount(const std::string& path, unsigned long long bytes, bool readOnly)
    : path_(path), bytes_(bytes) {
    std::error_code error;
    std::filesystem::create_directories(path_, error);
    if (::geteuid() != 0) {
        why_ = "mounting a tmpfs needs root";
        return;
    }
    if (::mount("zentro-test", path_.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, MountOptions(bytes_).c_str()) != 0) {
        why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

ScratchMount::~ScratchMount() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}

bool ScratchMount::SetReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return mounted_ && ::mount("zentro-test", path_.c_str(), "tmpfs", flags, MountOptions(bytes_).c_str()) == 0;
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

bool PermissionsAreBypassed() {
    TempDir dir;
    const std::string locked = dir / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const int fd = ::open((locked + "/probe").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) ::close(fd);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    return fd >= 0;
}

}  // namespace zentro::test
