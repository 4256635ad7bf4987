#include "kestrix/gui/common/Icons.h"

#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace kestrix::gui {
namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48};

QIcon DrawnIcon(const QString& resource, const QColor& color) {
    QIcon icon;
    for (const int size : kIconSizes) {
        const QPixmap pixmap = DrawnPicture(resource, color, QSize(size, size));
        if (pixmap.isNull()) {
            return {};
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QPixmap DrawnPicture(const QString& resource, const QColor& color, QSize size,
                     qreal devicePixelRatio) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray svg = file.readAll();
    svg.replace("currentColor", color.name().toLatin1());
    QSvgRenderer renderer(svg);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // In logical pixels: left to itself the renderer fills the device pixels, twice too large at
    // 200%.
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return pixmap;
}

QIcon ImageIcon(std::string_view imageKey, std::string_view themeName, const QPalette& palette) {
    const QString resource =
        QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(imageKey.data(), imageKey.size()));
    const QIcon drawn =
        imageKey.empty() ? QIcon() : DrawnIcon(resource, palette.color(QPalette::WindowText));
    if (themeName.empty()) {
        return drawn;
    }
    return QIcon::fromTheme(QString::fromLatin1(themeName.data(), themeName.size()), drawn);
}

QIcon ApplicationIcon() {
    return QIcon(QStringLiteral(":/icons/kestrix.svg"));
}

} // namespace kestrix::gui
