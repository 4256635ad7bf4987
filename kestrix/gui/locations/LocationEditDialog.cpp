#include "kestrix/gui/locations/LocationEditDialog.h"

#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/locations/fixedWidthNames.h"
#include "kestrix/locations/locationNameRules.h"
#include "kestrix/shell/locationNameKeys.h"
#include "kestrix/shell/modConfig.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace kestrix::gui {
namespace {

const QString kInstruction = QStringLiteral(
    "Enter a Long Name and a Short Name.\n\n"
    "The Long Name is the name that will appear for that location in Kestrix.\n\n"
    "The Short Name is the name that will appear for that location on the instrument if that "
    "instrument supports alphanumerical locations.   The Short Name must have the following "
    "properties: \n"
    "-It can be only composed of Capital letters A-Z, numbers, and underscore.\n"
    "-It cannot have any spaces.\n"
    "-It can only be 8 characters or shorter.\n"
    "-Each Short Name must be unique.\n"
    "-The Short Name at index 000 will not be uploaded to the instrument.");

QString Filtered(const QString& text) {
    return QString::fromStdString(locations::FilterShortNameInput(text.toStdString()));
}

// Typed and pasted text alike: upper case, underscores for spaces, nothing else, and cut to the
// short name's length only after filtering, so that a pasted dot does not push a letter out.
class ShortNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        const auto length = static_cast<qsizetype>(modConfig::kShortNameMaxChars);
        position = static_cast<int>(std::min(Filtered(input.left(position)).size(), length));
        input = Filtered(input).left(length);
        return Acceptable;
    }
};

} // namespace

LocationEditDialog::LocationEditDialog(modConfig::ConfigStore& store, UserDialogs& dialogs,
                                       QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs), txtName_(new QLineEdit(this)),
      txtShortName_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmDlgLocationSetup"));
    setWindowTitle(QStringLiteral("Location Name"));
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setMaxLength(static_cast<int>(modConfig::kLongNameMaxChars));
    txtShortName_->setObjectName(QStringLiteral("txtShortName"));
    txtShortName_->setValidator(new ShortNameValidator(txtShortName_));

    auto* instruction = new QLabel(kInstruction, this);
    instruction->setWordWrap(true);
    auto* form = new QFormLayout;
    auto* longLabel = new QLabel(QStringLiteral("Long Name :"), this);
    auto* shortLabel = new QLabel(QStringLiteral("Short Name:"), this);
    longLabel->setBuddy(txtName_);
    shortLabel->setBuddy(txtShortName_);
    txtName_->setAccessibleName(QStringLiteral("Long Name"));
    txtShortName_->setAccessibleName(QStringLiteral("Short Name"));
    form->addRow(longLabel, txtName_);
    form->addRow(shortLabel, txtShortName_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &LocationEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LocationEditDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 72);
}

void LocationEditDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The title names the location, as the list's Number column does.
    setWindowTitle(QStringLiteral("Location Name ") +
                   QString::fromStdString(locationNames::ThreeDigitKey(index_)));
    txtName_->setText(QString::fromStdString(store_.GetLongLocationName(index_)));
    txtShortName_->setText(
        QString::fromStdString(locations::TrimAtNul(store_.GetShortLocationName(index_))));
    txtName_->setFocus();
    okClicked_ = false;
}

void LocationEditDialog::Refuse(const QString& message, const QString& title, QLineEdit* box) {
    dialogs_.Message(this, {message,
                            title,
                            title == QLatin1String("Configuration Error") ? QMessageBox::Warning
                                                                          : QMessageBox::Critical,
                            QMessageBox::Ok,
                            {}});
    box->setFocus();
}

void LocationEditDialog::accept() {
    const std::string shortName = txtShortName_->text().toStdString();
    const std::string longName = txtName_->text().toStdString();
    if (const auto problem = locations::CheckLocationNames(store_, index_, shortName, longName)) {
        Refuse(QString::fromStdString(problem->message), QStringLiteral("Configuration Error"),
               problem->field == locations::NameField::ShortName ? txtShortName_ : txtName_);
        return;
    }
    if (Store()) {
        okClicked_ = true;
        hide();
    }
}

bool LocationEditDialog::Store() {
    const std::string oldLong = store_.GetLongLocationName(index_);
    const std::string longName = txtName_->text().toStdString();
    const std::string shortName = txtShortName_->text().trimmed().toStdString();
    if (longName != oldLong && !store_.SetLongLocationName(index_, longName)) {
        Refuse(QStringLiteral("Error storing location Long Name!"),
               QStringLiteral("Internal Error"), txtName_);
        return false;
    }
    if (shortName != locations::TrimAtNul(store_.GetShortLocationName(index_)) &&
        !store_.SetShortLocationName(index_, shortName)) {
        store_.SetLongLocationName(index_, oldLong);
        Refuse(QStringLiteral("Error storing location Short Name!"),
               QStringLiteral("Internal Error"), txtShortName_);
        return false;
    }
    return true;
}

void LocationEditDialog::reject() {
    okClicked_ = false;
    hide();
}

} // namespace kestrix::gui
