#pragma once
// The program's own texts, by one set of ids in a table per language: the ids
// below 57344 and from 57344 up are the ones its resources have always used, the
// others were added for the command line. The wizard speaks Chinese; the command
// line chooses once at start, by the user's language.
#include <string>
#include <vector>

namespace zentro {

enum StringId : unsigned {
    IDS_FILE_NOT_FOUND = 102,
    IDS_CANNOT_READ = 103,
    IDS_UNSUPPORTED_BITMAP = 104,
    IDS_NO_DIB_MEMORY = 105,
    IDS_NOT_A_BITMAP = 106,
    IDS_NO_FILE_NAME = 107,
    IDS_OVERWRITE = 110,
    IDS_BITMAP_FILTER = 112,
    IDS_BANNER_TITLE = 113,
    IDS_CANNOT_CREATE = 117,
    IDS_CANNOT_WRITE = 119,
    IDS_TOO_SMALL = 120,
    IDS_NO_DEPTH = 121,
    IDS_NO_SIZE = 122,
    IDS_FOLDER_NOT_FOUND = 123,
    IDS_PICTURE_FILTER = 124,

    // Refusals the readers tell apart from running out of memory.
    IDS_PICTURE_TOO_LARGE = 130,
    IDS_FILE_TOO_LARGE = 131,
    IDS_NO_SVG_IN_BUILD = 132,

    // Why the system refused a file: the facts that messages 102, 117 and 119 name.
    IDS_REASON_NO_SUCH_FILE = 140,
    IDS_REASON_NO_SUCH_FOLDER = 141,
    IDS_REASON_IS_A_FOLDER = 142,
    IDS_REASON_NOT_A_REGULAR_FILE = 143,
    IDS_REASON_PERMISSION_DENIED = 144,
    IDS_REASON_READ_ONLY_DISK = 145,
    IDS_REASON_DISK_FULL = 146,
    IDS_REASON_NAME_TOO_LONG = 147,
    IDS_REASON_PATH_NOT_A_FOLDER = 148,
    IDS_REASON_IN_USE = 149,
    IDS_REASON_INPUT_OUTPUT = 150,
    IDS_REASON_UNKNOWN = 151,

    // The command line's own messages.
    IDS_CLI_OUTPUT_IS_FOLDER = 200,
    IDS_CLI_EXISTS = 201,
    IDS_CLI_EXISTS_SKIPPED = 202,
    IDS_CLI_SAME_ICON = 203,
    IDS_CLI_NOT_A_PICTURE_SKIPPED = 204,
    IDS_CLI_NO_PICTURE_IN_FOLDER = 205,
    IDS_CLI_FOLDER_UNREADABLE = 206,
    IDS_CLI_ONE_VECTOR = 207,
    IDS_CLI_NOT_DRAWN = 208,
    IDS_CLI_SUMMARY = 209,
    IDS_CLI_SUMMARY_TIME = 210,
    IDS_CLI_SUMMARY_INTERRUPTED = 211,
    IDS_CLI_ICON_TOO_LARGE = 220,
    IDS_CLI_ICON_CANNOT_OPEN = 221,
    IDS_CLI_ICON_CANNOT_READ = 222,
    IDS_CLI_NOT_AN_ICON = 223,
    IDS_CLI_ENTRY_UNREADABLE = 224,
    IDS_CLI_ENTRY_DAMAGED_PNG = 225,
    IDS_CLI_ENTRY_FAILED = 226,
    IDS_CLI_CANNOT_CREATE = 227,
    IDS_CLI_CANNOT_WRITE = 228,
    IDS_CLI_EXTRACT_NOT_A_FOLDER = 229,
    IDS_CLI_SIZES_LEFT_OUT = 230,
    IDS_CLI_SIZES_LEFT_OUT_OF_SEVERAL = 231,
    IDS_CLI_SET_NOT_A_FOLDER = 240,
    IDS_CLI_SET_FOLDER_IN_THE_WAY = 241,
    IDS_CLI_SET_FILE_LEFT_OUT = 242,
    IDS_CLI_SET_TOO_SMALL = 243,
    IDS_CLI_SET_INTERRUPTED = 244,

    // Usage errors.
    IDS_USAGE_NEEDS_VALUE = 300,
    IDS_USAGE_TAKES_NO_VALUE = 301,
    IDS_USAGE_DEPTHS = 302,
    IDS_USAGE_SIZES = 303,
    IDS_USAGE_TOO_MANY_SIZES = 304,
    IDS_USAGE_PNG = 305,
    IDS_USAGE_EXTRACT_FOLDER = 306,
    IDS_USAGE_OUTPUT_DIR_FOLDER = 307,
    IDS_USAGE_JOBS = 308,
    IDS_USAGE_UNKNOWN_OPTION = 309,
    IDS_USAGE_NO_ICON = 310,
    IDS_USAGE_NO_INPUT = 311,
    IDS_USAGE_ICONS_TAKE_NO_CONVERSION = 312,
    IDS_USAGE_PREVIEWS_ONE_ICON = 313,
    IDS_USAGE_OUTPUT_AND_OUTPUT_DIR = 314,
    IDS_USAGE_EXTRACT_ONE_ICON = 315,
    IDS_USAGE_NO_PNG_IN_BUILD = 316,
    IDS_USAGE_TRY_HELP = 317,
    IDS_USAGE_FIT = 318,
    IDS_USAGE_KEY = 319,
    IDS_USAGE_CLASSIC_STRETCHES = 320,
    IDS_USAGE_SET = 321,
    IDS_USAGE_NAME = 322,
    IDS_USAGE_BACKGROUND = 323,
    IDS_USAGE_SET_NOT_CLASSIC = 324,
    IDS_USAGE_SET_MAKES_ITS_OWN = 325,
    IDS_USAGE_GO_WITH_SET = 326,
    IDS_USAGE_SET_NEEDS_FOLDER = 327,
    IDS_USAGE_SET_NAME = 328,

    IDS_APP_TITLE = 57344,
    IDS_MAIN_SOURCE = 57346,
    IDS_BITMAP_16 = 57347,
    IDS_LARGEST_SIZE_HINT = 57348,
};

enum class Language { Chinese, English };

// The language every text is taken in from now on. The program starts in Chinese;
// the command line sets the user's language (UserLanguage) before it says anything.
void SetLanguage(Language language);
Language CurrentLanguage();

// UTF-8 text of a string-table entry in the current language; an unknown id gives "".
// The Chinese table holds the texts the program has in Chinese; the command line's
// own texts that it has always printed in English are taken from the English one.
const char* LoadString(unsigned id);

// The entry with `args` put in: "%1" to "%9" name an argument, and a table entry's
// printf-style conversions (%s, %i) take the arguments in order from the first,
// so that each language can name the facts it needs in the order it needs them.
// "%%" is a percent sign.
std::string FormatString(unsigned id, const std::vector<std::string>& args);

}  // namespace zentro
