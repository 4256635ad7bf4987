#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace tolvex::test {

// Answers the next message box with OK once the event loop runs, and keeps its text.
class ModalAnswer {
public:
    ModalAnswer() {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->accept();
            }
        });
    }
    QString text;
};

} // namespace tolvex::test
