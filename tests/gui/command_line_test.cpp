// `zentro [FILE]`, `--help`, `--version`.
#include <QTest>
#include <algorithm>

#include "app/wizard_command_line.h"
#include "gui_test_main.h"
#include "tests/support/usage_text.h"

using namespace zentro;
using Action = CommandLineInfo::Action;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void fileNameIsTaken() {
        QCOMPARE(ParseCommandLine({}).fileName, std::string());
        QCOMPARE(ParseCommandLine({}).action, Action::RunWizard);
        const CommandLineInfo info = ParseCommandLine({"/图片/logo.bmp"});
        QCOMPARE(info.action, Action::RunWizard);
        QCOMPARE(info.fileName, std::string("/图片/logo.bmp"));
        QCOMPARE(ParseCommandLine({"", "a.bmp"}).fileName, std::string("a.bmp"));
    }

    void doubleDashEndsOptions() {
        const CommandLineInfo info = ParseCommandLine({"--", "--help"});
        QCOMPARE(info.action, Action::RunWizard);
        QCOMPARE(info.fileName, std::string("--help"));
        QCOMPARE(ParseCommandLine({"-"}).fileName, std::string("-"));
    }

    void helpAndVersionWinOverMistakes() {
        QCOMPARE(ParseCommandLine({"-x", "--help"}).action, Action::ShowUsage);
        QCOMPARE(ParseCommandLine({"-h"}).action, Action::ShowUsage);
        QCOMPARE(ParseCommandLine({"a", "b", "--version"}).action, Action::ShowVersion);
    }

    void mistakesAreInvalid() {
        const CommandLineInfo unknown = ParseCommandLine({"--size", "a.bmp"});
        QCOMPARE(unknown.action, Action::Invalid);
        QVERIFY(unknown.error.find("--size") != std::string::npos);
        const CommandLineInfo two = ParseCommandLine({"a.bmp", "b.bmp"});
        QCOMPARE(two.action, Action::Invalid);
        QVERIFY(two.error.find("b.bmp") != std::string::npos);
    }

    void usageListsWhatTheParserKnows() {
        const auto options = test::ListedOptions(kWizardUsage);
        for (const char* expected : {"-h", "--help", "--version", "--"})
            QVERIFY2(test::IsListed(options, expected), expected);
        for (const std::vector<std::string>& aliases : options)
            for (const std::string& option : aliases)
                QVERIFY2(ParseCommandLine({option}).action != Action::Invalid, option.c_str());
        QVERIFY(std::string(kWizardUsage).find("[FILE]") != std::string::npos);
    }

    void everyOptionHasAnExampleThatParses() {
        const auto examples = test::ExampleCommands(kWizardUsage, "zentro");
        bool withFile = false;
        for (const std::vector<std::string>& args : examples) {
            const CommandLineInfo info = ParseCommandLine(args);
            QVERIFY2(info.action != Action::Invalid, info.error.c_str());
            // A name shown after "--" must come through as the file, dash and all.
            if (!args.empty() && args.front() == "--") QCOMPARE(info.fileName, args.back());
            withFile = withFile || !info.fileName.empty();
        }
        QVERIFY(withFile);
        for (const std::vector<std::string>& aliases : test::ListedOptions(kWizardUsage)) {
            const bool shown = std::any_of(examples.begin(), examples.end(), [&](const std::vector<std::string>& args) {
                return std::find_first_of(args.begin(), args.end(), aliases.begin(), aliases.end()) != args.end();
            });
            QVERIFY2(shown, (aliases.back() + " has no example").c_str());
        }
    }
};

ZENTRO_GUI_TEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
