// `zentro [FILE]`, `--help`, `--version`.
#include <QTest>

#include "gui_test_main.h"
#include "platform/qt/command_line.h"

using namespace zentro;
using Action = CommandLineInfo::Action;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void fileNameIsTaken() {
        QCOMPARE(ParseCommandLine({}).fileName, std::string());
        QCOMPARE(ParseCommandLine({}).action, Action::RunWizard);
        const CommandLineInfo info = ParseCommandLine({QStringLiteral("/图片/logo.bmp")});
        QCOMPARE(info.action, Action::RunWizard);
        QCOMPARE(info.fileName, std::string("/图片/logo.bmp"));
        QCOMPARE(ParseCommandLine({QString(), QStringLiteral("a.bmp")}).fileName, std::string("a.bmp"));
    }

    void doubleDashEndsOptions() {
        const CommandLineInfo info = ParseCommandLine({QStringLiteral("--"), QStringLiteral("--help")});
        QCOMPARE(info.action, Action::RunWizard);
        QCOMPARE(info.fileName, std::string("--help"));
        QCOMPARE(ParseCommandLine({QStringLiteral("-")}).fileName, std::string("-"));
    }

    void helpAndVersionWinOverMistakes() {
        QCOMPARE(ParseCommandLine({QStringLiteral("-x"), QStringLiteral("--help")}).action, Action::ShowUsage);
        QCOMPARE(ParseCommandLine({QStringLiteral("-h")}).action, Action::ShowUsage);
        QCOMPARE(ParseCommandLine({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--version")}).action,
                 Action::ShowVersion);
    }

    void mistakesAreInvalid() {
        const CommandLineInfo unknown = ParseCommandLine({QStringLiteral("--size"), QStringLiteral("a.bmp")});
        QCOMPARE(unknown.action, Action::Invalid);
        QVERIFY(unknown.error.find("--size") != std::string::npos);
        const CommandLineInfo two = ParseCommandLine({QStringLiteral("a.bmp"), QStringLiteral("b.bmp")});
        QCOMPARE(two.action, Action::Invalid);
        QVERIFY(two.error.find("b.bmp") != std::string::npos);
    }
};

ZENTRO_GUI_TEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
