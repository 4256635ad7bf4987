#pragma once

// The frame the three wizards share: step pages in one stack, Prev, Next and Cancel (Close) at
// the bottom right, the caption "<title>: Step n of m". A press goes to Press(), which a wizard
// hands to its session: the session carries it out at once while idle, else when the
// outstanding request completes, and the wizard then calls CarryOut(). The close box and Escape
// act as Cancel: the wizard leaves only by hiding. A wizard hidden and shown again starts afresh at
// step 1.

#include "kestrix/instrument/RequestKind.h"

#include <QDialog>

class QPushButton;
class QStackedWidget;

namespace kestrix::gui {

class WizardFrame : public QDialog {
    Q_OBJECT
public:
    WizardFrame(const QString& title, QWidget* parent = nullptr);

    int Step() const { return step_; }
    int StepCount() const;
    QPushButton* PrevButton() const { return prev_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* CancelButton() const { return cancel_; }
    QWidget* Page(int step) const;

    // The user's press of a button, as a click makes it.
    void Press(instrument::WizardButton button);

protected:
    void AddStep(QWidget* page);
    // Moves to step n (nothing when n is the step shown last): EnterStep decides what the step
    // shows; it may call ShowStep again to turn back.
    void ShowStep(int step);
    // Carries a press out: Cancel hides the wizard, Next and Prev move one step.
    void CarryOut(instrument::WizardButton button);
    // For a wizard that must go to a step whatever was shown last (lost communication).
    void ForgetShownStep() { shownStep_ = 0; }

    // Button states of a step; the Cancel button reads "&Cancel" or "&Close".
    struct Buttons {
        bool prevVisible = true;
        bool prevEnabled = true;
        bool nextVisible = true;
        bool nextEnabled = true;
        bool close = false;
    };
    void SetButtons(const Buttons& buttons);
    void SetCloseCaption(bool close);

    virtual void EnterStep(int step, int previous) = 0;
    // A press for the session; the default carries it out at once.
    virtual void OnPress(instrument::WizardButton button) { CarryOut(button); }
    // Shown after having been hidden: start over at step 1.
    virtual void Restart();
    // Hidden: the wizard's connections close.
    virtual void OnHidden() {}

    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void PutButtonsLast();

    QString title_;
    QStackedWidget* pages_;
    QPushButton* prev_;
    QPushButton* next_;
    QPushButton* cancel_;
    int step_ = 1;
    int shownStep_ = 0;
    bool fresh_ = true;
};

} // namespace kestrix::gui
