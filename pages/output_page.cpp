#include "pages/output_page.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

#include "app/picture_file.h"
#include "pages/control_ids.h"
#include "platform/message.h"
#include "platform/qt/wizard_sheet.h"
#include "platform/string_table.h"

namespace zentro {

namespace {

// Shorter names cannot hold a name and an extension.
constexpr qsizetype kShortestName = 4;

#ifdef _WIN32
// The backslash of a drive root such as C:\ sits here; a folder ends later.
constexpr qsizetype kRootSeparator = 2;
#else
constexpr qsizetype kRootSeparator = 0;
#endif

DialogTemplate OutputTemplate() {
    return {107,
            "Ikoblen - 输出文件",
            210,
            205,
            {
                {ControlKind::Text, kStaticId, "为新图标选择一个名称：", 7, 7, 101, 8},
                {ControlKind::Edit, kIconPathEdit, "", 7, 17, 196, 14, kTabStop},
                {ControlKind::PushButton, kBrowseButton, "浏览文件夹(&B)...", 7, 36, 70, 14, kTabStop},
                {ControlKind::AutoCheckBox, kPng256Box, "以 PNG 格式保存 256x256 图像(&P)", 7, 57, 160, 10, kTabStop},
                {ControlKind::Text, kStaticId, "点击 \"完成\" 创建图标。", 7, 74, 102, 8},
            }};
}

qsizetype LastSeparator(const QString& path) {
    qsizetype at = path.lastIndexOf(QLatin1Char('/'));
#ifdef _WIN32
    at = std::max(at, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return at;
}

}  // namespace

COutputPage::COutputPage(const QRect* pageRect) : CBmpPropertyPage(OutputTemplate(), pageRect) {
    OnClicked(kBrowseButton, [this] { BrowseForFolder(); });
}

bool COutputPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizBack | kWizFinish);
    return CBmpPropertyPage::OnSetActive();
}

bool COutputPage::OnWizardFinish() {
    // Finish runs no data exchange: take the name from the edit itself.
    const QString text = pathEdit_->text();
    path = text.toStdString();
    png256 = png256Box_->checkState() != Qt::Unchecked ? 1 : 0;
    if (text.size() < kShortestName) {
        ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation);
        return false;
    }
    // A file where the folder should be is no folder either: the icon could not be made there.
    const qsizetype separator = LastSeparator(text);
    if (separator > kRootSeparator && !QFileInfo(text.left(separator)).isDir()) {
        ShowMessage(IDS_FOLDER_NOT_FOUND, MessageIcon::Error);
        return false;
    }
    const QFileInfo target(text);
    if (target.exists()) {
        if (target.isDir()) {
            ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation);
            return false;
        }
        if (ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo) != MessageReply::Yes)
            return false;
    }
    return CBmpPropertyPage::OnWizardFinish();
}

void COutputPage::DoDataExchange(DataExchange& dx) {
    DDX_Text(dx, kIconPathEdit, path);
    DDX_Control(dx, kIconPathEdit, pathEdit_);
    DDX_Check(dx, kPng256Box, png256);
    DDX_Control(dx, kPng256Box, png256Box_);
    // Without the decoders there is no PNG encoder either.
    png256Box_->setEnabled(ReadsEveryPicture());
}

void COutputPage::BrowseForFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this);
    if (!folder.isEmpty()) pathEdit_->setText(QDir::toNativeSeparators(folder));
}

}  // namespace zentro
