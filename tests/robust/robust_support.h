#pragma once
// What the robustness tests need beyond the common test support: the real
// zentro-cli run as a child process, and small file systems that are read-only
// or nearly full.
#include <functional>
#include <string>
#include <vector>

namespace zentro::test {

struct ProcessResult {
    int status = -1;        // exit status; -1 when killed by a signal
    int signal = 0;         // the signal that ended it, 0 for none
    bool timedOut = false;  // killed because it ran past its time
    double seconds = 0;
    long peakKb = 0;  // its peak resident memory
    std::string out;
    std::string err;
};

// Runs zentro-cli with `args`; kills it after `timeoutSeconds`. A non-zero
// `addressSpaceBytes` limits the child's virtual memory (as `ulimit -v` does).
// `watch`, when given, is called with the child's process id every few milliseconds while it runs.
// The child speaks the language this process does (LC_ALL set to match), so that its
// messages compare with LoadString's.
ProcessResult RunCliProgram(const std::vector<std::string>& args, double timeoutSeconds = 20,
                            unsigned long long addressSpaceBytes = 0, const std::function<void(int)>& watch = {});

// Runs zentro-cli with `args` and, in place of this process's LC_ALL, LC_MESSAGES and
// LANG, the locale variables `locale` ("LANG=C", ...).
ProcessResult RunCliProgramIn(const std::vector<std::string>& locale, const std::vector<std::string>& args);

// A tmpfs mounted on a new folder `path` for the life of the object; only
// root may mount, so Mounted() tells whether it worked and Why() why not.
class ScratchMount {
public:
    ScratchMount(const std::string& path, unsigned long long bytes, bool readOnly);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    // Remounts with write access (to prepare files), or read-only again.
    bool SetReadOnly(bool readOnly);

private:
    std::string path_;
    unsigned long long bytes_;
    bool mounted_ = false;
    std::string why_;
};

// Names of everything in a folder, sorted.
std::vector<std::string> FolderListing(const std::string& folder);

// True when this process bypasses permission bits (root), so that a folder
// without write permission still takes new files.
bool PermissionsAreBypassed();

}  // namespace zentro::test
