#pragma once
// The program object: one instance per process, reached through Current().
// RunApplication prepares Qt (fonts, translations, message boxes) and calls
// InitInstance, which is the whole run.
#include <QStringList>

class QApplication;

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

    // The command-line arguments after the program name.
    const QStringList& Arguments() const { return arguments_; }
    void SetArguments(QStringList arguments) { arguments_ = std::move(arguments); }

private:
    QStringList arguments_;
};

// Gives `application` what every window of the program relies on: the dialog
// font, the Chinese texts of Qt's own buttons, and message boxes as the
// display of the core's messages.
void PrepareGui(QApplication& application);

// Creates the Qt application (only the program name is passed to Qt, so the
// arguments stay the program's own), prepares it and runs the current
// Application's InitInstance. Returns the process exit code.
int RunApplication(const char* programName);

}  // namespace zentro
