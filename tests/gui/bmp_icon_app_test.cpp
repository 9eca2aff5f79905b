// The driver: the command line's file on the Input page, the write on Finish
// and none on Cancel, and the help reference of every page.
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <array>

#include "app/bmp_icon_app.h"
#include "gui_test_main.h"
#include "modal_script.h"
#include "page_widgets.h"
#include "pages/control_ids.h"
#include "platform/qt/html_help.h"

using namespace zentro;
using zentro::test::OnModalWizard;

namespace {

// A bitmap that every page accepts.
const QString kSample = QStringLiteral(ZENTRO_SOURCE_DIR "/res/sample/sample.bmp");
constexpr std::array<const char*, 5> kTopics = {"Input", "Format", "Sizes", "Preview", "Output"};

class RecordingApp : public CBmpIconApp {
public:
    struct Write {
        std::string path;
        FormatChoices format;
        SizeChoices sizes;
    };
    std::vector<Write> writes;

    bool WriteIconFile(const std::string& path, const FormatChoices& format, const SizeChoices& sizes, bool) override {
        writes.push_back({path, format, sizes});
        return true;
    }
};

QLineEdit* EditOf(WizardSheet& sheet, int id) { return test::DlgItem<QLineEdit>(*sheet.GetActivePage(), id); }

void GoToPage(WizardSheet& sheet, int index) {
    while (sheet.GetActiveIndex() < index) {
        const int before = sheet.GetActiveIndex();
        sheet.PressButton(WizardCommand::Next);
        if (sheet.GetActiveIndex() == before) return;
    }
}

std::string ExpectedReference(const char* topic) {
    return (QCoreApplication::applicationDirPath() + QStringLiteral("/Zentro.chm::/") + QLatin1String(topic) +
            QStringLiteral(".html"))
        .toStdString();
}

}  // namespace

class BmpIconAppTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineFileShowsOnTheInputPage() {
        RecordingApp app;
        app.SetArguments({kSample.toStdString()});
        QString shown;
        QString title;
        OnModalWizard([&](WizardSheet& sheet) {
            title = sheet.windowTitle();
            shown = EditOf(sheet, kBitmapPathEdit)->text();
        });
        QCOMPARE(app.InitInstance(), false);
        QCOMPARE(shown, kSample);
        QCOMPARE(title, QStringLiteral("Ikoblen - 输入文件"));
        QVERIFY(app.writes.empty());
    }

    void withoutArgumentsThePathIsEmpty() {
        RecordingApp app;
        QString shown = QStringLiteral("unset");
        OnModalWizard([&](WizardSheet& sheet) { shown = EditOf(sheet, kBitmapPathEdit)->text(); });
        app.InitInstance();
        QCOMPARE(shown, QString());
    }

    void pagesComeInWizardOrder() {
        RecordingApp app;
        app.SetArguments({kSample.toStdString()});
        QStringList titles;
        OnModalWizard([&](WizardSheet& sheet) {
            for (int i = 0; i < sheet.GetPageCount(); ++i) {
                GoToPage(sheet, i);
                titles << sheet.windowTitle();
            }
        });
        app.InitInstance();
        QCOMPARE(titles, (QStringList{QStringLiteral("Ikoblen - 输入文件"), QStringLiteral("Ikoblen - 格式"),
                                      QStringLiteral("Ikoblen - 大小"), QStringLiteral("Ikoblen - 预览"),
                                      QStringLiteral("Ikoblen - 输出文件")}));
    }

    void cancelWritesNothing() {
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("out.ico"));
        RecordingApp app;
        app.SetArguments({kSample.toStdString()});
        int reached = -1;
        OnModalWizard([&](WizardSheet& sheet) {
            GoToPage(sheet, 4);
            reached = sheet.GetActiveIndex();
            EditOf(sheet, kIconPathEdit)->setText(target);
            sheet.PressButton(WizardCommand::Cancel);
        });
        app.InitInstance();
        QCOMPARE(reached, 4);
        QVERIFY(app.writes.empty());
        QVERIFY(!QFile::exists(target));

        OnModalWizard([](WizardSheet& sheet) { QTest::keyClick(&sheet, Qt::Key_Escape); });
        app.InitInstance();
        QVERIFY(app.writes.empty());
    }

    void finishWritesOnceWithThePagesChoices() {
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("out.ico"));
        RecordingApp app;
        app.SetArguments({kSample.toStdString()});
        OnModalWizard([&](WizardSheet& sheet) {
            GoToPage(sheet, 1);
            test::DlgItem<QCheckBox>(*sheet.GetActivePage(), kTrueColour24Box)->setChecked(true);
            GoToPage(sheet, 4);
            EditOf(sheet, kIconPathEdit)->setText(target);
            sheet.PressButton(WizardCommand::Finish);
        });
        app.InitInstance();
        QCOMPARE(app.writes.size(), std::size_t{1});
        QCOMPARE(app.writes[0].path, target.toStdString());
        QCOMPARE(app.writes[0].format.use24, 1);
        QCOMPARE(app.writes[0].sizes.sizes, (std::array<int, kSizeCount>{1, 1, 1, 0, 1}));
        QCOMPARE(app.writes[0].sizes.onlyOne256, 1);
    }

    void helpOpensTheTopicOfTheActivePage() {
        RecordingApp app;
        app.SetArguments({kSample.toStdString()});
        std::vector<std::string> references;
        QStringList resources;
        OnModalWizard([&](WizardSheet& sheet) {
            for (int i = 0; i < sheet.GetPageCount(); ++i) {
                GoToPage(sheet, i);
                if (i % 2 == 0)
                    sheet.PressButton(WizardCommand::Help);
                else {
                    // The viewer took the activation; F1 belongs to the wizard's window.
                    sheet.activateWindow();
                    // The viewer's window counts as the sheet's for qWaitForWindowActive,
                    // so wait for the widgets to see the sheet active.
                    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&sheet));
                    QTest::keyClick(&sheet, Qt::Key_F1);
                }
                HelpViewer* viewer = HelpViewer::Instance();
                references.push_back(viewer != nullptr && viewer->isVisible() ? viewer->Reference() : "");
                resources << (viewer != nullptr ? viewer->Resource() : QString());
            }
        });
        app.InitInstance();
        QCOMPARE(references.size(), kTopics.size());
        for (std::size_t i = 0; i < kTopics.size(); ++i) {
            QCOMPARE(references[i], ExpectedReference(kTopics[i]));
            QCOMPARE(resources[int(i)],
                     QStringLiteral(":/help/Zentro.chm/") + QLatin1String(kTopics[i]) + QStringLiteral(".html"));
        }
    }

    void helpBeforeAnyPageOpensInput() {
        RecordingApp app;
        app.WinHelp(0, 0);
        QVERIFY(HelpViewer::Instance() != nullptr);
        QCOMPARE(HelpViewer::Instance()->Reference(), ExpectedReference("Input"));
        HelpViewer::Instance()->close();
        QTRY_VERIFY(HelpViewer::Instance() == nullptr);
    }

    void helpForAnIndexWithoutTopicOpensNothing() {
        RecordingApp app;
        app.store.currentPage = 5;
        app.WinHelp(0, 0);
        QVERIFY(HelpViewer::Instance() == nullptr);
    }
};

ZENTRO_GUI_TEST_MAIN(BmpIconAppTest)
#include "bmp_icon_app_test.moc"
