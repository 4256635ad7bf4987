#pragma once

// What every instrument session shares: the request runner and the connection steps, the press
// made while a request is outstanding, the question open about it, and the signals of the
// connection step. A session adds its own steps as a table of {kind, send, take} and answers
// the few calls below that differ between sessions.
//
// Methods a window calls:
//   StartIdentification(port, address)  entering the connection step from the choice of port
//                                       and address; false (with a notice) when the wizard
//                                       stays at the choice
//   PressButton(button)                 Prev, Next or Cancel; carried out at once while idle
//                                       (ButtonCarriedOut), else at the next completion;
//                                       ignored while a question is open, which concerns the
//                                       press already made
//   AnswerQuestion(yes)                 the answer to QuestionAsked
//   CloseConnections()                  when the wizard is hidden
//
// Signals:
//   BusyChanged(busy)                   a request is outstanding (presses are deferred)
//   ConnectProgressChanged(progress)    the connection step's bar
//   IdentityShown(identity)             the connection step's labels; Next may be enabled
//   InstrumentNotFound()                the connection step shows the not-found text
//   CommunicationLost()                 after the lost-communication notice: back to the choice
//   NoticeShown(icon, title, text)      a message box; the session has reached its next state
//   QuestionAsked(title, text)          a Yes/No box; the session waits, ignoring the line, the
//                                       watchdog and presses, until AnswerQuestion
//   ButtonCarriedOut(button)            the wizard moves: Prev, Next, or Cancel hides it

#include "kestrix/instrument/ConnectionSteps.h"
#include "kestrix/instrument/RequestRunner.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::instrument {

// One request of a session: how it is sent for a parameter and what its successful reply does.
struct SessionStep {
    RequestKind kind;
    std::function<void(std::int32_t parameter)> send;
    std::function<void()> take;
};

struct SessionQuestion {
    std::string title;
    std::string text;
};

struct SessionNotice {
    MessageIcon icon;
    std::string title;
    std::string text;
};

class SessionCore : public QObject, private RequestClient {
    Q_OBJECT

public:
    virtual bool StartIdentification(std::optional<int> port, std::optional<int> address);
    // False, touching nothing, unless 0 < port < 33 and 0 <= address < 100; address 0 scans.
    virtual bool SetConnection(int port, int address);
    virtual void CloseConnections();
    void SetScanHints(const ScanHints& hints) { connection_.SetScanHints(hints); }
    void PressButton(WizardButton button);
    void AnswerQuestion(bool yes);

    bool IsBusy() const { return runner_.IsBusy(); }
    bool IsAsking() const { return runner_.IsHeld(); }
    bool IsIdentified() const { return connection_.IsIdentified(); }
    const InstrumentIdentity& Identity() const { return connection_.Identity(); }
    int SlaveAddress() const { return runner_.SlaveAddress(); }
    int Port() const { return connection_.Port(); }
    const ConnectProgress& Progress() const { return connection_.Progress(); }
    std::string SerialNumberText() const { return FormatSerialNumber(Identity().serialNumber); }

signals:
    void BusyChanged(bool busy);
    void ConnectProgressChanged(const kestrix::instrument::ConnectProgress& progress);
    void IdentityShown(const kestrix::instrument::InstrumentIdentity& identity);
    void InstrumentNotFound();
    void CommunicationLost();
    void NoticeShown(kestrix::instrument::MessageIcon icon, const std::string& title,
                     const std::string& text);
    void QuestionAsked(const std::string& title, const std::string& text);
    void ButtonCarriedOut(kestrix::instrument::WizardButton button);

protected:
    SessionCore(int identityRegisters, QObject* parent);

    void SetSteps(std::vector<SessionStep> steps) { steps_ = std::move(steps); }
    // A step that sends nothing but the register request made for its parameter.
    SessionStep RegisterStep(RequestKind kind,
                             std::function<RegisterRequest(std::int32_t parameter)> request,
                             std::function<void()> take);
    // The request of the kind: an identification kind or one of the session's steps.
    void Issue(RequestKind kind, std::int32_t parameter);
    // The Yes/No box; the answer runs once AnswerQuestion comes.
    void Ask(const std::string& title, const std::string& text,
             std::function<void(bool yes)> answer);
    void CarryOutPending();
    WizardButton Pending() const { return pending_; }
    // The step that makes a busy instrument idle, then reads its identity again.
    SessionStep IdleStep();
    // The identity read again before a run: false when the run stops there, because another
    // instrument answers (see MeetOtherInstrument) or a busy one is first made idle.
    bool CheckSameIdle(int identityRegisters);
    static SessionNotice OtherInstrumentNotice();
    // The run over: nothing outstanding and the session's own state settled (LeaveRun) before
    // anything is said, so a window that shows the notice modally finds nothing half done
    // behind it; a lost line ends with the lost-communication notice.
    void EndRun(const std::optional<SessionNotice>& notice, bool lost);

    RequestRunner& Runner() { return runner_; }
    const RequestRunner& Runner() const { return runner_; }
    ConnectionSteps& Connection() { return connection_; }

    // What each session answers for itself.
    // The session's run (after the identification) is under way.
    virtual bool IsRunning() const = 0;
    // The watchdog gave up during the run.
    virtual void LoseRun() = 0;
    // The run's own state reset as the run ends.
    virtual void LeaveRun() = 0;
    // The identity read again is another instrument's.
    virtual void MeetOtherInstrument() {}
    // The question a press during the run asks; none drops the press and lets the run go on.
    virtual std::optional<SessionQuestion> PressQuestion() const { return std::nullopt; }
    // The user answered Yes to the press question.
    virtual void CancelRun() {}
    // A failed reply of one of the session's steps; by default the watchdog repeats it.
    virtual void TakeFailure(RequestKind) {}
    // The identity is read; by default it is shown at once.
    virtual void TakeIdentity(const InstrumentIdentity& identity) { emit IdentityShown(identity); }
    // Busy, identity or question changed.
    virtual void StateMayHaveChanged() {}

private:
    void IssueRequest(RequestKind kind, std::int32_t parameter) override;
    void CompleteRequest(RequestKind kind, short result) override;
    void LoseCommunication() override;

    void PassOnSignals();
    const SessionStep* Find(RequestKind kind) const;
    void Dispatch(RequestKind kind, short result);
    void AskAboutPending(const SessionQuestion& question, RequestKind kind, short result);

    RequestRunner runner_;
    ConnectionSteps connection_;
    std::vector<SessionStep> steps_;
    WizardButton pending_ = WizardButton::None;
    std::function<void(bool yes)> answer_;
};

} // namespace kestrix::instrument
