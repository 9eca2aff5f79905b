// The sheet with its banner and the page base: where things sit, and the page
// index that help reads.
#include <QFontMetrics>
#include <QTest>

#include "app/bmp_icon_app.h"
#include "app/bmp_property_page.h"
#include "gui_test_main.h"
#include "page_widgets.h"
#include "platform/qt/app_icon.h"
#include "platform/qt/banner_sheet.h"
#include "platform/qt/window_handle.h"
#include "platform/string_table.h"

using namespace zentro;

namespace {

DialogTemplate PageTemplate(int id, int height) {
    return {id, "Page " + std::to_string(id), 210, height, {{ControlKind::Text, kStaticId, "text", 7, 7, 100, 8}}};
}

struct BannerWizard {
    CBmpIconApp application;
    Rect pageRect;
    BannerSheet sheet{pageRect};
    CBmpPropertyPage first{PageTemplate(1, 205), &pageRect};
    CBmpPropertyPage second{PageTemplate(2, 248), &pageRect};
    CBmpPropertyPage third{PageTemplate(3, 205), &pageRect};

    BannerWizard() {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
    }
};

}  // namespace

class BmpPropertySheetTest : public QObject {
    Q_OBJECT

private slots:
    void bannerSpansTheTopWithIconAndTitle() {
        BannerWizard w;
        w.sheet.Create();
        const int width = w.sheet.width();
        QCOMPARE(w.sheet.Banner().geometry(), QRect(0, 0, width, 60));
        QCOMPARE(w.sheet.Icon().geometry(), QRect(width - 46, 14, 32, 32));
        QVERIFY(!w.sheet.Icon().pixmap().isNull());
        QVERIFY(!w.sheet.windowIcon().isNull());

        const BannerTitle& title = w.sheet.Title();
        QCOMPARE(title.text(), QString::fromUtf8(LoadString(IDS_BANNER_TITLE)));
        QVERIFY(title.font().bold());
        const QFontMetrics metrics(title.font());
        const int offset = (60 - metrics.height()) / 2;
        QCOMPARE(title.geometry(), QRect(offset, offset, metrics.horizontalAdvance(title.text()), metrics.height()));
        QCOMPARE(title.palette().color(QPalette::Window), title.palette().color(QPalette::Base));
    }

    void bannerIsWindowColourWithEtchedBottomLine() {
        BannerWizard w;
        w.sheet.Create();
        const QImage image = w.sheet.grab().toImage();
        const QPalette& colours = w.sheet.Banner().palette();
        const int x = 2;  // left of the title
        QCOMPARE(image.pixel(x, 1), colours.color(QPalette::Base).rgb());
        QCOMPARE(image.pixel(x, 57), colours.color(QPalette::Base).rgb());
        QCOMPARE(image.pixel(x, 58), colours.color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(x, 59), colours.color(QPalette::Light).rgb());
    }

    void pagesSitBelowTheBanner() {
        // Where a sheet without banner puts the same pages.
        WizardSheet plain;
        WizardPage plainPage(PageTemplate(1, 248));
        plain.AddPage(&plainPage);
        plain.Create();
        const QRect area = plain.GetTabControl()->geometry().adjusted(0, 60, 0, 0);
        plain.reject();

        BannerWizard w;
        w.sheet.Create();
        QCOMPARE(w.sheet.GetTabControl()->geometry(), area);
        // The first page is moved by the sheet, the later ones by their activation.
        QCOMPARE(ToQRect(w.pageRect), area);
        QCOMPARE(test::Window(w.first)->geometry(), area);
        w.sheet.PressButton(WizardCommand::Next);
        QCOMPARE(test::Window(w.second)->geometry(), area);
        test::Window(w.second)->move(0, 0);
        w.sheet.PressButton(WizardCommand::Next);
        w.sheet.PressButton(WizardCommand::Back);
        QCOMPARE(test::Window(w.second)->geometry(), area);
        QVERIFY(area.top() >= w.sheet.Banner().geometry().bottom());
    }

    void activationRecordsThePageIndex() {
        BannerWizard w;
        w.application.store.currentPage = 9;
        w.sheet.Create();
        QCOMPARE(int(w.application.store.currentPage), 0);
        w.sheet.PressButton(WizardCommand::Next);
        w.sheet.PressButton(WizardCommand::Next);
        QCOMPARE(int(w.application.store.currentPage), 2);
        w.sheet.PressButton(WizardCommand::Back);
        QCOMPARE(int(w.application.store.currentPage), 1);
    }

    void programIconHasTheBannerSize() {
        const QIcon icon = LoadAppIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixmap(32, 32).size(), QSize(32, 32));
    }
};

ZENTRO_GUI_TEST_MAIN(BmpPropertySheetTest)
#include "bmp_property_sheet_test.moc"
