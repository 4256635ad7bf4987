#include "kestrix/gui/main/AboutDialog.h"

#include "kestrix/gui/common/Icons.h"
#include "kestrix/shell/programFiles.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

constexpr int kLogoSize = 64;
constexpr int kLicenseLines = 14;
constexpr int kLicenseColumns = 80;

// The dialog's width that shows the licence's usual line length in its own font beside the
// text box's frame, margins and vertical scroll bar.
int DialogWidthForLicense(const QPlainTextEdit& license, const QMargins& dialogMargins) {
    const int text = license.fontMetrics().horizontalAdvance(QString(kLicenseColumns, u'M'));
    const int box = 2 * license.frameWidth() +
                    2 * static_cast<int>(license.document()->documentMargin()) +
                    license.verticalScrollBar()->sizeHint().width();
    return text + box + dialogMargins.left() + dialogMargins.right();
}

} // namespace

AboutDialog::AboutDialog(const window::ProgramVersion& version, const QString& programFolder,
                         QWidget* parent)
    : QDialog(parent), version_(version), lblVersion_(new QLabel(this)),
      lblArchive_(new QLabel(this)), txtLicense_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmDlgAbout"));
    setWindowTitle(tr("About Kestrix"));

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("picLogo"));
    logo->setPixmap(ApplicationIcon().pixmap(kLogoSize, kLogoSize));
    logo->setAccessibleName(tr("Kestrix logo"));
    auto* header = new QLabel(QStringLiteral("Kestrix :"), this);
    header->setObjectName(QStringLiteral("lblVersionHeader"));
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblVersion_->setText(VersionText());
    lblVersion_->setCursor(Qt::PointingHandCursor);
    lblVersion_->setToolTip(tr("Click to show the short or the detailed version"));
    lblVersion_->installEventFilter(this);
    auto* notice =
        new QLabel(tr("Copyright \u00A9 2026 Orvenda. Released under the MIT License."), this);
    notice->setWordWrap(true);
    auto* licenseHeader = new QLabel(QStringLiteral("License :"), this);
    licenseHeader->setObjectName(QStringLiteral("lblLicense"));
    licenseHeader->setFont(bold);
    licenseHeader->setBuddy(txtLicense_);

    txtLicense_->setObjectName(QStringLiteral("txtLicense"));
    txtLicense_->setAccessibleName(tr("License"));
    txtLicense_->setReadOnly(true);
    // The licence keeps the file's own line breaks: fixed-width, scrolled sideways if need be.
    txtLicense_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtLicense_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLicense_->setMinimumHeight(txtLicense_->fontMetrics().lineSpacing() * kLicenseLines);
    const auto license = window::ReadLicenseText(
        shell::FindProgramFile(programFolder.toStdString(), window::kLicenseFileName));
    txtLicense_->setPlainText(
        QString::fromStdString(license.value_or(window::kLicenseMissingText)));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QGridLayout;
    top->addWidget(logo, 0, 0, 2, 1, Qt::AlignTop);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(header);
    versionRow->addWidget(lblVersion_);
    versionRow->addStretch(1);
    top->addLayout(versionRow, 0, 1);
    top->addWidget(notice, 1, 1);
    lblArchive_->setObjectName(QStringLiteral("lblArchive"));
    lblArchive_->setWordWrap(true);
    lblArchive_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(lblArchive_, 2, 1);
    top->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(licenseHeader);
    layout->addWidget(txtLicense_, 1);
    layout->addWidget(buttons);
    resize(sizeHint().expandedTo(
        QSize(DialogWidthForLicense(*txtLicense_, layout->contentsMargins()), 0)));
}

QString AboutDialog::VersionText() const {
    return QString::fromStdString(window::VersionText(version_, detailed_));
}

QString AboutDialog::LicenseText() const {
    return txtLicense_->toPlainText();
}

void AboutDialog::ToggleDetailedVersion() {
    detailed_ = !detailed_;
    lblVersion_->setText(VersionText());
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblVersion_ && event->type() == QEvent::MouseButtonRelease) {
        ToggleDetailedVersion();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::SetArchivePlace(const QString& place) {
    lblArchive_->setText(tr("Archive: %1").arg(place));
}

} // namespace kestrix::gui
