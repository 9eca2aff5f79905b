#include "cli/progress_line.h"

#include <cmath>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zentro::cli {

namespace {

// Kept inside the narrowest usual terminal, so the line never wraps and can be redrawn in place.
constexpr std::size_t kWidth = 79;

}  // namespace

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

std::string Duration(double seconds) {
    const long whole = std::lround(seconds);
    if (whole < 60) return std::to_string(whole) + " s";
    if (whole < 3600) return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    return std::to_string(whole / 3600) + " h " + std::to_string(whole / 60 % 60) + " min";
}

ProgressLine::ProgressLine(std::ostream& terminal, bool enabled, int total)
    : terminal_(terminal), enabled_(enabled), total_(total) {}

void ProgressLine::Show(int done, const std::string& current) {
    if (!enabled_) return;
    std::string line = "[";
    line.append(std::to_string(done)).append("/").append(std::to_string(total_)).append("]");
    if (done > 0 && done < total_) {
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        line.append(" about ").append(Duration(elapsed / done * (total_ - done))).append(" left");
    }
    if (!current.empty()) {
        std::string name = current;
        const std::size_t room = kWidth > line.size() + 1 ? kWidth - line.size() - 1 : 0;
        if (name.size() > room && room > 3) name.replace(0, name.size() - (room - 3), "...");
        if (name.size() > room) name.clear();
        line += " " + name;
    }
    terminal_ << "\r" << line << "\x1b[K" << std::flush;
    shown_ = true;
}

void ProgressLine::Clear() {
    if (!shown_) return;
    terminal_ << "\r\x1b[K" << std::flush;
    shown_ = false;
}

}  // namespace zentro::cli
