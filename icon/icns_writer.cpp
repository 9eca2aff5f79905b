#include "icon/icns_writer.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <new>

#include "image/big_endian.h"

namespace zentro {

const std::array<IcnsType, 12> kIcnsLayout = {{
    {"is32", 16, IcnsData::PackedRgb},
    {"s8mk", 16, IcnsData::Mask},
    {"il32", 32, IcnsData::PackedRgb},
    {"l8mk", 32, IcnsData::Mask},
    {"ic11", 32, IcnsData::Png},  // 16 x 16 at twice the density
    {"ic12", 64, IcnsData::Png},  // 32 x 32 at twice the density
    {"ic07", 128, IcnsData::Png},
    {"ic13", 256, IcnsData::Png},  // 128 x 128 at twice the density
    {"ic08", 256, IcnsData::Png},
    {"ic14", 512, IcnsData::Png},  // 256 x 256 at twice the density
    {"ic09", 512, IcnsData::Png},
    {"ic10", 1024, IcnsData::Png},  // 512 x 512 at twice the density
}};

namespace {

constexpr std::size_t kLongestLiteral = 128;
constexpr std::size_t kShortestRun = 3;
constexpr std::size_t kLongestRun = 130;

// Apple's PackBits: a header byte below 0x80 is followed by that many plus one
// bytes as they are; one from 0x80 by a byte that repeats (header - 0x80 + 3) times.
void Pack(const std::vector<std::uint8_t>& in, bool runs, std::vector<std::uint8_t>& out) {
    std::size_t literalStart = 0;
    const auto flushLiterals = [&](std::size_t end) {
        while (literalStart < end) {
            const std::size_t count = std::min(kLongestLiteral, end - literalStart);
            out.push_back(static_cast<std::uint8_t>(count - 1));
            out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(literalStart),
                       in.begin() + static_cast<std::ptrdiff_t>(literalStart + count));
            literalStart += count;
        }
    };
    std::size_t i = 0;
    while (i < in.size()) {
        std::size_t run = 1;
        while (i + run < in.size() && run < kLongestRun && in[i + run] == in[i]) ++run;
        if (!runs || run < kShortestRun) {
            i += runs ? run : in.size() - i;
            continue;
        }
        flushLiterals(i);
        out.push_back(static_cast<std::uint8_t>(0x80 + run - kShortestRun));
        out.push_back(in[i]);
        i += run;
        literalStart = i;
    }
    flushLiterals(in.size());
}

std::vector<std::uint8_t> Channel(const RgbaImage& image, int channel) {
    std::vector<std::uint8_t> values(image.pixels.size() / 4);
    for (std::size_t p = 0; p < values.size(); ++p) values[p] = image.pixels[4 * p + static_cast<std::size_t>(channel)];
    return values;
}

void PutType(std::vector<std::uint8_t>& out, const std::string& type) {
    for (char c : type) out.push_back(static_cast<std::uint8_t>(c));
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t bytes[4];
    be::Put32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

std::vector<std::uint8_t> PackIcnsRgb(const RgbaImage& image) {
    const std::size_t rawSize = image.pixels.size() / 4 * 3;
    std::vector<std::uint8_t> packed;
    for (bool runs : {true, false}) {
        packed.clear();
        for (int channel = 0; channel < 3; ++channel) Pack(Channel(image, channel), runs, packed);
        // Literals alone always outgrow the raw form: one header byte per 128 values.
        if (packed.size() != rawSize) break;
    }
    return packed;
}

std::vector<std::uint8_t> IcnsMask(const RgbaImage& image) { return Channel(image, 3); }

bool IcnsFile(const std::vector<IcnsElement>& elements, std::vector<std::uint8_t>& file) {
    constexpr std::uint64_t kHeaderSize = 8;
    std::uint64_t total = kHeaderSize;
    file.clear();
    for (const IcnsElement& element : elements) {
        if (element.type.size() != 4) return false;
        total += kHeaderSize + element.data.size();
    }
    if (total > std::numeric_limits<std::uint32_t>::max()) return false;
    try {
        file.reserve(static_cast<std::size_t>(total));
        PutType(file, "icns");
        PutBig32(file, static_cast<std::uint32_t>(total));
        for (const IcnsElement& element : elements) {
            PutType(file, element.type);
            PutBig32(file, static_cast<std::uint32_t>(kHeaderSize + element.data.size()));
            file.insert(file.end(), element.data.begin(), element.data.end());
        }
    } catch (const std::bad_alloc&) {
        file.clear();
        return false;
    }
    return true;
}

}  // namespace zentro
