#include "platform/string_table.h"

#include <atomic>

#include "platform/string_tables.h"

namespace zentro {

namespace {

// Set once before any thread starts, read by every thread that shows a message.
std::atomic<Language> gLanguage{Language::Chinese};

const char* Find(std::span<const StringEntry> table, unsigned id) {
    for (const StringEntry& entry : table)
        if (entry.id == id) return entry.text;
    return nullptr;
}

}  // namespace

void SetLanguage(Language language) { gLanguage.store(language); }

Language CurrentLanguage() { return gLanguage.load(); }

const char* LoadString(unsigned id) {
    if (CurrentLanguage() == Language::Chinese)
        if (const char* text = Find(ChineseStrings(), id)) return text;
    const char* text = Find(EnglishStrings(), id);
    return text != nullptr ? text : "";
}

std::string FormatString(unsigned id, const std::vector<std::string>& args) {
    const std::string pattern = LoadString(id);
    std::string out;
    std::size_t inOrder = 0;
    const auto put = [&](std::size_t index) {
        if (index < args.size()) out += args[index];
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] != '%' || next == '\0') {
            out += pattern[i];
        } else if (next >= '1' && next <= '9') {
            put(static_cast<std::size_t>(next - '1'));
            ++i;
        } else if (next == 's' || next == 'i') {
            put(inOrder++);
            ++i;
        } else {
            out += next;  // "%%", and any other conversion, stand for the character after the sign
            ++i;
        }
    }
    return out;
}

}  // namespace zentro
