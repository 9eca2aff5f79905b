// The Output page: the checks on Finish in their order, the overwrite
// question, and the folder browser.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui_test_main.h"
#include "page_wizard.h"
#include "pages/control_ids.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

using namespace zentro;
using zentro::test::MessageRecorder;
using zentro::test::PageWizard;
using zentro::test::TempDir;

namespace {

const std::vector<std::uint8_t> kOldIcon = {'o', 'l', 'd'};

// The Output page alone, with a folder that holds a file "old.ico" and a
// folder "sub"; relative names are taken inside that folder.
struct OutputWizard : PageWizard {
    TempDir folder;
    QString previousCurrent = QDir::currentPath();

    OutputWizard() {
        zentro::test::WriteFile(folder / "old.ico", kOldIcon);
        QDir(Q(folder.path())).mkdir(QStringLiteral("sub"));
        QDir::setCurrent(Q(folder.path()));
        Show({&output});
    }
    ~OutputWizard() { QDir::setCurrent(previousCurrent); }

    static QString Q(const std::string& text) { return QString::fromStdString(text); }
    QLineEdit* Edit() { return Control<QLineEdit>(kIconPathEdit); }
    // Types `text`, presses Finish and tells whether the wizard finished.
    bool Finish(const QString& text) {
        Edit()->setText(text);
        Press(WizardCommand::Finish);
        return !sheet.isVisible() && sheet.result() == kWizardFinished;
    }
};

}  // namespace

class OutputPageTest : public QObject {
    Q_OBJECT

private slots:
    void controlsAndButtons() {
        OutputWizard w;
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Ikoblen - 输出文件"));
        QCOMPARE(w.Control<QPushButton>(kBrowseButton)->text(), QStringLiteral("浏览文件夹(&B)..."));
        QVERIFY(w.sheet.Button(WizardCommand::Finish)->isVisible());
        QVERIFY(!w.sheet.Button(WizardCommand::Next)->isVisible());
    }

    // "<folder>" stands for the test folder's absolute path.
    void refusals_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<unsigned>("message");
        QTest::addColumn<MessageIcon>("icon");
        QTest::newRow("empty") << "" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
        QTest::newRow("three characters") << "a.i" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
        // Characters count, not the bytes of their UTF-8.
        QTest::newRow("three characters, one Chinese")
            << "图.i" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
        QTest::newRow("missing folder") << "missing/x.ico" << unsigned{IDS_FOLDER_NOT_FOUND} << MessageIcon::Error;
        QTest::newRow("missing folder, absolute")
            << "<folder>/missing/x.ico" << unsigned{IDS_FOLDER_NOT_FOUND} << MessageIcon::Error;
        QTest::newRow("missing folder inside a missing one")
            << "missing/deeper/x.ico" << unsigned{IDS_FOLDER_NOT_FOUND} << MessageIcon::Error;
        QTest::newRow("a file as the folder")
            << "old.ico/x.ico" << unsigned{IDS_FOLDER_NOT_FOUND} << MessageIcon::Error;
        QTest::newRow("a directory") << "sub" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
        QTest::newRow("a directory, absolute")
            << "<folder>/sub" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
        QTest::newRow("a directory with a separator")
            << "sub/" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
        QTest::newRow("the root, too short") << "/" << unsigned{IDS_NO_FILE_NAME} << MessageIcon::Exclamation;
    }
    void refusals() {
        QFETCH(QString, where);
        QFETCH(unsigned, message);
        QFETCH(MessageIcon, icon);
        OutputWizard w;
        const QString text = QString(where).replace(QStringLiteral("<folder>"), OutputWizard::Q(w.folder.path()));
        MessageRecorder recorder;
        QVERIFY(!w.Finish(text));
        QCOMPARE(recorder.OnlyId(), message);
        QCOMPARE(recorder.messages[0].icon, icon);
        QCOMPARE(recorder.messages[0].buttons, MessageButtons::Ok);
        QCOMPARE(w.Active(), &w.output);
        QCOMPARE(w.Edit()->text(), text);
        QCOMPARE(OutputWizard::Q(w.output.path), text);
    }

    void namesThatPassFinishUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("four characters, no folder") << "a.ic";
        // ... in UTF-16 units, as the platform counts them: two for this one.
        QTest::newRow("a character beyond the BMP and two") << "𝄞.i";
        QTest::newRow("new file in an existing folder") << "sub/new.ico";
        QTest::newRow("new file, absolute") << "<folder>/sub/new.ico";
        QTest::newRow("any extension") << "sub/icon.bin";
    }
    void namesThatPassFinishUnchanged() {
        QFETCH(QString, text);
        OutputWizard w;
        text.replace(QStringLiteral("<folder>"), OutputWizard::Q(w.folder.path()));
        MessageRecorder recorder;
        QVERIFY(w.Finish(text));
        QVERIFY(recorder.messages.empty());
        QCOMPARE(OutputWizard::Q(w.output.path), text);
    }

    // A name right below the root has no folder to test: only the root would be left.
    void aNameInTheRootSkipsTheFolderTest() {
        OutputWizard w;
        const QString text = QStringLiteral("/zentro-no-such-icon-%1.ico").arg(QCoreApplication::applicationPid());
        QVERIFY(!QFileInfo::exists(text));
        MessageRecorder recorder;
        QVERIFY(w.Finish(text));
        QVERIFY(recorder.messages.empty());
    }

    void overwritingAsksFirst() {
        for (const MessageReply reply : {MessageReply::No, MessageReply::Yes}) {
            OutputWizard w;
            MessageRecorder recorder(reply);
            const bool finished = w.Finish(QStringLiteral("old.ico"));
            QCOMPARE(recorder.OnlyId(), unsigned{IDS_OVERWRITE});
            QCOMPARE(recorder.messages[0].icon, MessageIcon::Exclamation);
            QCOMPARE(recorder.messages[0].buttons, MessageButtons::YesNo);
            QCOMPARE(finished, reply == MessageReply::Yes);
            if (!finished) QCOMPARE(w.Active(), &w.output);
            // The page itself never writes.
            QCOMPARE(zentro::test::ReadFile(w.folder / "old.ico"), kOldIcon);
        }
    }

    void finishAfterRefusalsChecksAgain() {
        OutputWizard w;
        MessageRecorder recorder(MessageReply::No);
        QVERIFY(!w.Finish(QStringLiteral("a.i")));
        QVERIFY(!w.Finish(QStringLiteral("old.ico")));
        QVERIFY(w.Finish(QStringLiteral("sub/x.ico")));
        QCOMPARE(recorder.messages.size(), std::size_t{2});
        QCOMPARE(recorder.messages[1].id, unsigned{IDS_OVERWRITE});
    }

    // The chosen folder replaces the whole name, so Finish then finds a directory.
    void folderBrowserReplacesTheNameAndCancelKeepsIt() {
        OutputWizard w;
        w.Edit()->setText(QStringLiteral("typed.ico"));
        const QString sub = OutputWizard::Q(w.folder / "sub");
        for (const bool accept : {false, true}) {
            bool seen = false;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr) return;
                seen = true;
                if (!accept) return dialog->reject();
                dialog->setDirectory(sub);
                dialog->selectFile(sub);
                QMetaObject::invokeMethod(dialog, "accept");
            });
            w.Control<QPushButton>(kBrowseButton)->click();
            QVERIFY(seen);
            QCOMPARE(w.Edit()->text(), accept ? sub : QStringLiteral("typed.ico"));
        }
        MessageRecorder recorder;
        QVERIFY(!w.Finish(w.Edit()->text()));
        QCOMPARE(recorder.OnlyId(), unsigned{IDS_NO_FILE_NAME});
    }
};

ZENTRO_GUI_TEST_MAIN(OutputPageTest)
#include "output_page_test.moc"
