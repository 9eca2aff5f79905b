// The Chinese texts: the wizard's, byte for byte, and those of the command line's
// messages that have a Chinese text. A refusal the command line tells apart from
// an older one (a picture too large rather than memory short) keeps the older text.
#include "platform/string_table.h"
#include "platform/string_tables.h"

namespace zentro {

namespace {

constexpr StringEntry kTable[] = {
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
    {IDS_PICTURE_TOO_LARGE, "不能在内存建立一个与设备无关的位图。"},
    {IDS_FILE_TOO_LARGE, "不能在内存建立一个与设备无关的位图。"},
    {IDS_NO_SVG_IN_BUILD, "不支持的位图格式。"},
    {IDS_CLI_EXISTS_SKIPPED, "已存在；用 --force 可替换它。"},
    {IDS_CLI_NOT_DRAWN, "引用了 %1，未绘制：从不读取绘图之外的文件和网址。"},
    {IDS_CLI_SIZES_LEFT_OUT, "未生成 %1：图片没有这么大，图片不会被放大。"},
    {IDS_CLI_SIZES_LEFT_OUT_OF_SEVERAL, "未生成 %1：没有这么大的图片，图片不会被放大。"},
    {IDS_CLI_SET_NOT_A_FOLDER, "不是文件夹。"},
    {IDS_CLI_SET_FOLDER_IN_THE_WAY, "是一个文件夹，图标集的文件应放在这里。"},
    {IDS_CLI_SET_FILE_LEFT_OUT, "未生成：没有这么大的图片，图片不会被放大。"},
    {IDS_CLI_SET_TOO_SMALL, "对图标集的每个大小都太小（至少 %1x%1），图片不会被放大。"},
    {IDS_CLI_SET_INTERRUPTED, "已中断；已写入的文件保留。"},
    {IDS_APP_TITLE, "Ikoblen"},
    {IDS_MAIN_SOURCE, "主要来源位图"},
    {IDS_BITMAP_16, "16x16设备图象的位图"},
    {IDS_LARGEST_SIZE_HINT, " (选择最大的设备的图象大小 )"},
};

}  // namespace

std::span<const StringEntry> ChineseStrings() { return kTable; }

}  // namespace zentro
