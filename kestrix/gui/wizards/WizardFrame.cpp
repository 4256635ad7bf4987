#include "kestrix/gui/wizards/WizardFrame.h"

#include "kestrix/gui/common/Icons.h"
#include "kestrix/instrument/sessionTexts.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

// Every wizard has one size, in the font's measures, that holds its longest step.
constexpr int kWidthInCharacters = 84;
constexpr int kHeightInLines = 21;
constexpr int kLogoSize = 64;

QLabel* MakeLogo(QWidget* parent) {
    auto* logo = new QLabel(parent);
    logo->setPixmap(ApplicationIcon().pixmap(kLogoSize, kLogoSize));
    logo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    logo->setAccessibleName(QStringLiteral("Kestrix logo"));
    return logo;
}

} // namespace

WizardFrame::WizardFrame(const QString& title, QWidget* parent)
    : QDialog(parent), title_(title), pages_(new QStackedWidget(this)),
      prev_(new QPushButton(QStringLiteral("<  &Prev"), this)),
      next_(new QPushButton(QStringLiteral("&Next  >"), this)),
      cancel_(new QPushButton(QString::fromUtf8(sessionTexts::kCancelCaption), this)) {
    setModal(true);
    prev_->setObjectName(QStringLiteral("cmdPrev"));
    next_->setObjectName(QStringLiteral("cmdNext"));
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* button : {prev_, next_, cancel_}) {
        button->setAutoDefault(false);
    }
    next_->setDefault(true);
    connect(prev_, &QPushButton::clicked, this, [this] { Press(instrument::WizardButton::Prev); });
    connect(next_, &QPushButton::clicked, this, [this] { Press(instrument::WizardButton::Next); });
    connect(cancel_, &QPushButton::clicked, this,
            [this] { Press(instrument::WizardButton::Cancel); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(prev_);
    buttons->addWidget(next_);
    buttons->addWidget(cancel_);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* content = new QHBoxLayout;
    content->addWidget(MakeLogo(this), 0, Qt::AlignTop);
    content->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    setFixedSize(fontMetrics().averageCharWidth() * kWidthInCharacters,
                 fontMetrics().lineSpacing() * kHeightInLines);
}

int WizardFrame::StepCount() const {
    return pages_->count();
}

QWidget* WizardFrame::Page(int step) const {
    return pages_->widget(step - 1);
}

void WizardFrame::AddStep(QWidget* page) {
    page->setObjectName(QStringLiteral("fraStep%1").arg(pages_->count() + 1));
    pages_->addWidget(page);
    PutButtonsLast();
}

// Tab goes through the page's fields before it reaches Prev, Next and Cancel.
void WizardFrame::PutButtonsLast() {
    QWidget* lastField = nullptr;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (pages_->isAncestorOf(w)) {
            lastField = w;
        }
    }
    if (lastField != nullptr) {
        setTabOrder(lastField, prev_);
        setTabOrder(prev_, next_);
        setTabOrder(next_, cancel_);
    }
}

void WizardFrame::Press(instrument::WizardButton button) {
    OnPress(button);
}

void WizardFrame::CarryOut(instrument::WizardButton button) {
    switch (button) {
    case instrument::WizardButton::Cancel:
        hide();
        return;
    case instrument::WizardButton::Next:
        if (step_ < StepCount()) {
            ShowStep(step_ + 1);
        }
        return;
    case instrument::WizardButton::Prev:
        if (step_ > 1) {
            ShowStep(step_ - 1);
        }
        return;
    case instrument::WizardButton::None:
        return;
    }
}

void WizardFrame::ShowStep(int step) {
    if (step == shownStep_) {
        return;
    }
    const int previous = shownStep_;
    step_ = step;
    shownStep_ = step;
    pages_->setCurrentIndex(step - 1);
    setWindowTitle(QStringLiteral("%1: Step %2 of %3").arg(title_).arg(step).arg(StepCount()));
    EnterStep(step, previous);
}

void WizardFrame::SetButtons(const Buttons& buttons) {
    prev_->setVisible(buttons.prevVisible);
    prev_->setEnabled(buttons.prevEnabled);
    next_->setVisible(buttons.nextVisible);
    next_->setEnabled(buttons.nextEnabled);
    SetCloseCaption(buttons.close);
}

void WizardFrame::SetCloseCaption(bool close) {
    cancel_->setText(
        QString::fromUtf8(close ? sessionTexts::kCloseCaption : sessionTexts::kCancelCaption));
    // With nothing left to go on to, Enter closes.
    const bool closeByDefault = close && next_->isHidden();
    cancel_->setDefault(closeByDefault);
    next_->setDefault(!closeByDefault);
}

void WizardFrame::Restart() {
    shownStep_ = 0;
    ShowStep(1);
}

void WizardFrame::closeEvent(QCloseEvent* event) {
    // The close box is a press of Cancel; the wizard leaves by hiding itself, never by closing.
    event->ignore();
    Press(instrument::WizardButton::Cancel);
}

void WizardFrame::reject() {
    Press(instrument::WizardButton::Cancel);
}

void WizardFrame::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (fresh_) {
        fresh_ = false;
        Restart();
    }
}

void WizardFrame::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        fresh_ = true;
        OnHidden();
    }
}

} // namespace kestrix::gui
