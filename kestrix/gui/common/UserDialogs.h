#pragma once

// Every message box, file dialog, print dialog and outside program the windows use goes through
// this interface: the program shows Qt's dialogs (QtUserDialogs), tests answer from a script.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

namespace kestrix::gui {

struct MessageRequest {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QString detail; // the reason behind the message, shown on request
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; // none: the style's choice
};

struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString folder; // empty: the dialog's own default
    QStringList filters;
    QStringList suffixes; // one per filter: added to a name typed without an extension
};

struct FileChoice {
    QString path; // empty when the user cancelled
    int filterIndex = -1;
    bool Cancelled() const { return path.isEmpty(); }
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual QMessageBox::StandardButton Message(QWidget* parent, const MessageRequest& request) = 0;
    // A save dialog asks before replacing a file.
    virtual FileChoice ChooseFile(QWidget* parent, const FileRequest& request) = 0;
    // False when the user cancelled.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual void ShowPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) = 0;
    // Shows the dialog modally and returns when it is hidden.
    virtual void ShowModal(QDialog& dialog) = 0;
    // Opens a file or web address with the desktop's application for it.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

} // namespace kestrix::gui
