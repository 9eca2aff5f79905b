#pragma once
// The tables behind platform/string_table.h, one per language under the same ids.
#include <span>

namespace zentro {

struct StringEntry {
    unsigned id;
    const char* text;
};

std::span<const StringEntry> ChineseStrings();
std::span<const StringEntry> EnglishStrings();

}  // namespace zentro
