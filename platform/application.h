#pragma once
// The program object: one instance per process, reached through Current().
// The platform's RunApplication prepares its toolkit and calls InitInstance,
// which is the whole run.
#include <string>
#include <vector>

namespace zentro {

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The instance alive in this process, or null.
    static Application* Current();

    // The run; its return value is ignored, the process ends after it.
    virtual bool InitInstance() = 0;
    // Asked for help on the current context; the base opens nothing.
    virtual void WinHelp(unsigned long data, unsigned command);
    // Where the Help button and F1 end.
    void OnHelp() { WinHelp(0, 0); }

    // The command-line arguments after the program name, in UTF-8.
    const std::vector<std::string>& Arguments() const { return arguments_; }
    void SetArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }

private:
    std::vector<std::string> arguments_;
};

// Runs the current Application's InitInstance on the platform's toolkit, made
// ready first (only the program name is passed to it, so the arguments stay the
// program's own). Returns the process exit code.
int RunApplication(const char* programName);

}  // namespace zentro
