#pragma once
// What every fuzz target needs: a message display that records instead of
// showing, a scratch file per process, and checks that stop the fuzzer with a
// readable reason (libFuzzer keeps the input that did it).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/message.h"

namespace zentro::fuzz {

[[noreturn]] void Fail(const char* file, int line, const char* condition);

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::zentro::fuzz::Fail(__FILE__, __LINE__, #condition))

class MessageLog {
public:
    MessageLog();
    std::vector<Message> messages;

private:
    ScopedMessageHandler scope_;
};

// A file below $TMPDIR (or /tmp) that only this process uses; removed with the object.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    void Write(const std::uint8_t* data, std::size_t size) const;

private:
    std::string path_;
};

}  // namespace zentro::fuzz
