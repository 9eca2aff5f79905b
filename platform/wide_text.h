#pragma once
// UTF-8 to and from the UTF-16 of the Windows wide-character calls.
#ifdef _WIN32
#include <string>
#include <string_view>

namespace zentro {

enum class BadUtf8 { Refuse, Replace };

// With BadUtf8::Refuse a text that is not valid UTF-8 gives "": a file name
// must not be guessed at. Replace puts U+FFFD in place of each bad sequence.
std::wstring WideFromUtf8(std::string_view utf8, BadUtf8 bad = BadUtf8::Refuse);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace zentro
#endif
