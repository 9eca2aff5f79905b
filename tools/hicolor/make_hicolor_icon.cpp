// Build tool: draws the program icon at one size for the desktop's icon theme.
//   make_hicolor_icon PICTURE.bmp SIZE OUT.png
// The picture is opaque; it is scaled by the same area averaging as the icon
// images, up as well as down (the theme wants 256 pixels from a smaller picture).
#include <cstdlib>
#include <iostream>
#include <string>

#include "image/dib.h"
#include "platform/file.h"
#include "platform/message.h"
#include "tools/hicolor/png_writer.h"

int main(int argc, char** argv) {
    using namespace zentro;
    if (argc != 4) {
        std::cerr << "usage: make_hicolor_icon PICTURE.bmp SIZE OUT.png\n";
        return 2;
    }
    const std::string picturePath = argv[1];
    const int size = std::atoi(argv[2]);
    const std::string outputPath = argv[3];
    ScopedMessageHandler messages([&picturePath](const Message& m) {
        std::cerr << "make_hicolor_icon: " << picturePath << ": " << m.text << "\n";
        return MessageReply::Ok;
    });
    if (size < 1 || size > 1024) {
        std::cerr << "make_hicolor_icon: size " << argv[2] << " is not between 1 and 1024\n";
        return 2;
    }

    CDib picture;
    if (!picture.Load(picturePath)) return 1;
    CDib keyMask;
    CDib image;
    CDib mask;
    if (!picture.BuildKeyMask(keyMask, 0) || !picture.Resample(image, size, size, 0, keyMask, mask)) {
        std::cerr << "make_hicolor_icon: out of memory\n";
        return 1;
    }
    ReplacingFile file;
    if (!file.Open(outputPath)) {
        std::cerr << "make_hicolor_icon: cannot create " << outputPath << "\n";
        return 1;
    }
    try {
        tools::WritePng(file, image);
        file.Commit();
    } catch (const FileError&) {
        std::cerr << "make_hicolor_icon: cannot write " << outputPath << "\n";
        return 1;
    }
    return 0;
}
