// Dropping a bitmap file from a file manager on the Input page and on the
// Sizes page's separate 16 x 16 bitmap.
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <filesystem>

#include "gui_test_main.h"
#include "middle_pages.h"
#include "page_wizard.h"
#include "pages/control_ids.h"
#include "support/bmp_builder.h"
#include "support/pictures.h"

using namespace zentro;
using zentro::test::MiddlePages;
using zentro::test::PageWizard;
using zentro::test::TempDir;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> Files(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    return Urls(urls);
}

// Drags `data` over `target` and drops it there, as a file manager would;
// true when the target took the drag and the drop.
bool DragAndDrop(QWidget* target, const QMimeData& data) {
    const QPointF centre = QRectF(target->rect()).center();
    QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(centre, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

struct DropWizard : PageWizard {
    TempDir folder;
    std::string picture = folder / "拖放 picture.bmp";

    DropWizard() {
        zentro::test::WriteFile(picture, zentro::test::Encode24(8, 8, std::vector<std::uint32_t>(64, 0xFFFFFF)));
        Show({&input, &format, &output});
    }
    QLineEdit* Edit() const { return Control<QLineEdit>(kBitmapPathEdit); }
};

// The Sizes page, over a source large enough for every size but 256, with a
// 16 x 16 bitmap to drop.
struct SizesDrop : MiddlePages {
    TempDir folder;
    std::string bitmap16 = folder / "十六 small.bmp";

    SizesDrop() {
        zentro::test::WriteFile(bitmap16, zentro::test::Encode24(16, 16, std::vector<std::uint32_t>(256, 0x123456)));
        zentro::test::DrawDisc(Store().source, 64, 64);
        OpenAtSizes();
        ChooseSizes({false, true, true, false, true});
    }
};

}  // namespace

class FileDropTest : public QObject {
    Q_OBJECT

private slots:
    void fileDroppedOnTheEditIsTakenAsTyped() {
        DropWizard w;
        w.Edit()->setText(QStringLiteral("old text"));
        QSignalSpy edited(w.Edit(), &QLineEdit::textEdited);
        QVERIFY(DragAndDrop(w.Edit(), *Files({Q(w.picture)})));
        QCOMPARE(w.Edit()->text(), Q(w.picture));
        QCOMPARE(edited.count(), 1);
        // Next reads what was dropped, as it would read a typed path.
        w.Press(WizardCommand::Next);
        QCOMPARE(w.Active(), &w.format);
        QCOMPARE(w.output.path, w.folder / "拖放 picture.ico");
    }

    void fileDroppedElsewhereOnThePageGoesIntoTheEdit() {
        DropWizard w;
        QVERIFY(DragAndDrop(test::Window(w.input), *Files({Q(w.picture)})));
        QCOMPARE(w.Edit()->text(), Q(w.picture));
    }

    void dragsWithoutExactlyOneLocalFileAreRefused() {
        DropWizard w;
        w.Edit()->setText(QStringLiteral("kept"));
        const std::string second = w.folder / "second.bmp";
        zentro::test::WriteFile(second, {1});
        for (QWidget* target : {static_cast<QWidget*>(w.Edit()), test::Window(w.input)}) {
            QVERIFY(!DragAndDrop(target, *Files({Q(w.picture), Q(second)})));
            QVERIFY(!DragAndDrop(target, *Urls({QUrl(QStringLiteral("https://example.com/picture.bmp"))})));
            QVERIFY(!DragAndDrop(target, *Files({Q(w.folder.path())})));
            QCOMPARE(w.Edit()->text(), QStringLiteral("kept"));
        }
    }

    void textDragsStayTheEditsOwn() {
        DropWizard w;
        QMimeData text;
        text.setText(QStringLiteral("typed elsewhere"));
        w.Edit()->clear();
        DragAndDrop(w.Edit(), text);
        QCOMPARE(w.Edit()->text(), QStringLiteral("typed elsewhere"));
    }

    void fileDroppedOnThe16x16PathIsTakenAsTyped() {
        SizesDrop w;
        w.Box(kUse16BitmapBox)->click();
        w.PathEdit()->setText(QStringLiteral("old text"));
        QSignalSpy edited(w.PathEdit(), &QLineEdit::textEdited);
        QVERIFY(DragAndDrop(w.PathEdit(), *Files({Q(w.bitmap16)})));
        QCOMPARE(w.PathEdit()->text(), Q(w.bitmap16));
        QCOMPARE(edited.count(), 1);
        // The build reads the dropped file as it would a typed path.
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QVERIFY(w.messages.messages.empty());
        QCOMPARE(w.sizes.choices.bitmap16Path, w.bitmap16);
        QCOMPARE(w.sizes.choices.use16Bitmap, 1);
    }

    void sizesPageTakesNoFileElsewhereNorWhileThePathIsDisabled() {
        SizesDrop w;
        w.PathEdit()->setText(QStringLiteral("kept"));
        // The use-16-bitmap box is clear: the edit can no more take a drop
        // than be typed into.
        QVERIFY(!w.PathEdit()->isEnabled());
        QVERIFY(!DragAndDrop(w.PathEdit(), *Files({Q(w.bitmap16)})));
        w.Box(kUse16BitmapBox)->click();
        QVERIFY(!DragAndDrop(test::Window(w.sizes), *Files({Q(w.bitmap16)})));
        QVERIFY(!DragAndDrop(w.Box(kSize48Box), *Files({Q(w.bitmap16)})));
        QCOMPARE(w.PathEdit()->text(), QStringLiteral("kept"));
    }
};

ZENTRO_GUI_TEST_MAIN(FileDropTest)
#include "file_drop_test.moc"
