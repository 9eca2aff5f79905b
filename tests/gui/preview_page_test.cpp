// The Preview page: the scroll bar walking the entry list with every scroll
// code, and the picture painted upright at the top-left on white.
#include <QScrollBar>
#include <QTest>

#include "gui_test_main.h"
#include "middle_pages.h"
#include "pages/control_ids.h"
#include "support/pictures.h"

using namespace zentro;
using zentro::test::MiddlePages;

namespace {

QScrollBar* ScrollBarOf(const CPreviewPage& page) {
    return test::Window(page)->findChild<QScrollBar*>(QString::number(kPreviewScrollBar));
}

// True when the page shows entry `index` of the list: position, scroll bar and picture agree.
bool Shows(MiddlePages& w, int index) {
    const ImageStore& store = w.Store();
    const std::uint8_t code = store.entries[index];
    CDib expected;
    store.EntryImage(code).ComposePreview(expected, store.EntryMask(code));
    const CDib& shown = w.preview.Preview().PreviewBitmap();
    return w.preview.Preview().position == index && ScrollBarOf(w.preview)->value() == index &&
           shown.Width() == expected.Width() && shown.Height() == expected.Height() &&
           std::equal(shown.Pixels(), shown.Pixels() + shown.GetImageSize(), expected.Pixels());
}

// Nine images: 4-bit, 8-bit and 32-bit at 48, 32 and 16.
void BuildNine(MiddlePages& w) {
    test::DrawDisc(w.Store().source, 64, 64);
    w.format.choices = {0, 1, 1, 1, 1};
    w.OpenAtSizes();
    w.ChooseSizes({false, true, true, false, true});
    w.Next();
}

}  // namespace

class PreviewPageTest : public QObject {
    Q_OBJECT

private slots:
    void activationStartsAtTheFirstEntry() {
        MiddlePages w;
        BuildNine(w);
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QCOMPARE(w.sheet.windowTitle(), QStringLiteral("Ikoblen - 预览"));
        QScrollBar* bar = ScrollBarOf(w.preview);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 8);
        QCOMPARE(bar->pageStep(), 1);
        QVERIFY(bar->isEnabled());
        QVERIFY(Shows(w, 0));
        QVERIFY(w.sheet.Button(WizardCommand::Back)->isEnabled());
        QVERIFY(w.sheet.Button(WizardCommand::Next)->isEnabled());
        QVERIFY(w.sheet.Button(WizardCommand::Next)->isVisible());
    }

    void entriesComeInListOrder() {
        MiddlePages w;
        BuildNine(w);
        QCOMPARE(w.Store().entries, (std::vector<std::uint8_t>{1, 2, 4, 6, 7, 9, 16, 17, 19}));
        const std::array<int, 9> sizes = {48, 32, 16, 48, 32, 16, 48, 32, 16};
        for (int i = 0; i < 9; ++i) {
            QVERIFY2(Shows(w, i), qPrintable(QStringLiteral("entry %1").arg(i)));
            QCOMPARE(w.preview.Preview().PreviewBitmap().Width(), sizes[i]);
            w.preview.OnHScroll(SB_LINERIGHT, 0);
        }
    }

    void scrollCodesStopAtBothEnds() {
        MiddlePages w;
        BuildNine(w);
        w.preview.OnHScroll(SB_LINELEFT, 0);
        QVERIFY(Shows(w, 0));
        w.preview.OnHScroll(SB_PAGELEFT, 0);
        QVERIFY(Shows(w, 0));
        w.preview.OnHScroll(SB_RIGHT, 0);
        QVERIFY(Shows(w, 8));
        w.preview.OnHScroll(SB_LINERIGHT, 0);
        QVERIFY(Shows(w, 8));
        w.preview.OnHScroll(SB_PAGERIGHT, 0);
        QVERIFY(Shows(w, 8));
        w.preview.OnHScroll(SB_PAGELEFT, 0);
        QVERIFY(Shows(w, 7));
        w.preview.OnHScroll(SB_LEFT, 0);
        QVERIFY(Shows(w, 0));
        w.preview.OnHScroll(SB_PAGERIGHT, 0);
        QVERIFY(Shows(w, 1));
        w.preview.OnHScroll(SB_THUMBTRACK, 5);
        QVERIFY(Shows(w, 5));
        w.preview.OnHScroll(SB_THUMBPOSITION, 3);
        QVERIFY(Shows(w, 3));
        w.preview.OnHScroll(SB_ENDSCROLL, 7);
        QVERIFY(Shows(w, 3));
    }

    void scrollBarActionsStepThroughTheEntries() {
        MiddlePages w;
        BuildNine(w);
        QScrollBar* bar = ScrollBarOf(w.preview);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(Shows(w, 1));
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QVERIFY(Shows(w, 2));
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QVERIFY(Shows(w, 8));
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(Shows(w, 8));
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QVERIFY(Shows(w, 7));
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        QVERIFY(Shows(w, 0));
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QVERIFY(Shows(w, 0));
        // Dragging the thumb shows every entry it passes and stays where it is let go.
        bar->setSliderDown(true);
        bar->setSliderPosition(4);
        QVERIFY(Shows(w, 4));
        bar->setSliderPosition(6);
        QVERIFY(Shows(w, 6));
        bar->setSliderDown(false);
        QVERIFY(Shows(w, 6));
    }

    void oneImageKeepsTheFirstPosition() {
        MiddlePages w;
        test::DrawDisc(w.Store().source, 64, 64);
        w.format.choices = {1, 0, 0, 0, 0};
        w.OpenAtSizes();
        w.ChooseSizes({false, false, false, false, true});
        w.Next();
        QCOMPARE(w.Store().entries, (std::vector<std::uint8_t>{14}));
        QScrollBar* bar = ScrollBarOf(w.preview);
        QCOMPARE(bar->maximum(), 0);
        QVERIFY(bar->isEnabled());
        for (int code : {SB_LINERIGHT, SB_PAGERIGHT, SB_RIGHT, SB_LINELEFT, SB_PAGELEFT, SB_LEFT, SB_THUMBTRACK,
                         SB_THUMBPOSITION, SB_ENDSCROLL}) {
            w.preview.OnHScroll(code, 0);
            QVERIFY2(Shows(w, 0), qPrintable(QStringLiteral("code %1").arg(code)));
        }
    }

    void pictureIsUprightAtTheTopLeftOnWhite() {
        MiddlePages w;
        // A 16 x 16 picture: keyed magenta with a red top-left quarter and a
        // blue bottom-right one, so that the key is the bottom-left pixel.
        CDib& source = w.Store().source;
        test::FillPicture(source, 16, 16, 0xFF00FF);
        const std::uint8_t red[3] = {255, 0, 0};
        const std::uint8_t blue[3] = {0, 0, 255};
        for (int x = 0; x < 8; ++x) {
            for (int y = 8; y < 16; ++y) source.SetPixel(x, y, red);
            for (int y = 0; y < 8; ++y) source.SetPixel(x + 8, y, blue);
        }
        w.format.choices = {1, 0, 0, 0, 1};
        w.OpenAtSizes();
        w.ChooseSizes({false, false, false, false, true});
        // A background that must not show through.
        QPalette reddish = test::Window(w.preview)->palette();
        reddish.setColor(QPalette::Window, QColor(200, 0, 0));
        test::Window(w.preview)->setPalette(reddish);
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));

        const QWidget* area = test::Window(w.preview)->findChild<QWidget*>(QString::number(kPreviewWindow));
        QVERIFY(area != nullptr);
        QVERIFY(area->width() > 16 && area->height() > 16);
        const QImage image = const_cast<QWidget*>(area)->grab().toImage();
        const QRgb white = qRgb(255, 255, 255);
        QCOMPARE(image.pixel(3, 3), qRgb(255, 0, 0));    // top-left quarter
        QCOMPARE(image.pixel(12, 12), qRgb(0, 0, 255));  // bottom-right quarter
        QCOMPARE(image.pixel(0, 15), white);             // the keyed bottom-left pixel
        QCOMPARE(image.pixel(12, 3), white);             // keyed
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (x >= 16 || y >= 16) QCOMPARE(image.pixel(x, y), white);
    }

    void fewerSizesAfterBackShowOnlyTheNewEntries() {
        MiddlePages w;
        BuildNine(w);
        w.preview.OnHScroll(SB_THUMBPOSITION, 5);
        w.Back();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kSizes));
        w.ChooseSizes({false, false, false, false, true});
        w.Next();
        QCOMPARE(w.ActiveIndex(), int(MiddlePages::kPreview));
        QCOMPARE(w.Store().entries, (std::vector<std::uint8_t>{4, 9, 19}));
        QCOMPARE(ScrollBarOf(w.preview)->maximum(), 2);
        QVERIFY(Shows(w, 0));
        w.preview.OnHScroll(SB_RIGHT, 0);
        QVERIFY(Shows(w, 2));
    }
};

ZENTRO_GUI_TEST_MAIN(PreviewPageTest)
#include "preview_page_test.moc"
