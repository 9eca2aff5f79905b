#include "pages/output_page.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/picture_file.h"
#include "pages/control_ids.h"
#include "platform/message.h"
#include "platform/open_dialog.h"
#include "platform/string_table.h"
#include "platform/utf8_path.h"

namespace zentro {

namespace {

// Shorter names cannot hold a name and an extension.
constexpr std::size_t kShortestName = 4;

#ifdef _WIN32
// The backslash of a drive root such as C:\ sits here; a folder ends later.
constexpr std::size_t kRootSeparator = 2;
#else
constexpr std::size_t kRootSeparator = 0;
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

// The name's length as the platform counts it, in UTF-16 units: a character
// beyond the Basic Multilingual Plane takes two.
std::size_t Utf16Length(const std::string& utf8) {
    std::size_t length = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++length;
        if (byte >= 0xF0) ++length;
    }
    return length;
}

// The byte offset of the last separator, or npos.
std::size_t LastSeparator(const std::string& path) {
#ifdef _WIN32
    return path.find_last_of("/\\");
#else
    return path.rfind('/');
#endif
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(PathFromUtf8(path), error);
}

}  // namespace

COutputPage::COutputPage(const Rect* pageRect) : CBmpPropertyPage(OutputTemplate(), pageRect) {
    OnClicked(kBrowseButton, [this] { BrowseForFolder(); });
}

bool COutputPage::OnSetActive() {
    GetParentSheet()->SetWizardButtons(kWizBack | kWizFinish);
    return CBmpPropertyPage::OnSetActive();
}

bool COutputPage::OnWizardFinish() {
    // Finish runs no data exchange: take the name from the edit itself.
    const std::string text = pathEdit_.Text();
    path = text;
    png256 = png256Box_.IsChecked() ? 1 : 0;
    if (Utf16Length(text) < kShortestName) {
        ShowMessage(IDS_NO_FILE_NAME, MessageIcon::Exclamation);
        return false;
    }
    // A file where the folder should be is no folder either: the icon could not be made there.
    const std::size_t separator = LastSeparator(text);
    if (separator != std::string::npos && Utf16Length(text.substr(0, separator)) > kRootSeparator &&
        !IsFolder(text.substr(0, separator))) {
        ShowMessage(IDS_FOLDER_NOT_FOUND, MessageIcon::Error);
        return false;
    }
    std::error_code error;
    if (std::filesystem::exists(PathFromUtf8(text), error)) {
        if (IsFolder(text)) {
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
    png256Box_.Enable(ReadsEveryPicture());
}

void COutputPage::BrowseForFolder() {
    std::string folder;
    if (ShowFolderDialog(Handle(), folder)) pathEdit_.SetText(folder);
}

}  // namespace zentro
