#pragma once

// The log-in to a server archive, asked once in a run when the server wants a password: which
// archive, the password, and whether the last one was refused. The dialog only asks; the
// password goes to the caller, and nothing keeps it.

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrix::gui {

class UserDialogs;

class ArchiveLoginDialog : public QDialog {
    Q_OBJECT
public:
    ArchiveLoginDialog(const QString& place, bool refused, QWidget* parent = nullptr);

    QLineEdit* PasswordBox() const { return password_; }
    QPushButton* LogInButton() const { return logIn_; }
    QLabel* Status() const { return status_; }

private:
    QLineEdit* password_;
    QLabel* status_;
    QPushButton* logIn_;
};

// Shows the dialog; the password typed, or none when the user cancelled.
std::optional<std::string> AskArchivePassword(QWidget* parent, UserDialogs& dialogs,
                                              const std::string& place, bool refused);

} // namespace kestrix::gui
