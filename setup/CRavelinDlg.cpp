#include "setup/CRavelinDlg.h"

#include "setup/CXHyperLink.h"
#include "setup/DialogUnits.h"

#include <QDir>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

namespace setup {
namespace {

// The dialog's layout in dialog units.
constexpr int kWidth = 298;
constexpr int kHeight = 193;
constexpr QRect kBanner{0, 0, 533, 55};
constexpr int kIconX[] = {12, 156};
constexpr int kIconY[] = {66, 102, 138};
constexpr int kIconSize = 20;
constexpr int kLinkX[] = {36, 180};
constexpr int kLinkY[] = {72, 108, 144};
constexpr QSize kLinkSize{114, 12};
constexpr int kSeparatorY = 169;
constexpr QRect kClose{246, 174, 50, 16};
constexpr int kLinksPerColumn = 3;
constexpr int kIconPixels = 32;

QRect InUnits(const DialogUnits& units, const QRect& rect) {
    return units.Rect(rect.x(), rect.y(), rect.width(), rect.height());
}

// The banner fills its height and is cut on the right, as a picture wider than the dialog is.
QPixmap BannerPicture(const QSize& size, qreal pixelRatio) {
    QSvgRenderer renderer(QStringLiteral(":/setup/banner.svg"));
    QSize picture = renderer.defaultSize().scaled(size, Qt::KeepAspectRatioByExpanding);
    QPixmap pixmap(size * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), picture));
    return pixmap;
}

} // namespace

CRavelinDlg::CRavelinDlg(const SetupLinks& links, LinkStarter& starter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      starter_(starter) {
    setWindowTitle(QStringLiteral("Setup"));
    setWindowIcon(QIcon(QStringLiteral(":/setup/setup.svg")));
    const DialogUnits units(font());
    setFixedSize(units.X(kWidth), units.Y(kHeight));
    CreateBanner(units);
    for (int n = 1; n <= kLinkCount; ++n) {
        CreateLink(n, links[static_cast<std::size_t>(n - 1)], units);
    }
    CreateSeparatorAndClose(units);
}

CXHyperLink* CRavelinDlg::Link(int n) const {
    return entries_.at(static_cast<std::size_t>(n - 1)).link;
}

QLabel* CRavelinDlg::Icon(int n) const {
    return entries_.at(static_cast<std::size_t>(n - 1)).icon;
}

void CRavelinDlg::CreateBanner(const DialogUnits& units) {
    banner_ = new QLabel(this);
    banner_->setGeometry(InUnits(units, kBanner));
    banner_->setPixmap(BannerPicture(banner_->size(), devicePixelRatio()));
    banner_->setAccessibleName(QStringLiteral("Kestrix banner"));
}

void CRavelinDlg::CreateLink(int n, const SetupLink& content, const DialogUnits& units) {
    const int column = (n - 1) / kLinksPerColumn;
    const int row = (n - 1) % kLinksPerColumn;
    LinkEntry& entry = entries_[static_cast<std::size_t>(n - 1)];
    entry.content = content;

    entry.icon = new QLabel(this);
    entry.icon->setGeometry(units.Rect(kIconX[column], kIconY[row], kIconSize, kIconSize));
    entry.icon->setAlignment(Qt::AlignCenter);
    entry.icon->setAccessibleName(content.text);
    entry.link = new CXHyperLink(this);
    entry.link->setGeometry(
        units.Rect(kLinkX[column], kLinkY[row], kLinkSize.width(), kLinkSize.height()));
    if (content.text.isEmpty()) {
        entry.icon->hide();
        entry.link->hide();
        return;
    }
    entry.link->setText(content.text);
    entry.link->FitToText();
    if (!content.icon.isEmpty()) {
        entry.icon->setPixmap(QIcon(content.icon).pixmap(kIconPixels, kIconPixels));
    }
    connect(entry.link, &QAbstractButton::clicked, this, [this, &entry] { OnLinkClicked(entry); });
}

void CRavelinDlg::CreateSeparatorAndClose(const DialogUnits& units) {
    separator_ = new QFrame(this);
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);
    separator_->setGeometry(0, units.Y(kSeparatorY), width(), std::max(2, units.Y(1)));

    close_ = new QPushButton(QStringLiteral("&Close"), this);
    close_->setGeometry(InUnits(units, kClose));
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void CRavelinDlg::OnLinkClicked(const LinkEntry& entry) {
    if (entry.content.file.isEmpty()) {
        return;
    }
    // Other failures stay silent (the desktop may say why), but a missing file would make the
    // disc look dead.
    if (starter_.Start(entry.content) == LinkStart::Missing) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The file %1 could not be found.")
                                 .arg(QDir::toNativeSeparators(entry.content.file)));
    }
}

} // namespace setup
