#include "kestrix/gui/common/ArchiveLoginDialog.h"

#include "kestrix/gui/common/UserDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::gui {

namespace {

constexpr int kDialogCharacters = 72;

} // namespace

ArchiveLoginDialog::ArchiveLoginDialog(const QString& place, bool refused, QWidget* parent)
    : QDialog(parent), password_(new QLineEdit), status_(new QLabel),
      logIn_(new QPushButton(tr("&Log In"))) {
    setObjectName(QStringLiteral("frmDlgArchiveLogin"));
    setWindowTitle(tr("Log In to the Archive"));
    password_->setObjectName(QStringLiteral("txtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    logIn_->setObjectName(QStringLiteral("cmdLogIn"));
    logIn_->setDefault(true);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setText(refused ? tr("The server refused that password.") : QString());
    status_->setVisible(refused);

    auto* intro = new QLabel(tr("The archive server asks for your password. It is kept until "
                                "Kestrix ends and never written anywhere."));
    intro->setWordWrap(true);
    auto* archive = new QLabel(place);
    archive->setTextFormat(Qt::PlainText); // the url comes from the configuration
    archive->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* passwordLabel = new QLabel(tr("&Password:"));
    passwordLabel->setBuddy(password_);
    auto* form = new QFormLayout;
    form->addRow(tr("Archive:"), archive);
    form->addRow(passwordLabel, password_);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(logIn_, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    setMinimumWidth(fontMetrics().averageCharWidth() * kDialogCharacters);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    password_->setFocus();
}

std::optional<std::string> AskArchivePassword(QWidget* parent, UserDialogs& dialogs,
                                              const std::string& place, bool refused) {
    ArchiveLoginDialog dialog(QString::fromStdString(place), refused, parent);
    dialogs.ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.PasswordBox()->text().toStdString();
}

} // namespace kestrix::gui
