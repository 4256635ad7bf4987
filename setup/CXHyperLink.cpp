#include "setup/CXHyperLink.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace setup {
namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;

QFont Underlined(QFont font) {
    font.setUnderline(true);
    return font;
}

} // namespace

CXHyperLink::CXHyperLink(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &CXHyperLink::OnClicked);
}

QColor CXHyperLink::TextColour() const {
    if (overControl_) {
        return kHoverColour;
    }
    return visited_ ? kVisitedColour : kLinkColour;
}

void CXHyperLink::FitToText() {
    resize(sizeHint());
}

QSize CXHyperLink::sizeHint() const {
    return QFontMetrics(Underlined(font())).size(kTextFlags, text());
}

void CXHyperLink::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setFont(overControl_ ? Underlined(font()) : font());
    painter.setPen(TextColour());
    painter.drawText(rect(), kTextFlags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void CXHyperLink::mouseMoveEvent(QMouseEvent* event) {
    SetOverControl(true);
    QAbstractButton::mouseMoveEvent(event);
}

void CXHyperLink::leaveEvent(QEvent* event) {
    SetOverControl(false);
    QAbstractButton::leaveEvent(event);
}

void CXHyperLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CXHyperLink::OnClicked() {
    // As a followed web link: the hover colour goes until the pointer moves again.
    overControl_ = false;
    visited_ = true;
    update();
}

void CXHyperLink::SetOverControl(bool over) {
    if (overControl_ != over) {
        overControl_ = over;
        update();
    }
}

} // namespace setup
