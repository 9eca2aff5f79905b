#pragma once
// The list of work a command line names: files as given, folders opened up.
#include <string>
#include <vector>

namespace zentro::cli {

struct BatchItem {
    std::string input;     // the picture's path
    std::string relative;  // its path below the folder it was found in; its own name when named itself
    std::string skipped;   // non-empty: why the file is not converted (the text of its line)
};

// True when the file's first bytes are of a picture the reader takes: any format it
// knows, or with `classicOnly` BMP alone. Icons and cursors do not count: they are what
// a folder's pictures turn into.
bool IsTakenPicture(const std::string& path, bool classicOnly);

struct ScanResult {
    std::vector<BatchItem> items;
    std::vector<std::string> errors;  // folders that could not be read or hold no picture, one line each
};

struct ScanRules {
    bool openFolders = true;   // false: a folder is taken as a file (and refused as one)
    bool recursive = false;    // subfolders too
    bool classicOnly = false;  // BMP alone counts as a picture
};

// Inputs in the order given; each folder's files in order of their paths below it.
// Files named one by one are taken as they are, so that the conversion refuses them
// as it always did; files found in a folder that are not pictures are listed as skipped.
ScanResult ScanInputs(const std::vector<std::string>& inputs, const ScanRules& rules);

}  // namespace zentro::cli
