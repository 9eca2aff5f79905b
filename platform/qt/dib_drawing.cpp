#include "platform/qt/dib_drawing.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "image/dib.h"

namespace zentro {

QSize DrawDib(QPainter& painter, const CDib& dib, int maxLines) {
    if (!dib.HasPicture() || dib.BitCount() != 24 || maxLines <= 0) return {0, 0};
    const int lines = std::min(dib.Height(), maxLines);
    // Stored pixels are blue, green, red, as this format keeps them.
    QImage image(dib.Width(), lines, QImage::Format_BGR888);
    if (image.isNull()) return {0, 0};
    const std::size_t rowBytes = static_cast<std::size_t>(dib.Width()) * 3;
    for (int line = 0; line < lines; ++line) std::memcpy(image.scanLine(line), dib.Row(lines - 1 - line), rowBytes);
    painter.drawImage(0, 0, image);
    return {dib.Width(), lines};
}

}  // namespace zentro
