#include "kestrix/gui/main/CollapsibleGroup.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kestrix::gui {

CollapsibleGroup::CollapsibleGroup(const QString& key, const QString& title, QWidget* parent)
    : QWidget(parent), header_(new QToolButton(this)), body_(new QWidget(this)),
      bodyLayout_(new QVBoxLayout(body_)) {
    setObjectName(key);
    header_->setText(title);
    header_->setCheckable(true);
    header_->setChecked(true);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setArrowType(Qt::DownArrow);
    header_->setAutoRaise(true);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    connect(header_, &QToolButton::toggled, this, &CollapsibleGroup::SetOpen);

    body_->setAutoFillBackground(true);
    body_->setBackgroundRole(QPalette::Base);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_);
    layout->addWidget(body_);
}

bool CollapsibleGroup::IsOpen() const {
    return header_->isChecked();
}

void CollapsibleGroup::SetOpen(bool open) {
    header_->setChecked(open);
    header_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    body_->setVisible(open);
}

void CollapsibleGroup::AddItem(QWidget* item) {
    bodyLayout_->addWidget(item);
    item->show();
}

} // namespace kestrix::gui
