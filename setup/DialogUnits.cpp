#include "setup/DialogUnits.h"

#include <QFontMetrics>

namespace setup {
namespace {

// The average width of the 52 Latin letters, rounded to the nearest pixel.
int AverageCharacterWidth(const QFontMetrics& metrics) {
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (width / 26 + 1) / 2;
}

int Scale(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
    : baseWidth_(AverageCharacterWidth(QFontMetrics(font))),
      baseHeight_(QFontMetrics(font).height()) {}

int DialogUnits::X(int units) const {
    return Scale(units, baseWidth_, 4);
}

int DialogUnits::Y(int units) const {
    return Scale(units, baseHeight_, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(width), Y(height)};
}

} // namespace setup
