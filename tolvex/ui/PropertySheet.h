#pragma once

#include <QDialog>

class QDialogButtonBox;

namespace tolvex {

class CTolvexCtrl;
class CTolvexPropPage;

// The frame around the control's page: its "General" tab, OK, Cancel, Apply and Help, which
// opens the library's HTML help.
class PropertySheet : public QDialog {
    Q_OBJECT

public:
    explicit PropertySheet(CTolvexCtrl& control, QWidget* parent = nullptr);

    CTolvexPropPage* Page() const { return page_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

    void accept() override;

private:
    CTolvexPropPage* page_;
    QDialogButtonBox* buttons_;
};

} // namespace tolvex
