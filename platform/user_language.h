#pragma once
// The language the user reads, for the command line's messages.
#include "platform/string_table.h"

namespace zentro {

// Linux: the first non-empty of LC_ALL, LC_MESSAGES and LANG; a value that begins
// with "zh" is Chinese, anything else, or nothing, English. Windows: the user's
// interface language, Chinese when its primary language is.
Language UserLanguage();

// The rule for Linux, on the three values (null for a variable not set).
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace zentro
