#pragma once

// Icons by image key: the desktop theme's icon where a freedesktop name fits, else our own line
// drawing in the palette's text colour, so the program looks complete on a bare system too.

#include <QIcon>
#include <QPixmap>
#include <string_view>

class QPalette;

namespace kestrix::gui {

QIcon ImageIcon(std::string_view imageKey, std::string_view themeName, const QPalette& palette);

// An SVG drawing of ours whose strokes in "currentColor" take the colour given.
QPixmap DrawnPicture(const QString& resource, const QColor& color, QSize size,
                     qreal devicePixelRatio = 1.0);

// The program's own icon.
QIcon ApplicationIcon();

} // namespace kestrix::gui
