#include "AboutBox.h"

#include "TolvexDialogs.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

namespace tolvex {
namespace {

constexpr int kIconSize = 32;

// The control's icon drawn in the palette's text colour, so it suits a dark theme too.
QPixmap ControlIcon(const QColor& colour, qreal pixelRatio) {
    QFile file(QStringLiteral(":/tolvex/tolvex.svg"));
    file.open(QIODevice::ReadOnly);
    QSvgRenderer renderer(file.readAll().replace("currentColor", colour.name().toLatin1()));
    QPixmap pixmap(QSize(kIconSize, kIconSize) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, kIconSize, kIconSize));
    return pixmap;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Tolvex Control"));
    auto* icon = new QLabel;
    icon->setPixmap(ControlIcon(palette().color(QPalette::WindowText), devicePixelRatio()));
    icon->setAccessibleName(QStringLiteral("Tolvex control icon"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(QStringLiteral("TOLVEX Control, Version 1.21")), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral(
                          "Modbus master library of Kestrix. Copyright \u00a9 2026 Orvenda")),
                      1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowAboutBox(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

} // namespace tolvex
