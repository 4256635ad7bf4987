#pragma once

#include <QFont>
#include <QRect>

namespace setup {

// Dialog units of a font: a quarter of its average character width across, an eighth of its
// height down, so a layout drawn in them grows with the font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;

private:
    int baseWidth_;
    int baseHeight_;
};

} // namespace setup
