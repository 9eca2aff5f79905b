#pragma once
// Collects what a writer produces, so tests can look at the bytes of a file without a file.
#include <cstdint>
#include <vector>

#include "platform/file.h"

namespace zentro::test {

class MemorySink : public ByteSink {
public:
    std::vector<std::uint8_t> bytes;
    void Write(const void* data, std::size_t count) override {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + count);
    }
};

}  // namespace zentro::test
