#include "kestrix/gui/common/QtUserDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QUrl>

namespace kestrix::gui {
namespace {

// Once a dialog or message closes, the window it came from takes the keyboard again, whatever
// the window manager chose to activate.
void ReturnTo(QWidget* parent) {
    if (parent != nullptr) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
}

} // namespace

QMessageBox::StandardButton QtUserDialogs::Message(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    box.setDetailedText(request.detail);
    // A path or address in a message can be copied to open it by hand.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (request.defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(request.defaultButton);
    }
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    ReturnTo(parent);
    return answer;
}

FileChoice QtUserDialogs::ChooseFile(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.title, request.folder);
    const bool save = request.mode == FileRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    // The chosen filter's extension is added before the dialog asks about replacing a file, so
    // the question concerns the file that will really be written.
    const auto suffixFor = [&request](const QString& filter) {
        const auto index = request.filters.indexOf(filter);
        return index >= 0 && index < request.suffixes.size() ? request.suffixes[index] : QString();
    };
    if (!request.filters.isEmpty()) {
        dialog.setDefaultSuffix(suffixFor(request.filters.front()));
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixFor](const QString& filter) {
                         dialog.setDefaultSuffix(suffixFor(filter));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return {dialog.selectedFiles().front(),
            static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()))};
}

bool QtUserDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtUserDialogs::ShowPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog preview(parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* printer) { paint(*printer); });
    preview.exec();
}

void QtUserDialogs::ShowModal(QDialog& dialog) {
    dialog.exec();
    ReturnTo(dialog.parentWidget());
}

bool QtUserDialogs::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace kestrix::gui
