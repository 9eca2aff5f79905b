#pragma once
// Collects what the icon writer writes, instead of a file.
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
