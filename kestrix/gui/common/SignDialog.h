#pragma once

// File > Sign... and the classification dialog's Sign Report...: what is signed, the meaning the
// user gives the signature, an optional comment and the password, asked every time. The dialog
// only shows and asks; signing is the caller's, which answers with the sentence to show. The
// password goes to the caller and is cleared from the field at once; nothing keeps it.

#include "kestrix/archive/signedSummary.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrix::gui {

class SignDialog : public QDialog {
    Q_OBJECT
public:
    struct Reply {
        bool signedIt = false;
        std::string text; // who signed and when, or why nothing was signed
    };
    using SignAction = std::function<Reply(const std::string& meaning, const std::string& comment,
                                           const std::string& password)>;

    SignDialog(const std::vector<archive::SignedFact>& facts, const QString& signer,
               SignAction sign, QWidget* parent = nullptr);

    QComboBox* MeaningList() const { return meaning_; }
    QLineEdit* CommentBox() const { return comment_; }
    QLineEdit* PasswordBox() const { return password_; }
    QPushButton* SignButton() const { return sign_; }
    QLabel* Status() const { return status_; }

private:
    QWidget* MakeFactsBox(const std::vector<archive::SignedFact>& facts);
    void UpdateSignButton();
    void Sign();

    SignAction signAction_;
    QComboBox* meaning_;
    QLineEdit* comment_;
    QLineEdit* password_;
    QLabel* status_;
    QPushButton* sign_;
    QPushButton* close_;
};

} // namespace kestrix::gui
