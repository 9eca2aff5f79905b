#pragma once
// Dialog units: templates place controls in quarters of the dialog font's
// average character width and eighths of its height, so a page keeps its
// proportions whatever font and screen it meets.
#include <QFont>
#include <QRect>

namespace zentro {

// The font of every page and of the sheet: a face that has the Chinese glyphs,
// at the 8 points that the templates were designed for.
QFont DialogFont();

// a * b / c rounded to the nearest integer, halves away from zero, computed
// without overflow; 0 when c is 0.
int MulDiv(int a, int b, int c);

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }
    int ToPixelsX(int units) const { return MulDiv(units, baseX_, 4); }
    int ToPixelsY(int units) const { return MulDiv(units, baseY_, 8); }
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

}  // namespace zentro
