// The Sizes page: its boxes and their enabling, the refusals on Next with the
// messages of the page and of the builder, and the build that runs while the
// wizard keeps painting.
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include "gui_test_main.h"
#include "middle_pages.h"
#include "pages/control_ids.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"
#include "support/pictures.h"

using namespace zentro;
using zentro::test::MiddlePages;

namespace {

const QString kTooSmallForSource = QStringLiteral("主要来源位图 必须至少 256x256 像素 (选择最大的设备的图象大小 ).");
const QString kTooSmall16 = QStringLiteral("16x16设备图象的位图 必须至少 16x16 像素.");

// Answers the file dialog that is about to open: chooses `path`, or cancels when it is empty.
void AnswerFileDialog(const QString& path) {
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) qFatal("no file dialog is open");
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, &QDialog::accept);
    });
}

QString TextOf(const Message& message) { return QString::fromStdString(message.text); }

// A 24-bit BMP file of one colour.
void WritePlainBitmap(const std::string& path, int width, int height, std::uint32_t colour) {
    test::WriteFile(path, test::Encode24(width, height, std::vector<std::uint32_t>(width * height, colour)));
}

}  // namespace

class SizesPageTest : public QObject {
    Q_OBJECT

private slots:
    void firstAppearance() {
        MiddlePages w;
        w.OpenAtSizes();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Ikoblen - 大小"));
        QVERIFY(w.Box(kSize256Box)->isChecked());
        QVERIFY(w.Box(kSize48Box)->isChecked());
        QVERIFY(w.Box(kSize32Box)->isChecked());
        QVERIFY(!w.Box(kSize24Box)->isChecked());
        QVERIFY(w.Box(kSize16Box)->isChecked());
        QVERIFY(w.Box(kOnlyOne256Box)->isChecked());
        QVERIFY(w.Box(kOnlyOne256Box)->isEnabled());
        QVERIFY(!w.Box(kUse16BitmapBox)->isChecked());
        QVERIFY(w.Box(kUse16BitmapBox)->isEnabled());
        QVERIFY(!w.PathEdit()->isEnabled());
        QVERIFY(!w.BrowseButton()->isEnabled());
        // Found by id, with the template's texts.
        QCOMPARE(test::Window(w.sizes)->findChild<QCheckBox*>(QString::number(kUse16BitmapBox))->text(),
                 QStringLiteral("以下为 16x16 大小的图片使用：(&I)"));
        QCOMPARE(test::Window(w.sizes)->findChild<QPushButton*>(QString::number(kBrowseButton))->text(),
                 QStringLiteral("浏览(&B)..."));
    }

    void enablingFollowsTheBoxesAndNeverClearsThem() {
        MiddlePages w;
        w.OpenAtSizes();
        QCheckBox* onlyOne = w.Box(kOnlyOne256Box);
        QCheckBox* use16 = w.Box(kUse16BitmapBox);

        w.Box(kSize256Box)->click();
        QVERIFY(!onlyOne->isEnabled());
        QVERIFY(onlyOne->isChecked());
        w.Box(kSize256Box)->click();
        QVERIFY(onlyOne->isEnabled());

        use16->click();
        QVERIFY(w.PathEdit()->isEnabled());
        QVERIFY(w.BrowseButton()->isEnabled());
        w.Box(kSize16Box)->click();
        QVERIFY(!use16->isEnabled());
        QVERIFY(use16->isChecked());
        QVERIFY(!w.PathEdit()->isEnabled());
        QVERIFY(!w.BrowseButton()->isEnabled());
        w.Box(kSize16Box)->click();
        QVERIFY(use16->isEnabled());
        QVERIFY(w.PathEdit()->isEnabled());
        QVERIFY(w.BrowseButton()->isEnabled());

        // Clearing the 16 box with the second box clear disables all three too.
        use16->click();
        w.Box(kSize16Box)->click();
        QVERIFY(!use16->isEnabled());
        QVERIFY(!w.PathEdit()->isEnabled());
        QVERIFY(!w.BrowseButton()->isEnabled());
    }

    void boxesSettledByTheBuildShowClearedOnReturn() {
        MiddlePages w;
        test::DrawDisc(w.Store().source, 64, 64);
        w.OpenAtSizes();
        w.Box(kSize256Box)->click();
        w.Box(kUse16BitmapBox)->click();
        w.Box(kSize16Box)->click();
        QVERIFY(w.Box(kOnlyOne256Box)->isChecked());
        QVERIFY(w.Box(kUse16BitmapBox)->isChecked());
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QVERIFY(w.messages.messages.empty());
        w.Back();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));
        QVERIFY(!w.Box(kOnlyOne256Box)->isChecked());
        QVERIFY(!w.Box(kOnlyOne256Box)->isEnabled());
        QVERIFY(!w.Box(kUse16BitmapBox)->isChecked());
        QVERIFY(!w.Box(kUse16BitmapBox)->isEnabled());
    }

    void nextWithoutSizeRefusesAndBuildsNothing() {
        MiddlePages w;
        // Too small for every size: a build would say so.
        test::FillPicture(w.Store().source, 8, 8, 0x336699);
        w.OpenAtSizes();
        w.ChooseSizes({false, false, false, false, false});
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));
        QCOMPARE(w.messages.OnlyId(), unsigned(IDS_NO_SIZE));
        QCOMPARE(TextOf(w.messages.messages[0]), QStringLiteral("没有选择大小。"));
        QCOMPARE(w.messages.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(w.sheet.focusWidget(), static_cast<QWidget*>(w.Box(kSize16Box)));
        QVERIFY(w.Store().entries.empty());

        // A second Next tests again.
        w.Next();
        QCOMPARE(w.messages.messages.size(), std::size_t{2});
        QCOMPARE(w.messages.messages[1].id, unsigned(IDS_NO_SIZE));
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));
    }

    void backTestsNothingAndKeepsTheBoxes() {
        MiddlePages w;
        test::FillPicture(w.Store().source, 8, 8, 0x336699);
        w.OpenAtSizes();
        w.ChooseSizes({false, false, false, false, false});
        w.Back();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kFormat));
        QVERIFY(w.messages.messages.empty());
        QCOMPARE(w.sizes.choices.sizes, (std::array<int, kSizeCount>{0, 0, 0, 0, 0}));

        // Back after a refused Next is just as silent.
        w.Next();
        w.Next();
        QCOMPARE(w.messages.OnlyId(), unsigned(IDS_NO_SIZE));
        w.Back();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kFormat));
        QCOMPARE(w.messages.messages.size(), std::size_t{1});
    }

    void sourceTooSmallIsRefusedOnEveryNextUntilTheSizesFit() {
        MiddlePages w;
        test::DrawDisc(w.Store().source, 100, 100);
        w.OpenAtSizes();
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));
        QCOMPARE(w.messages.OnlyId(), unsigned(IDS_TOO_SMALL));
        QCOMPARE(TextOf(w.messages.messages[0]), kTooSmallForSource);
        QCOMPARE(w.messages.messages[0].icon, MessageIcon::Exclamation);

        w.Next();
        QCOMPARE(w.messages.messages.size(), std::size_t{2});
        QCOMPARE(TextOf(w.messages.messages[1]), kTooSmallForSource);

        w.Box(kSize256Box)->click();
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QCOMPARE(w.messages.messages.size(), std::size_t{2});
        // The Format page's defaults (4-bit and 8-bit) at 48, 32 and 16.
        QCOMPARE(w.Store().entries, (std::vector<std::uint8_t>{1, 2, 4, 6, 7, 9}));
    }

    void buildUsesTheFormatPagesChoices() {
        MiddlePages w;
        test::DrawDisc(w.Store().source, 300, 300);
        w.format.choices = {1, 0, 0, 1, 1};  // 24-bit and 32-bit, transparent
        w.OpenAtSizes();
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        // Only the 32-bit kind keeps its 256 x 256 image.
        QCOMPARE(w.Store().entries, (std::vector<std::uint8_t>{11, 12, 14, 15, 16, 17, 19}));
        QVERIFY(w.Store().table32[0].image.HasPicture());
    }

    void separateBitmapFromThePathEdit() {
        test::TempDir folder;
        WritePlainBitmap(folder / "narrow.bmp", 15, 40, 0x00FF00);
        WritePlainBitmap(folder / "green.bmp", 64, 64, 0x00FF00);
        MiddlePages w;
        test::DrawDisc(w.Store().source, 300, 300);
        w.OpenAtSizes();
        w.Box(kUse16BitmapBox)->click();

        w.Next();
        QCOMPARE(w.messages.OnlyId(), unsigned(IDS_NO_FILE_NAME));
        QCOMPARE(w.messages.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(w.Store().entries.empty());

        w.PathEdit()->setText(QString::fromStdString(folder / "missing.bmp"));
        w.Next();
        QCOMPARE(w.messages.messages.size(), std::size_t{2});
        QCOMPARE(w.messages.messages[1].id, unsigned(IDS_FILE_NOT_FOUND));

        w.PathEdit()->setText(QString::fromStdString(folder / "narrow.bmp"));
        w.Next();
        QCOMPARE(w.messages.messages.size(), std::size_t{3});
        QCOMPARE(TextOf(w.messages.messages[2]), kTooSmall16);
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));

        w.PathEdit()->setText(QString::fromStdString(folder / "green.bmp"));
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QCOMPARE(w.sizes.choices.bitmap16Path, folder / "green.bmp");
        // The 16 x 16 images are the green bitmap's; the 32 x 32 ones the source's.
        std::uint8_t colour[3];
        w.Store().table24[4].image.GetPixel(8, 8, colour);
        QCOMPARE((std::array<int, 3>{colour[0], colour[1], colour[2]}), (std::array<int, 3>{0, 255, 0}));
        w.Store().table24[2].image.GetPixel(16, 16, colour);
        QVERIFY(colour[1] != 255);
    }

    void browseReplacesThePathOnlyWhenAFileIsChosen() {
        test::TempDir folder;
        const QString chosen = QString::fromStdString(folder / "small.bmp");
        WritePlainBitmap(folder / "small.bmp", 16, 16, 0x0000FF);
        MiddlePages w;
        w.OpenAtSizes();
        w.Box(kUse16BitmapBox)->click();
        w.PathEdit()->setText(QStringLiteral("typed.bmp"));
        AnswerFileDialog(QString());
        w.BrowseButton()->click();
        QCOMPARE(w.PathEdit()->text(), QStringLiteral("typed.bmp"));
        AnswerFileDialog(chosen);
        w.BrowseButton()->click();
        QCOMPARE(w.PathEdit()->text(), chosen);
    }

    void wizardKeepsWorkingWhileTheBuildRuns() {
        MiddlePages w;
        // Large enough that the build takes a good while.
        test::DrawDisc(w.Store().source, 2048, 2048);
        w.format.choices = {1, 1, 1, 1, 1};
        w.OpenAtSizes();
        w.ChooseSizes({true, true, true, true, true});

        int ticks = 0;
        bool busyCursor = false;
        QTimer timer;
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            const QCursor* cursor = QApplication::overrideCursor();
            busyCursor = busyCursor || (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
            if (ticks != 1) return;
            // Nothing the user does reaches the wizard meanwhile.
            QTest::mouseClick(w.sheet.Button(WizardCommand::Back), Qt::LeftButton);
            QTest::keyClick(&w.sheet, Qt::Key_Escape);
            w.sheet.close();
        });
        timer.start();
        w.Next();
        timer.stop();

        QVERIFY2(ticks > 0, "the GUI thread processed no events during the build");
        QVERIFY(busyCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(w.sheet.isVisible());
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QVERIFY(w.messages.messages.empty());
        QCOMPARE(w.Store().entries.size(), std::size_t{17});
    }
};

ZENTRO_GUI_TEST_MAIN(SizesPageTest)
#include "sizes_page_test.moc"
