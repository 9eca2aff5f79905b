#include "codecs/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "codecs/picture_rows.h"
#include "platform/string_table.h"

namespace zentro::codecs {

namespace {

struct MemoryInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), input->size - input->offset);
    std::memcpy(out, input->data + input->offset, n);
    input->offset += n;
    return static_cast<int>(n);
}

unsigned IdForError(int error) { return error == D_GIF_ERR_NOT_ENOUGH_MEM ? IDS_NO_DIB_MEMORY : IDS_CANNOT_READ; }

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// Reads records up to the first image's descriptor; the last graphic control
// block before it gives the transparent index (-1 for none).
unsigned ReadUpToFirstImage(GifFileType* gif, int& transparent) {
    transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return IdForError(gif->Error);
        if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_ERROR ? IdForError(gif->Error) : 0;
        if (type == TERMINATE_RECORD_TYPE) return IDS_CANNOT_READ;
        if (type != EXTENSION_RECORD_TYPE) continue;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return IdForError(gif->Error);
        GraphicsControlBlock control;
        if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
            DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
        while (block != nullptr)
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return IdForError(gif->Error);
    }
}

void PutColour(const ColorMapObject* map, int index, std::uint8_t* bgr) {
    if (index < map->ColorCount) {
        const GifColorType& c = map->Colors[index];
        bgr[0] = c.Blue;
        bgr[1] = c.Green;
        bgr[2] = c.Red;
    }
}

unsigned DecodeFrame(GifFileType* gif, int transparent, Picture& picture) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (map == nullptr) return IDS_UNSUPPORTED_BITMAP;
    // A frame reaching past the screen widens it rather than losing pixels.
    const std::uint64_t width = std::max<std::uint64_t>(gif->SWidth, std::uint64_t(frame.Left) + frame.Width);
    const std::uint64_t height = std::max<std::uint64_t>(gif->SHeight, std::uint64_t(frame.Top) + frame.Height);
    const bool covers = frame.Left == 0 && frame.Top == 0 && frame.Width == int(width) && frame.Height == int(height);
    const bool hasAlpha = transparent != NO_TRANSPARENT_COLOR || !covers;
    if (const unsigned id = CreatePicture(picture, width, height, hasAlpha)) return id;

    if (!covers && gif->SColorMap != nullptr) {
        std::uint8_t background[3] = {0, 0, 0};
        PutColour(gif->SColorMap, gif->SBackGroundColor, background);
        for (int y = 0; y < picture.colour.Height(); ++y) {
            std::uint8_t* row = ColourRowFromTop(picture, y);
            for (int x = 0; x < picture.colour.Width(); ++x) std::memcpy(row + 3 * x, background, 3);
        }
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    // Interlaced frames store every 8th row from 0, then from 4, every 4th from 2, every 2nd from 1.
    const int firstRows[] = {0, 4, 2, 1}, rowSteps[] = {8, 8, 4, 2};
    const int passes = frame.Width == 0 ? 0 : frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int step = frame.Interlace ? rowSteps[pass] : 1;
        for (int r = frame.Interlace ? firstRows[pass] : 0; r < frame.Height; r += step) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return IdForError(gif->Error);
            const int y = frame.Top + r;
            std::uint8_t* colour = ColourRowFromTop(picture, y) + 3 * frame.Left;
            std::uint8_t* alpha = hasAlpha ? AlphaRowFromTop(picture, y) + frame.Left : nullptr;
            for (int x = 0; x < frame.Width; ++x, colour += 3) {
                // Indexes past the table are black, as in a bitmap's short palette.
                colour[0] = colour[1] = colour[2] = 0;
                PutColour(map, line[x], colour);
                if (alpha != nullptr) alpha[x] = line[x] == transparent ? 0 : 255;
            }
        }
    }
    return 0;
}

}  // namespace

unsigned DecodeGif(const std::uint8_t* data, std::size_t size, Picture& picture) {
    return DecodeWhole(picture, [&] {
        MemoryInput input{data, size, 0};
        int error = 0;
        const GifFile gif(DGifOpen(&input, ReadFromMemory, &error));
        if (gif == nullptr) return IdForError(error);
        int transparent = NO_TRANSPARENT_COLOR;
        unsigned id = ReadUpToFirstImage(gif.get(), transparent);
        return id != 0 ? id : DecodeFrame(gif.get(), transparent, picture);
    });
}

}  // namespace zentro::codecs
