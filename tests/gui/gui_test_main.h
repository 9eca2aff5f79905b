#pragma once
// main() for a Qt Test suite of the wizard: headless, with a private runtime
// folder, and with the program's font, translations and message boxes.
#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/qt/application.h"

namespace zentro::test {

// A runtime folder of our own (mode 0700, as Qt demands), removed at the end.
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentro-gui-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
            setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
        }
    }
    ~PrivateRuntimeFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }

private:
    std::string path_;
};

template <class Suite>
int RunGuiSuite(int argc, char** argv) {
    PrivateRuntimeFolder runtime;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    PrepareGui(application);
    Suite suite;
    return QTest::qExec(&suite, argc, argv);
}

}  // namespace zentro::test

#define ZENTRO_GUI_TEST_MAIN(Suite) \
    int main(int argc, char** argv) { return zentro::test::RunGuiSuite<Suite>(argc, argv); }
