#include "PropertySheet.h"

#include "CTolvexPropPage.h"
#include "TolvexDialogs.h"
#include "TolvexHelp.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tolvex {

PropertySheet::PropertySheet(CTolvexCtrl& control, QWidget* parent)
    : QDialog(parent), page_(new CTolvexPropPage(control)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                    QDialogButtonBox::Apply | QDialogButtonBox::Help)) {
    setWindowTitle(QStringLiteral("Tolvex Properties"));
    auto* tabs = new QTabWidget;
    tabs->addTab(page_, page_->windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &PropertySheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, page_,
            &CTolvexPropPage::Apply);
    connect(buttons_, &QDialogButtonBox::helpRequested, this, [] { OpenTolvexHelp(); });
}

void PropertySheet::accept() {
    if (page_->Apply()) {
        QDialog::accept();
    }
}

int ShowPropertyPage(CTolvexCtrl& control, QWidget* parent) {
    PropertySheet sheet(control, parent);
    return sheet.exec();
}

} // namespace tolvex
