#include "platform/qt/banner_sheet.h"

#include <QFontMetrics>

#include "platform/qt/app_icon.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/window_handle.h"
#include "platform/string_table.h"
#include "platform/wizard_page.h"

namespace zentro {

namespace {

constexpr int kIconSize = 32;
constexpr int kIconInset = 14;  // from the banner's top and right edges

}  // namespace

BannerSheet::BannerSheet(Rect& pageRect) : pageRect_(pageRect) {}

BannerSheet::~BannerSheet() = default;

bool BannerSheet::OnInitDialog() {
    const bool result = WizardSheet::OnInitDialog();

    // Make room for the banner: the page area loses its top 60 pixels.
    QWidget* tabControl = GetTabControl();
    tabControl->setGeometry(tabControl->geometry().adjusted(0, kBannerHeight, 0, 0));
    if (WizardPage* page = GetActivePage()) {
        pageRect_ = ToRect(AsWidget(page->Handle())->geometry().adjusted(0, kBannerHeight, 0, 0));
        page->MoveWindow(pageRect_);
    }

    const int width = this->width();
    banner_.setParent(this);
    banner_.setGeometry(0, 0, width, kBannerHeight);
    banner_.show();

    const QIcon appIcon = LoadAppIcon();
    icon_.setParent(this);
    icon_.setGeometry(width - kIconSize - kIconInset, kIconInset, kIconSize, kIconSize);
    icon_.setPixmap(appIcon.pixmap(kIconSize, kIconSize));
    icon_.show();

    const QString text = QString::fromUtf8(LoadString(IDS_BANNER_TITLE));
    title_.setParent(this);
    title_.setText(text);
    title_.setGeometry(0, 0, width, kBannerHeight);
    title_.show();

    // Eight points bold in the dialog's face, placed by its measured size so
    // that it is centred vertically in the banner with as much room on its left.
    titleFont_ = font();
    titleFont_.setPixelSize(MulDiv(8, logicalDpiY(), 72));
    titleFont_.setBold(true);
    title_.setFont(titleFont_);
    const QFontMetrics metrics(titleFont_);
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();
    const int offset = (kBannerHeight - textHeight) / 2;
    title_.setGeometry(offset, offset, textWidth, textHeight);

    setWindowIcon(appIcon);
    return result;
}

}  // namespace zentro
