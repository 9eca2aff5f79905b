#pragma once
// The program: it owns the image store for the whole run, runs the wizard
// once and, when the wizard ends with Finish, has the icon file written.
#include <string>

#include "job/choices.h"
#include "job/image_store.h"
#include "platform/application.h"

namespace zentro {

class CBmpIconApp : public Application {
public:
    CBmpIconApp();
    ~CBmpIconApp() override;

    // The program's one instance. There must be one (the program has it as a static object).
    static CBmpIconApp& Get();

    // Builds the sheet and the pages, takes the file name from the command
    // line, runs the wizard and writes the icon on Finish. Always false: the
    // process ends when it returns.
    bool InitInstance() override;
    // Opens the help topic of the page that is active.
    void WinHelp(unsigned long data, unsigned command) override;
    // Writes the icon made of the image store's images to `path`, the 32-bit
    // 256 x 256 image as PNG when `png256`; false after telling the user why it
    // could not. Virtual so that a test can watch the driver.
    virtual bool WriteIconFile(const std::string& path, const FormatChoices& format, const SizeChoices& sizes,
                               bool png256);

    ImageStore store;
};

}  // namespace zentro
