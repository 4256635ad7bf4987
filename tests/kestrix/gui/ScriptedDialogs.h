#pragma once

// The windows' dialogs answered from a script: every request is recorded, and the answers wait
// in queues (a message box without a scripted answer is answered with its first button).

#include "kestrix/gui/common/UserDialogs.h"

#include <QDialog>
#include <QPrinter>
#include <QUrl>
#include <deque>
#include <vector>

namespace kestrix::gui::testing {

class ScriptedDialogs : public UserDialogs {
public:
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<FileChoice> files;
    bool printerChosen = false;

    std::vector<MessageRequest> messages;
    std::vector<FileRequest> fileRequests;
    std::vector<QUrl> openedUrls;
    std::vector<QDialog*> modalDialogs;
    int printPreviews = 0;

    QMessageBox::StandardButton Message(QWidget*, const MessageRequest& request) override {
        messages.push_back(request);
        if (answers.empty()) {
            return QMessageBox::Ok;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    FileChoice ChooseFile(QWidget*, const FileRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty()) {
            return {};
        }
        FileChoice choice = files.front();
        files.pop_front();
        return choice;
    }
    bool ChoosePrinter(QWidget*, QPrinter& printer) override {
        if (printerChosen) {
            printer.setOutputFileName(printFile);
        }
        return printerChosen;
    }
    void ShowPrintPreview(QWidget*, const std::function<void(QPrinter&)>&) override {
        ++printPreviews;
    }
    void ShowModal(QDialog& dialog) override {
        modalDialogs.push_back(&dialog);
        if (onModal) {
            onModal(dialog);
        }
    }
    bool OpenUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return desktopOpens;
    }

    QString printFile;        // where a chosen "printer" writes its PDF
    bool desktopOpens = true; // false: no program opens a file or address
    // Plays the user's part in a modal dialog, if set.
    std::function<void(QDialog&)> onModal;
};

} // namespace kestrix::gui::testing
