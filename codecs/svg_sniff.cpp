#include "codecs/svg_sniff.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace zentro::codecs {

namespace {

class Prolog {
public:
    explicit Prolog(std::string_view text) : text_(text) {}

    // Skips what may come before the root element; false when the text ends first
    // or holds something no XML prolog can.
    bool SkipToRoot() {
        (void)Takes("\xEF\xBB\xBF");
        for (;;) {
            SkipSpace();
            if (Takes("<?")) {
                if (!SkipPast("?>")) return false;
            } else if (Takes("<!--")) {
                if (!SkipPast("-->")) return false;
            } else if (Takes("<!DOCTYPE")) {
                if (!SkipDoctype()) return false;
            } else {
                return Takes("<");
            }
        }
    }

    // The root element's name, `svg` alone or behind a namespace prefix.
    bool RootIsSvg() {
        const std::size_t start = at_;
        while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
        std::string_view name = text_.substr(start, at_ - start);
        if (at_ >= text_.size()) return false;
        const char after = text_[at_];
        if (after != '>' && after != '/' && !IsSpace(after)) return false;
        if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) {
            if (colon == 0) return false;
            name.remove_prefix(colon + 1);
        }
        return name == "svg";
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool IsNameChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
    }

    bool Takes(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    void SkipSpace() {
        while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
    }
    bool SkipPast(std::string_view end) {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string_view::npos) return false;
        at_ = found + end.size();
        return true;
    }

    // Up to the '>' that closes the declaration: quoted literals, and the internal
    // subset's declarations and comments, may hold '>' and ']' of their own.
    bool SkipDoctype() {
        bool inSubset = false;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (inSubset && Takes("<!--")) {
                if (!SkipPast("-->")) return false;
                continue;
            }
            ++at_;
            if (c == '"' || c == '\'') {
                if (!SkipPast(std::string_view(&c, 1))) return false;
            } else if (c == '[') {
                inSubset = true;
            } else if (c == ']') {
                inSubset = false;
            } else if (c == '>' && !inSubset) {
                return true;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

bool TextIsSvg(const std::uint8_t* data, std::size_t size) {
    Prolog prolog(std::string_view(reinterpret_cast<const char*>(data), std::min(size, kSvgProbeSize)));
    return prolog.SkipToRoot() && prolog.RootIsSvg();
}

// The first kSvgProbeSize bytes the stream inflates to; however far a bomb would
// go, no more is taken.
std::vector<std::uint8_t> InflateStart(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(kSvgProbeSize);
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return {};
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    int status = Z_OK;
    while (status == Z_OK && stream.avail_out > 0) status = inflate(&stream, Z_NO_FLUSH);
    const bool usable = status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR;
    out.resize(usable ? out.size() - stream.avail_out : 0);
    inflateEnd(&stream);
    return out;
}

}  // namespace

bool IsSvg(const std::uint8_t* data, std::size_t size) {
    if (!IsGzip(data, size)) return TextIsSvg(data, size);
    const std::vector<std::uint8_t> text = InflateStart(data, size);
    return TextIsSvg(text.data(), text.size());
}

}  // namespace zentro::codecs
