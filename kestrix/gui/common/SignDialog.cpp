#include "kestrix/gui/common/SignDialog.h"

#include "kestrix/archive/signing.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::gui {

namespace {

constexpr int kDialogCharacters = 80;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* Buddy(const QString& text, QWidget* field) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    return label;
}

QLabel* Value(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText); // names and reasons come from files and the archive
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

SignDialog::SignDialog(const std::vector<archive::SignedFact>& facts, const QString& signer,
                       SignAction sign, QWidget* parent)
    : QDialog(parent), signAction_(std::move(sign)), meaning_(new QComboBox),
      comment_(new QLineEdit), password_(new QLineEdit), status_(new QLabel),
      sign_(new QPushButton(tr("&Sign"))), close_(new QPushButton(tr("Cancel"))) {
    setObjectName(QStringLiteral("frmDlgSign"));
    setWindowTitle(tr("Sign"));
    meaning_->setObjectName(QStringLiteral("cmbMeaning"));
    comment_->setObjectName(QStringLiteral("txtComment"));
    password_->setObjectName(QStringLiteral("txtPassword"));
    status_->setObjectName(QStringLiteral("lblStatus"));
    sign_->setObjectName(QStringLiteral("cmdSign"));
    sign_->setDefault(true);
    // No meaning is taken for granted: the user says what the signature means.
    for (const char* meaning : archive::SignatureMeanings()) {
        QString caption = QString::fromLatin1(meaning);
        caption[0] = caption[0].toUpper();
        meaning_->addItem(caption, QString::fromLatin1(meaning));
    }
    meaning_->setPlaceholderText(tr("Choose what your signature means"));
    meaning_->setCurrentIndex(-1);
    comment_->setPlaceholderText(tr("optional"));
    password_->setEchoMode(QLineEdit::Password);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(tr("Signed by:"), Value(signer));
    form->addRow(Buddy(tr("&Meaning:"), meaning_), meaning_);
    form->addRow(Buddy(tr("C&omment:"), comment_), comment_);
    form->addRow(Buddy(tr("&Password:"), password_), password_);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(sign_, QDialogButtonBox::ActionRole);
    buttons->addButton(close_, QDialogButtonBox::RejectRole);
    setMinimumWidth(fontMetrics().averageCharWidth() * kDialogCharacters);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeFactsBox(facts));
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sign_, &QPushButton::clicked, this, &SignDialog::Sign);
    connect(meaning_, &QComboBox::currentIndexChanged, this, &SignDialog::UpdateSignButton);
    connect(password_, &QLineEdit::textChanged, this, &SignDialog::UpdateSignButton);
    UpdateSignButton();
    meaning_->setFocus();
}

QWidget* SignDialog::MakeFactsBox(const std::vector<archive::SignedFact>& facts) {
    auto* box = new QGroupBox(tr("What is signed"));
    auto* form = new QFormLayout(box);
    for (const archive::SignedFact& fact : facts) {
        form->addRow(Text(fact.label) + QLatin1Char(':'), Value(Text(fact.value)));
    }
    return box;
}

void SignDialog::UpdateSignButton() {
    sign_->setEnabled(meaning_->currentIndex() >= 0 && !password_->text().isEmpty());
}

void SignDialog::Sign() {
    const std::string password = password_->text().toStdString();
    password_->clear();
    const Reply reply = signAction_(meaning_->currentData().toString().toStdString(),
                                    comment_->text().toStdString(), password);
    QString text = Text(reply.text);
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    status_->setText(text);
    if (reply.signedIt) {
        for (QWidget* field :
             std::initializer_list<QWidget*>{meaning_, comment_, password_, sign_}) {
            field->setEnabled(false);
        }
        close_->setText(tr("Close"));
        close_->setFocus();
    } else {
        password_->setFocus();
    }
}

} // namespace kestrix::gui
