// The Input page: its refusals, the icon name it proposes, the presets it
// gives the Format page, and the open-bitmap dialog.
#include <sys/stat.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui_test_main.h"
#include "page_wizard.h"
#include "pages/control_ids.h"
#include "platform/qt/open_dialog.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

using namespace zentro;
using zentro::test::MessageRecorder;
using zentro::test::PageWizard;
using zentro::test::TempDir;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// Corners in one colour: a picture meant to be keyed.
std::vector<std::uint8_t> FramedPicture() {
    std::vector<std::uint32_t> colours(8 * 8, kWhite);
    colours[3 * 8 + 4] = 0xFF0000;
    return zentro::test::Encode24(8, 8, colours);
}

// Only the bottom-right corner differs from the others.
std::vector<std::uint8_t> UnframedPicture() {
    std::vector<std::uint32_t> colours(8 * 8, kWhite);
    colours.back() = 0x0000FF;
    return zentro::test::Encode24(8, 8, colours);
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The Input, Format and Output pages, and a folder for their files.
struct InputWizard : PageWizard {
    TempDir folder;

    InputWizard() { Show({&input, &format, &output}); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = folder / name;
        zentro::test::WriteFile(path, bytes);
        return path;
    }
    void TypePath(const std::string& path) { Control<QLineEdit>(kBitmapPathEdit)->setText(Q(path)); }
    bool Checked(int id) { return Control<QCheckBox>(id)->isChecked(); }
};

}  // namespace

class InputPageTest : public QObject {
    Q_OBJECT

private slots:
    void controlsSitWhereTheTemplatePutsThem() {
        InputWizard w;
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Ikoblen - 输入文件"));
        QVERIFY(w.Control<QLineEdit>(kBitmapPathEdit) != nullptr);
        auto* browse = w.Control<QPushButton>(kBrowseButton);
        QVERIFY(browse != nullptr);
        QCOMPARE(browse->text(), QStringLiteral("浏览(&B)..."));
        QVERIFY(browse->geometry().top() > w.Control<QLineEdit>(kBitmapPathEdit)->geometry().bottom());
        QVERIFY(!w.sheet.Button(WizardCommand::Back)->isEnabled());
        QVERIFY(w.sheet.Button(WizardCommand::Next)->isEnabled());
    }

    void emptyPathIsRefusedAndNothingIsPreset() {
        InputWizard w;
        w.output.path = "kept.ico";
        w.format.choices.use32 = 1;
        MessageRecorder recorder;
        w.Press(WizardCommand::Next);
        QCOMPARE(recorder.OnlyId(), unsigned{IDS_NO_FILE_NAME});
        QCOMPARE(recorder.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(w.Active(), &w.input);
        QCOMPARE(w.output.path, std::string("kept.ico"));
        QCOMPARE(w.format.choices.use32, 1);
    }

    void unreadableFileShowsTheReadersMessageAndStays_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<unsigned>("message");
        QTest::addColumn<MessageIcon>("icon");
        QTest::newRow("missing") << false << QByteArray() << unsigned{IDS_FILE_NOT_FOUND} << MessageIcon::Error;
        QTest::newRow("not a bitmap") << true << QByteArray("plain text, not a picture") << unsigned{IDS_NOT_A_BITMAP}
                                      << MessageIcon::Error;
    }
    void unreadableFileShowsTheReadersMessageAndStays() {
        QFETCH(bool, exists);
        QFETCH(QByteArray, bytes);
        QFETCH(unsigned, message);
        QFETCH(MessageIcon, icon);
        InputWizard w;
        const std::string path = w.folder / "picture.bmp";
        if (exists) w.Write("picture.bmp", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        w.TypePath(path);
        w.output.path = "kept.ico";
        MessageRecorder recorder;
        w.Press(WizardCommand::Next);
        QCOMPARE(recorder.OnlyId(), message);
        QCOMPARE(recorder.messages[0].icon, icon);
        QCOMPARE(w.Active(), &w.input);
        QCOMPARE(w.output.path, std::string("kept.ico"));
    }

    // As on the command line: a folder or a pipe named as the bitmap is "not
    // found" at once; a pipe must never block the page waiting for a writer.
    void folderOrPipeIsRefusedAtOnce_data() {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("folder") << false;
        QTest::newRow("pipe") << true;
    }
    void folderOrPipeIsRefusedAtOnce() {
        QFETCH(bool, pipe);
        InputWizard w;
        const std::string path = w.folder / "picture.bmp";
        QVERIFY(pipe ? ::mkfifo(path.c_str(), 0600) == 0 : ::mkdir(path.c_str(), 0700) == 0);
        w.TypePath(path);
        MessageRecorder recorder;
        w.Press(WizardCommand::Next);
        QCOMPARE(recorder.OnlyId(), unsigned{IDS_FILE_NOT_FOUND});
        QCOMPARE(w.Active(), &w.input);
    }

    void secondNextAfterARefusalGoesOn() {
        InputWizard w;
        MessageRecorder recorder;
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.input);
        w.TypePath(w.Write("logo.bmp", FramedPicture()));
        w.Press(WizardCommand::Next);
        QCOMPARE(recorder.messages.size(), std::size_t{1});
        QCOMPARE(w.Active(), &w.format);
        QCOMPARE(w.input.path, w.folder / "logo.bmp");
        QCOMPARE(w.application.store.source.GetMinSide(), 8);
    }

    void proposesTheIconNameBesideTheBitmap_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("extension") << "pics"
                                   << "logo.bmp"
                                   << "logo.ico";
        QTest::newRow("no extension in a folder with a dot") << "my.pics"
                                                             << "logo"
                                                             << "logo.ico";
        QTest::newRow("two dots in the name") << "my.pics"
                                              << "logo.v2.bmp"
                                              << "logo.v2.ico";
        QTest::newRow("only a dot") << "pics"
                                    << "logo."
                                    << "logo.ico";
    }
    void proposesTheIconNameBesideTheBitmap() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, proposed);
        InputWizard w;
        QDir(Q(w.folder.path())).mkpath(folder);
        const std::string path = w.Write(folder.toStdString() + "/" + name.toStdString(), FramedPicture());
        w.TypePath(path);
        w.Press(WizardCommand::Next);
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.output);
        const QString expected = Q(w.folder.path()) + "/" + folder + "/" + proposed;
        QCOMPARE(Q(w.output.path), expected);
        QCOMPARE(w.Control<QLineEdit>(kIconPathEdit)->text(), expected);
    }

    void nextAgainReloadsAndReplacesTheTypedIconName() {
        InputWizard w;
        w.TypePath(w.Write("first.bmp", FramedPicture()));
        w.Press(WizardCommand::Next);
        w.Press(WizardCommand::Next);
        w.Control<QLineEdit>(kIconPathEdit)->setText(QStringLiteral("typed.ico"));
        w.Press(WizardCommand::Back);
        w.Press(WizardCommand::Back);
        QCOMPARE(w.Active(), &w.input);
        w.TypePath(w.Write("second.bmp", UnframedPicture()));
        w.Press(WizardCommand::Next);
        QCOMPARE(w.output.path, w.folder / "second.ico");
        QCOMPARE(w.application.store.source.GetCornerFlag(), std::uint8_t{0});
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Control<QLineEdit>(kIconPathEdit)->text(), Q(w.folder / "second.ico"));
    }

    // The corner test decides 32-bit and transparency each time a picture is
    // loaded, over what the user chose; the other depths stay the user's.
    void presetsFollowEachLoadedPicture() {
        InputWizard w;
        const std::string framed = w.Write("framed.bmp", FramedPicture());
        const std::string unframed = w.Write("unframed.bmp", UnframedPicture());

        w.TypePath(framed);
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.format);
        QVERIFY(w.Checked(kAlpha32Box));
        QVERIFY(w.Checked(kTransparentBox));
        QVERIFY(w.Control<QLabel>(kWarningIcon)->isHidden());
        // The user's depths, then back to another picture.
        w.Control<QCheckBox>(kTrueColour24Box)->setChecked(true);
        w.Control<QCheckBox>(kPalette4Box)->setChecked(false);
        w.Press(WizardCommand::Back);
        w.TypePath(unframed);
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.format);
        QVERIFY(!w.Checked(kAlpha32Box));
        QVERIFY(!w.Checked(kTransparentBox));
        QVERIFY(w.Control<QLabel>(kWarningIcon)->isHidden());
        QVERIFY(w.Checked(kTrueColour24Box));
        QVERIFY(w.Checked(kPalette8Box));
        QVERIFY(!w.Checked(kPalette4Box));

        // A user's 32-bit choice on an unframed picture is overridden too.
        w.Control<QCheckBox>(kAlpha32Box)->click();
        QVERIFY(!w.Control<QLabel>(kWarningIcon)->isHidden());
        w.Press(WizardCommand::Back);
        w.Press(WizardCommand::Next);
        QVERIFY(!w.Checked(kAlpha32Box));
        QVERIFY(w.Control<QLabel>(kWarningIcon)->isHidden());
        QCOMPARE(w.format.choices.use32, 0);

        w.Press(WizardCommand::Back);
        w.TypePath(framed);
        w.Press(WizardCommand::Next);
        QVERIFY(w.Checked(kAlpha32Box));
        QVERIFY(w.Checked(kTransparentBox));
        QVERIFY(w.Checked(kTrueColour24Box));
        QVERIFY(!w.Checked(kPalette4Box));
    }

    void browseTakesTheChosenFileAndCancelKeepsThePath() {
        InputWizard w;
        const std::string chosen = w.Write("chosen.bmp", FramedPicture());
        w.TypePath("before.bmp");
        QStringList filters;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            filters = dialog->nameFilters();
            dialog->reject();
        });
        w.Control<QPushButton>(kBrowseButton)->click();
        // Every picture read first, then bitmaps alone, then all files.
        QCOMPARE(filters.size(), 3);
        for (const char* pattern :
             {"*.png", "*.jpg", "*.jpeg", "*.webp", "*.gif", "*.bmp", "*.dib", "*.ico", "*.cur", "*.svg", "*.svgz"})
            QVERIFY2(filters[0].contains(QLatin1String(pattern) + QLatin1Char(' ')) ||
                         filters[0].contains(QLatin1String(pattern) + QLatin1Char(')')),
                     pattern);
        QCOMPARE(filters.mid(1), (QStringList{QStringLiteral("位图文件 (*.bmp)"), QStringLiteral("所有文件 (*.*)")}));
        QCOMPARE(w.Control<QLineEdit>(kBitmapPathEdit)->text(), QStringLiteral("before.bmp"));

        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            dialog->selectFile(Q(chosen));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        w.Control<QPushButton>(kBrowseButton)->click();
        QCOMPARE(w.Control<QLineEdit>(kBitmapPathEdit)->text(), Q(chosen));
    }

    void resourceFiltersBecomeNameFilters_data() {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QStringList>("filters");
        QTest::newRow("patterns already shown")
            << QStringLiteral("位图文件 (*.bmp)|*.bmp|所有文件 (*.*)|*.*||")
            << QStringList{QStringLiteral("位图文件 (*.bmp)"), QStringLiteral("所有文件 (*.*)")};
        QTest::newRow("patterns added, ';' becomes a space")
            << QStringLiteral("Pictures|*.bmp;*.dib||") << QStringList{QStringLiteral("Pictures (*.bmp *.dib)")};
        QTest::newRow("a pair without pattern is dropped")
            << QStringLiteral("Pictures|*.bmp|Other") << QStringList{QStringLiteral("Pictures (*.bmp)")};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void resourceFiltersBecomeNameFilters() {
        QFETCH(QString, resource);
        QFETCH(QStringList, filters);
        QCOMPARE(NameFiltersFromResource(resource), filters);
    }
};

ZENTRO_GUI_TEST_MAIN(InputPageTest)
#include "input_page_test.moc"
