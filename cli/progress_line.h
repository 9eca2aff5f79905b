#pragma once
// One self-updating line on a terminal: files done of the total, the file at hand and
// the time left. Whoever writes other output clears it first and shows it again after.
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

namespace zentro::cli {

// True when `stream` (the program's stdout or stderr) is a terminal.
bool IsTerminal(std::FILE* stream);

class ProgressLine {
public:
    // Draws nothing at all unless `enabled`.
    ProgressLine(std::ostream& terminal, bool enabled, int total);
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(int done, const std::string& current);
    void Clear();

private:
    std::ostream& terminal_;
    bool enabled_;
    bool shown_ = false;
    int total_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// "3 s", "2 min 5 s", "1 h 4 min": how long, as a person says it.
std::string Duration(double seconds);

}  // namespace zentro::cli
