#pragma once
// The control ids of the page templates, one table for the pages and for what
// drives them from outside (tests, the screenshot tour). A control's id is also
// its widget's object name. Some ids stand on two pages: 1027 is the 24-bit box
// on Format and the 24 x 24 box on Sizes; 1014 is the bitmap path on Input and
// the 16 x 16 bitmap path on Sizes.

namespace zentro {

enum ControlId : int {
    kBrowseButton = 1002,
    kBitmapPathEdit = 1014,
    kIconPathEdit = 1019,

    kAlpha32Box = 1026,
    kTrueColour24Box = 1027,
    kPalette8Box = 1028,
    kPalette4Box = 1029,
    kTransparentBox = 1032,
    kWarningIcon = 1033,
    kWarningText = 1035,

    kSize256Box = 1037,
    kSize48Box = 1038,
    kSize32Box = 1039,
    kSize24Box = 1027,
    kSize16Box = 1041,
    kOnlyOne256Box = 1042,
    kUse16BitmapBox = 1046,

    kPreviewWindow = 1043,
    kPreviewScrollBar = 1044,

    kPng256Box = 1047,
};

}  // namespace zentro
