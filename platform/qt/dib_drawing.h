#pragma once
// Puts a 24-bit CDib on the screen upright: its stored row 0 is the bottom row
// of the picture, while the screen counts rows from the top.
#include <QSize>

class QPainter;

namespace zentro {

class CDib;

// Draws `dib` with its top-left corner at the painter's origin, at most
// `maxLines` rows high; a taller picture shows its bottom `maxLines` rows.
// Returns the width and the number of lines drawn: 0 x 0 when nothing was
// drawn (no picture, not 24-bit, or no room).
QSize DrawDib(QPainter& painter, const CDib& dib, int maxLines);

}  // namespace zentro
