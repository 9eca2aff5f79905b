#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace zentro::fuzz {

void Fail(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "\n%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

MessageLog::MessageLog()
    : scope_([this](const Message& m) {
          messages.push_back(m);
          return m.buttons == MessageButtons::YesNo ? MessageReply::No : MessageReply::Ok;
      }) {}

ScratchFile::ScratchFile(const std::string& name) {
    const char* folder = std::getenv("TMPDIR");
    path_ = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/zentro-fuzz-" +
            std::to_string(::getpid()) + "-" + name;
}

ScratchFile::~ScratchFile() { ::unlink(path_.c_str()); }

void ScratchFile::Write(const std::uint8_t* data, std::size_t size) const {
    std::FILE* out = std::fopen(path_.c_str(), "wb");
    FUZZ_CHECK(out != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, out) == size);
    FUZZ_CHECK(std::fclose(out) == 0);
}

}  // namespace zentro::fuzz
