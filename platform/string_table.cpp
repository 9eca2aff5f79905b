#include "platform/string_table.h"

namespace zentro {

namespace {

struct Entry {
    unsigned id;
    const char* text;
};

constexpr Entry kTable[] = {
    {IDS_FILE_NOT_FOUND, "找不到文件。"},
    {IDS_CANNOT_READ, "无法读取数据。"},
    {IDS_UNSUPPORTED_BITMAP, "不支持的位图格式。"},
    {IDS_NO_DIB_MEMORY, "不能在内存建立一个与设备无关的位图。"},
    {IDS_NOT_A_BITMAP, "不是位图文件。"},
    {IDS_NO_FILE_NAME, "没有输入文件名。"},
    {IDS_OVERWRITE, "这一操作将覆盖一个文件。你想这样做吗？"},
    {IDS_BITMAP_FILTER, "位图文件 (*.bmp)|*.bmp|所有文件 (*.*)|*.*||"},
    {IDS_BANNER_TITLE, "Quorvan软件 - 转换位图文件变图标"},
    {IDS_CANNOT_CREATE, "无法建立文件。"},
    {IDS_CANNOT_WRITE, "无法写入数据。"},
    {IDS_TOO_SMALL, "%s 必须至少 %ix%i 像素%s."},
    {IDS_NO_DEPTH, "没有选择分辨率。"},
    {IDS_NO_SIZE, "没有选择大小。"},
    {IDS_FOLDER_NOT_FOUND, "找不到文件夹。"},
    {IDS_PICTURE_FILTER,
     "所有图片文件 (*.png *.jpg *.jpeg *.webp *.gif *.bmp *.dib *.ico *.cur *.svg "
     "*.svgz)|*.png;*.jpg;*.jpeg;*.webp;*.gif;*.bmp;*.dib;*.ico;*.cur;*.svg;*.svgz|位图文件 (*.bmp)|*.bmp|所有文件 "
     "(*.*)|*.*||"},
    {IDS_APP_TITLE, "Ikoblen"},
    {IDS_MAIN_SOURCE, "主要来源位图"},
    {IDS_BITMAP_16, "16x16设备图象的位图"},
    {IDS_LARGEST_SIZE_HINT, " (选择最大的设备的图象大小 )"},
};

}  // namespace

const char* LoadString(unsigned id) {
    for (const Entry& entry : kTable)
        if (entry.id == id) return entry.text;
    return "";
}

std::string FormatTooSmall(const std::string& what, int width, int height, const std::string& suffix) {
    // Expand the table entry itself so that the text stays where translators keep it.
    const std::string pattern = LoadString(IDS_TOO_SMALL);
    std::string out;
    int number = 0;
    int text = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        char conversion = pattern[++i];
        if (conversion == 's')
            out += (text++ == 0) ? what : suffix;
        else if (conversion == 'i')
            out += std::to_string((number++ == 0) ? width : height);
        else
            out += conversion;
    }
    return out;
}

}  // namespace zentro
