#pragma once

#include <QDialog>

namespace tolvex {

// "About Tolvex Control": the control's icon, its name and version, the owner's notice and OK.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace tolvex
