#pragma once

// The upload wizard's session: the connection and identification of every session, then the
// instrument's name count, and on the upload step the names checked, the instrument checked
// again and made idle, and four single-register writes per name. No widget: a window binds to
// the signals and calls the methods below.
//
// Methods a window calls:
//   StartIdentification(port, address)  entering step 3 from step 2; false (with a notice) when
//                                       the wizard stays at step 2
//   StartUpload(shortNames)             entering step 5: My Locations' short names from index 0
//   PressButton(button)                 Prev, Next or Cancel; carried out at once while idle
//                                       (ButtonCarriedOut), else at the next completion
//   AnswerQuestion(yes)                 the answer to QuestionAsked
//   CloseConnections()                  when the wizard is hidden
//
// Signals:
//   BusyChanged(busy)                   a request is outstanding (presses are deferred)
//   ConnectProgressChanged(progress)    step 3's bar
//   IdentityShown(identity)             the identity and the name count are read; then
//   NameCountShown(count, canUpload)    step 3's labels complete; Next enabled when canUpload
//   InstrumentNotFound()                step 3 shows the not-found text
//   CommunicationLost()                 after the lost-communication notice: back to step 2
//   UploadProgressChanged(view)         step 5: bar, "n/count", labels, Cancel's caption
//   UploadEnded(outcome)                the run of step 5 is over (see UploadOutcome)
//   NoticeShown(icon, title, text)      a message box; the session has reached its next state
//   QuestionAsked(title, text)          a Yes/No box; the session waits until AnswerQuestion
//   ButtonCarriedOut(button)            the wizard moves: Prev, Next, or Cancel hides it

#include "kestrix/instrument/ConnectionSteps.h"
#include "kestrix/instrument/RequestRunner.h"
#include "kestrix/instrument/UploadNames.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrix {

enum class UploadOutcome {
    Finished,
    NoLocations,
    InvalidName,       // back to the review
    RepeatedName,      // the wizard is cancelled
    NotSameInstrument, // back to the choice of port
    LostCommunication,
    Cancelled,
};

struct UploadView {
    int value = 0;
    int maximum = 0;
    std::string progressText;
    bool doNotUseShown = false;
    bool doneShown = false;
    bool noLocationsShown = false;
    std::string cancelCaption = "&Cancel";
};

class UploadSession : public QObject, private RequestClient {
    Q_OBJECT

public:
    // The identity block this wizard reads.
    static constexpr int kIdentityRegisters = 42;

    explicit UploadSession(QObject* parent = nullptr);

    bool StartIdentification(std::optional<int> port, std::optional<int> address);
    // False, touching nothing, unless 0 < port < 33 and 0 <= address < 100; address 0 scans.
    bool SetConnection(int port, int address) { return steps_.Connect(port, address); }
    void StartUpload(const std::vector<std::string>& shortNames);
    void PressButton(WizardButton button);
    void AnswerQuestion(bool yes);
    void CloseConnections();

    bool IsBusy() const { return runner_.IsBusy(); }
    bool IsAsking() const { return runner_.IsHeld(); }
    const InstrumentIdentity& Identity() const { return steps_.Identity(); }
    int SlaveAddress() const { return runner_.SlaveAddress(); }
    int NameCount() const { return nameCount_; }
    bool CanUpload() const { return CanUploadNames(nameCount_, Identity().mapVersion); }
    bool IsHighFirst() const { return highFirst_; }
    const UploadView& View() const { return view_; }

signals:
    void BusyChanged(bool busy);
    void ConnectProgressChanged(const kestrix::ConnectProgress& progress);
    void IdentityShown(const kestrix::InstrumentIdentity& identity);
    void NameCountShown(int count, bool canUpload);
    void InstrumentNotFound();
    void CommunicationLost();
    void UploadProgressChanged(const kestrix::UploadView& view);
    void UploadEnded(kestrix::UploadOutcome outcome);
    void NoticeShown(kestrix::MessageIcon icon, const std::string& title, const std::string& text);
    void QuestionAsked(const std::string& title, const std::string& text);
    void ButtonCarriedOut(kestrix::WizardButton button);

private:
    enum class Question { None, CancelUpload, RetryWrite };

    void IssueRequest(RequestKind kind, std::int32_t parameter) override;
    void CompleteRequest(RequestKind kind, short result) override;
    void LoseCommunication() override;

    void PassOnSignals();
    void OnIdentified();
    void Dispatch(RequestKind kind, short result);
    void CompleteUploadRequest(RequestKind kind);
    void CompleteCheckIdentity();
    void CompleteWrite();
    void Ask(Question question, const std::string& title, const std::string& text);
    void CarryOutPending();
    void ShowView();
    void End(UploadOutcome outcome, MessageIcon icon = MessageIcon::Information,
             const std::string& title = {}, const std::string& text = {});

    RequestRunner runner_;
    ConnectionSteps steps_;
    int nameCount_ = 0;
    bool highFirst_ = true;
    PreparedNames prepared_;
    UploadView view_;
    // Step 5's requests are outstanding.
    bool running_ = false;
    Question question_ = Question::None;
    RequestKind askedKind_ = RequestKind::Idle;
    short askedResult_ = 0;
};

} // namespace kestrix
