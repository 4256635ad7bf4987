#pragma once

#include "kestrix/gui/common/UserDialogs.h"

namespace kestrix::gui {

// The dialogs of Qt and the desktop.
class QtUserDialogs : public UserDialogs {
public:
    QMessageBox::StandardButton Message(QWidget* parent, const MessageRequest& request) override;
    FileChoice ChooseFile(QWidget* parent, const FileRequest& request) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    void ShowPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) override;
    void ShowModal(QDialog& dialog) override;
    bool OpenUrl(const QUrl& url) override;
};

} // namespace kestrix::gui
