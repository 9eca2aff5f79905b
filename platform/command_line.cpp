#include "platform/command_line.h"

#ifdef _WIN32
#include <windows.h>
// Its declarations need the types that windows.h brings.
#include <shellapi.h>
#endif

#include <algorithm>
#include <iostream>
#include <streambuf>

#include "platform/wide_text.h"

namespace zentro {

#ifdef _WIN32
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Utf8FromWide(wide[i]));
    ::LocalFree(wide);
    return args;
}

namespace {

// The byte count of `text` that ends on a whole UTF-8 character: a character
// split between two writes is held back until its last byte has come.
std::size_t WholeCharacters(const std::string& text) {
    std::size_t end = text.size();
    std::size_t back = 0;
    while (back < 3 && back < end && (static_cast<unsigned char>(text[end - 1 - back]) & 0xC0) == 0x80) ++back;
    if (back == end) return end;
    const auto lead = static_cast<unsigned char>(text[end - 1 - back]);
    const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return needed > back + 1 ? end - 1 - back : end;
}

// Writes UTF-16 to the console, which shows it regardless of its code page.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}
    ~ConsoleBuffer() override { Flush(pending_.size()); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (c == '\n') sync();
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        sync();
        return count;
    }
    int sync() override {
        Flush(WholeCharacters(pending_));
        return 0;
    }

private:
    void Flush(std::size_t bytes) {
        const std::wstring wide = WideFromUtf8(std::string_view(pending_).substr(0, bytes), BadUtf8::Replace);
        pending_.erase(0, bytes);
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
            if (!::WriteConsoleW(console_, wide.data() + done, chunk, &written, nullptr) || written == 0) return;
            done += written;
        }
    }

    HANDLE console_;
    std::string pending_;
};

}  // namespace

struct Utf8Console::Redirection {
    Redirection(std::ostream& stream, HANDLE console) : stream(stream), buffer(console) {
        stream.flush();
        previous = stream.rdbuf(&buffer);
    }
    ~Redirection() {
        stream.flush();
        stream.rdbuf(previous);
    }
    std::ostream& stream;
    ConsoleBuffer buffer;
    std::streambuf* previous = nullptr;
};

Utf8Console::Utf8Console() {
    const std::pair<std::ostream*, DWORD> streams[] = {{&std::cout, STD_OUTPUT_HANDLE}, {&std::cerr, STD_ERROR_HANDLE}};
    for (const auto& [stream, which] : streams) {
        HANDLE handle = ::GetStdHandle(which);
        DWORD mode = 0;
        // Only a console has a console mode: files and pipes keep the bytes.
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode))
            redirections_.push_back(std::make_unique<Redirection>(*stream, handle));
    }
}

Utf8Console::~Utf8Console() = default;
#else
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

struct Utf8Console::Redirection {};
Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
#endif

}  // namespace zentro
