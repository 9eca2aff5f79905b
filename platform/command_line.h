#pragma once
// The command line's arguments and console, in UTF-8 on every system.
#include <memory>
#include <string>
#include <vector>

namespace zentro {

// The arguments after the program's name. Windows hands `argv` over in the
// ANSI code page, which cannot hold every file name: there they are taken from
// the wide command line instead.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// While it lives, the UTF-8 text written to std::cout and std::cerr reaches a
// Windows console as the characters it means, whatever the console's code page.
// Redirected output gets the UTF-8 bytes unchanged; other systems need nothing.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    struct Redirection;
    std::vector<std::unique_ptr<Redirection>> redirections_;
};

}  // namespace zentro
