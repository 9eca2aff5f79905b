#include "codecs/svg_references.h"

#include <libxml/xmlreader.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

namespace zentro::codecs {

namespace {

struct ReaderRelease {
    void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

std::string_view Text(const xmlChar* text) {
    return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The first place at or after `from` that is not white space.
std::size_t SkipSpace(std::string_view text, std::size_t from) {
    while (from < text.size() && IsSpace(text[from])) ++from;
    return from;
}

std::string_view Trimmed(std::string_view text) {
    text.remove_prefix(SkipSpace(text, 0));
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

class Collector {
public:
    void Reference(std::string_view target) {
        target = Trimmed(target);
        if (target.empty() || target.front() == '#' || StartsWithNoCase(target, "data:")) return;
        const std::string name(target);
        if (std::find(found_.begin(), found_.end(), name) == found_.end()) found_.push_back(name);
    }

    // url(...) anywhere in a value or a style sheet, and @import "..." in a style sheet.
    void InStyle(std::string_view text) {
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (StartsWithNoCase(text.substr(at), "url(")) {
                at = Quoted(text, at + 4, ")");
            } else if (StartsWithNoCase(text.substr(at), "@import")) {
                const std::size_t from = SkipSpace(text, at + 7);
                if (from < text.size() && (text[from] == '"' || text[from] == '\'')) at = Quoted(text, from, ";");
            }
        }
    }

    // The pseudo-attribute href="..." of an xml-stylesheet instruction.
    void InInstruction(std::string_view text) {
        const std::size_t href = text.find("href");
        if (href == std::string_view::npos) return;
        const std::size_t equals = text.find('=', href);
        if (equals == std::string_view::npos) return;
        const std::size_t from = SkipSpace(text, equals + 1);
        if (from < text.size() && (text[from] == '"' || text[from] == '\'')) Quoted(text, from, "");
    }

    std::vector<std::string> Found() && { return std::move(found_); }

private:
    // Takes the reference that starts at `start`, after white space: quoted, or up
    // to one of `ends`.
    // Returns where it ended.
    std::size_t Quoted(std::string_view text, std::size_t start, std::string_view ends) {
        const std::size_t from = SkipSpace(text, start);
        if (from < text.size() && (text[from] == '"' || text[from] == '\'')) {
            const std::size_t close = text.find(text[from], from + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            Reference(text.substr(from + 1, end - from - 1));
            return end;
        }
        const std::size_t end = std::min(text.find_first_of(ends, from), text.size());
        Reference(text.substr(from, end - from));
        return end;
    }

    std::vector<std::string> found_;
};

}  // namespace

std::vector<std::string> SvgOutsideReferences(const std::uint8_t* text, std::size_t size) {
    Collector collector;
    if (size > static_cast<std::size_t>(INT32_MAX)) return {};
    // Nothing is fetched: no network, no external entities or document type.
    const std::unique_ptr<xmlTextReader, ReaderRelease> reader(
        xmlReaderForMemory(reinterpret_cast<const char*>(text), static_cast<int>(size), nullptr, nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!reader) return {};
    int styleDepth = -1;  // depth of the <style> element being read, -1 outside one
    while (xmlTextReaderRead(reader.get()) == 1) {
        const int type = xmlTextReaderNodeType(reader.get());
        const int depth = xmlTextReaderDepth(reader.get());
        const std::string_view name = Text(xmlTextReaderConstLocalName(reader.get()));
        if (type == XML_READER_TYPE_ELEMENT) {
            if (name == "style" && xmlTextReaderIsEmptyElement(reader.get()) == 0) styleDepth = depth;
            while (xmlTextReaderMoveToNextAttribute(reader.get()) == 1) {
                const std::string_view value = Text(xmlTextReaderConstValue(reader.get()));
                // A link's target is where a click would lead, nothing the drawing shows.
                if (Text(xmlTextReaderConstLocalName(reader.get())) != "href")
                    collector.InStyle(value);
                else if (name != "a")
                    collector.Reference(value);
            }
        } else if (type == XML_READER_TYPE_END_ELEMENT && depth == styleDepth) {
            styleDepth = -1;
        } else if ((type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA) && styleDepth >= 0) {
            collector.InStyle(Text(xmlTextReaderConstValue(reader.get())));
        } else if (type == XML_READER_TYPE_PROCESSING_INSTRUCTION && name == "xml-stylesheet") {
            collector.InInstruction(Text(xmlTextReaderConstValue(reader.get())));
        }
    }
    return std::move(collector).Found();
}

}  // namespace zentro::codecs
