// The English texts, written for someone who knows the command line and has never
// seen the wizard: what happened and what to do about it. The file a message is
// about comes before it ("logo.png: no such file").
#include "platform/string_table.h"
#include "platform/string_tables.h"

namespace zentro {

namespace {

constexpr StringEntry kTable[] = {
    // %1: why, one of the reasons below.
    {IDS_FILE_NOT_FOUND, "%1"},
    {IDS_CANNOT_READ, "cannot be read: the file is damaged or cut short"},
    {IDS_UNSUPPORTED_BITMAP, "uses a variant of its format that this program does not read"},
    {IDS_NO_DIB_MEMORY, "not enough memory; fewer --jobs or smaller --sizes need less"},
    // %1: the formats the reader knows.
    {IDS_NOT_A_BITMAP, "not a picture this program reads (%1)"},
    {IDS_NO_FILE_NAME, "no file name given"},
    {IDS_OVERWRITE, "This replaces a file. Do you want to go on?"},
    {IDS_BITMAP_FILTER, "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||"},
    {IDS_BANNER_TITLE, "Quorvan Software - Bitmaps into Icons"},
    // %1: why.
    {IDS_CANNOT_CREATE, "cannot be created: %1"},
    {IDS_CANNOT_WRITE, "could not be written: %1"},
    // %1: what (57346 or 57347), %2 x %3: the size it must reach, %4: 57348 or
    // nothing, %5 x %6: the size it has.
    {IDS_TOO_SMALL, "%5 x %6 cannot make the %2 x %3 image%4"},
    {IDS_NO_DEPTH, "no colour depth to make: --depths names none, or 32 alone without --transparent"},
    {IDS_NO_SIZE, "no size to make: --sizes names none"},
    {IDS_FOLDER_NOT_FOUND, "no such folder"},
    {IDS_PICTURE_FILTER,
     "All pictures (*.png *.jpg *.jpeg *.webp *.gif *.bmp *.dib *.ico *.cur *.svg "
     "*.svgz)|*.png;*.jpg;*.jpeg;*.webp;*.gif;*.bmp;*.dib;*.ico;*.cur;*.svg;*.svgz|Bitmap files (*.bmp)|*.bmp|All "
     "files (*.*)|*.*||"},
    // %1 x %2: the picture's size; %3: the most pixels read, %4: the side of a square of that many.
    {IDS_PICTURE_TOO_LARGE, "%1 x %2 is too large (at most %3 pixels, such as %4 x %4)"},
    // %1: the file's length, %2: the longest file read.
    {IDS_FILE_TOO_LARGE, "%1 bytes is longer than any picture this program reads (at most %2 bytes)"},
    {IDS_NO_SVG_IN_BUILD, "an SVG picture, which this build does not read; convert it to PNG first"},

    {IDS_REASON_NO_SUCH_FILE, "no such file"},
    {IDS_REASON_NO_SUCH_FOLDER, "no such folder"},
    {IDS_REASON_IS_A_FOLDER, "a folder, not a file"},
    {IDS_REASON_NOT_A_REGULAR_FILE, "not a regular file (a pipe or a device)"},
    {IDS_REASON_PERMISSION_DENIED, "permission denied"},
    {IDS_REASON_READ_ONLY_DISK, "the disk is read-only"},
    {IDS_REASON_DISK_FULL, "disk full"},
    {IDS_REASON_NAME_TOO_LONG, "the name is too long"},
    {IDS_REASON_PATH_NOT_A_FOLDER, "a part of the path is not a folder"},
    {IDS_REASON_IN_USE, "in use by another program"},
    {IDS_REASON_INPUT_OUTPUT, "input/output error"},
    {IDS_REASON_UNKNOWN, "the system gave no reason"},

    {IDS_CLI_OUTPUT_IS_FOLDER, "is a folder, not an icon file name"},
    {IDS_CLI_EXISTS, "exists already; use --force to replace it"},
    {IDS_CLI_EXISTS_SKIPPED, "exists; --force replaces it"},
    // %1: the icon, %2: the picture it is made from already.
    {IDS_CLI_SAME_ICON, "its icon %1 is the icon of %2 already"},
    {IDS_CLI_NOT_A_PICTURE_SKIPPED, "skipped, not a picture to convert"},
    {IDS_CLI_NO_PICTURE_IN_FOLDER, "no picture to convert in this folder"},
    {IDS_CLI_FOLDER_UNREADABLE, "cannot be read: %1"},
    {IDS_CLI_ONE_VECTOR, "only one vector picture can go into an icon"},
    // %1: the files and addresses, each in quotes.
    {IDS_CLI_NOT_DRAWN, "refers to %1, left out: files and addresses outside the drawing are never read"},
    {IDS_CLI_SUMMARY, "%1 converted, %2 failed, %3 skipped"},
    {IDS_CLI_SUMMARY_TIME, " in %1 s"},
    {IDS_CLI_SUMMARY_INTERRUPTED, "; interrupted, %1 not converted"},
    {IDS_CLI_ICON_TOO_LARGE, "is larger than 1 GiB, too large for an icon"},
    {IDS_CLI_ICON_CANNOT_OPEN, "cannot be opened for reading: %1"},
    {IDS_CLI_ICON_CANNOT_READ, "could not be read: %1"},
    {IDS_CLI_NOT_AN_ICON, "is not an icon or cursor file: %1"},
    {IDS_CLI_ENTRY_UNREADABLE, "entry %1 cannot be unpacked: --check tells why"},
    {IDS_CLI_ENTRY_DAMAGED_PNG, "entry %1: damaged PNG image"},
    {IDS_CLI_ENTRY_FAILED, "entry %1: %2"},
    {IDS_CLI_CANNOT_CREATE, "cannot be created: %1"},
    {IDS_CLI_CANNOT_WRITE, "could not be written: %1"},
    {IDS_CLI_EXTRACT_NOT_A_FOLDER, "is not a folder and cannot be made one: %1"},
    // %1: the sizes, separated by commas.
    {IDS_CLI_SIZES_LEFT_OUT, "left out %1: the picture is not that large, and pictures are not enlarged"},
    {IDS_CLI_SIZES_LEFT_OUT_OF_SEVERAL, "left out %1: no picture is that large, and pictures are not enlarged"},
    {IDS_CLI_SET_NOT_A_FOLDER, "is not a folder"},
    {IDS_CLI_SET_FOLDER_IN_THE_WAY, "is a folder, where a file of the set goes"},
    {IDS_CLI_SET_FILE_LEFT_OUT, "left out: no picture is that large, and pictures are not enlarged"},
    // %1: the side of the smallest size of the set.
    {IDS_CLI_SET_TOO_SMALL, "too small for every size of the set (%1x%1 at least), and no picture is enlarged"},
    {IDS_CLI_SET_INTERRUPTED, "interrupted; the files written stay"},

    {IDS_USAGE_NEEDS_VALUE, "option %1 needs a value"},
    {IDS_USAGE_TAKES_NO_VALUE, "option %1 takes no value"},
    {IDS_USAGE_DEPTHS, "--depths takes a list from 32,24,8,4"},
    {IDS_USAGE_SIZES, "--sizes takes a list of sizes from 1 to 256, 'windows' or 'favicon'"},
    {IDS_USAGE_TOO_MANY_SIZES, "--sizes takes at most %1 sizes"},
    {IDS_USAGE_PNG, "--png takes none, 256 or all"},
    {IDS_USAGE_EXTRACT_FOLDER, "--extract needs a folder"},
    {IDS_USAGE_OUTPUT_DIR_FOLDER, "--output-dir needs a folder"},
    {IDS_USAGE_JOBS, "--jobs takes a number from 1 to 256"},
    {IDS_USAGE_UNKNOWN_OPTION, "unknown option %1"},
    {IDS_USAGE_NO_ICON, "no icon to read"},
    {IDS_USAGE_NO_INPUT, "no input bitmap"},
    {IDS_USAGE_ICONS_TAKE_NO_CONVERSION, "--list, --check and --extract read icons; they take no conversion options"},
    {IDS_USAGE_PREVIEWS_ONE_ICON, "--previews goes with one icon only: one input, or several with --output"},
    {IDS_USAGE_OUTPUT_AND_OUTPUT_DIR, "--output and --output-dir do not go together"},
    {IDS_USAGE_EXTRACT_ONE_ICON, "--extract goes with one icon only"},
    {IDS_USAGE_NO_PNG_IN_BUILD,
     "this build writes no PNG files: --png 256, --png all, --extract and --set need libpng"},
    {IDS_USAGE_TRY_HELP, "Try 'zentro-cli --help'."},
    {IDS_USAGE_FIT, "--fit takes pad or stretch"},
    {IDS_USAGE_KEY, "--key takes border or everywhere"},
    {IDS_USAGE_CLASSIC_STRETCHES, "--classic stretches every picture: --fit pad does not go with it"},
    {IDS_USAGE_SET, "--set takes a list from windows,mac,linux,web, or all"},
    {IDS_USAGE_NAME, "--name takes a plain file name: not empty, not . or .., without / or \\"},
    {IDS_USAGE_BACKGROUND, "--background takes a colour as #RRGGBB or #RGB"},
    {IDS_USAGE_SET_NOT_CLASSIC,
     "--set follows today's rules, not the classic conversion: --classic does not go with it"},
    {IDS_USAGE_SET_MAKES_ITS_OWN,
     "--set makes its own sizes and formats: it takes no --depths, --sizes, --png, --all-256, --icon16, --previews, "
     "--recursive, --output-dir or --jobs"},
    {IDS_USAGE_GO_WITH_SET, "--name and --background go with --set"},
    {IDS_USAGE_SET_NEEDS_FOLDER, "--set needs the folder to write into: -o FOLDER"},
    // %1: the name the set would have.
    {IDS_USAGE_SET_NAME, "the set's name would be '%1', not a plain file name: give one with --name"},

    {IDS_APP_TITLE, "Ikoblen"},
    {IDS_MAIN_SOURCE, "the main picture"},
    {IDS_BITMAP_16, "the 16 x 16 picture"},
    {IDS_LARGEST_SIZE_HINT, "; choose smaller --sizes"},
};

}  // namespace

std::span<const StringEntry> EnglishStrings() { return kTable; }

}  // namespace zentro
