#pragma once

// The download wizard's session: the connection and identification of every session, then the
// instrument checked again and made idle, its channel description, thresholds, calibration and
// location names, then every record over Modbus or in chunks over the fast transfer, into a
// new record set that only a finished run hands out. No widget: a window binds to the signals
// and calls the methods below; nothing needs polling.
//
// Methods a window calls:
//   StartIdentification(port, address)  entering step 3 from step 2; false (with a notice) when
//                                       the wizard stays at step 2
//   StartDownload()                     entering step 4 after IdentityShown
//   PressButton(button)                 Prev, Next or Cancel; carried out at once while idle
//                                       (ButtonCarriedOut), else at the next completion
//   AnswerQuestion(yes)                 the answer to QuestionAsked
//   DiscardRecordSet()                  on every change of step
//   CloseConnections()                  when the wizard is hidden
//
// Signals, each carrying what changed:
//   StateChanged(state)                 Idle, Connecting, Identified, Downloading, Asking
//   BusyChanged(busy)                   a request is outstanding (presses are deferred)
//   ConnectProgressChanged(progress)    step 3's bar: value, maximum, text, text visible
//   IdentityShown(identity)             step 3's labels and picture; Next may be enabled
//   InstrumentNotFound()                step 3 shows the not-found text
//   CommunicationLost()                 after the lost-communication notice: back to step 2
//   DownloadProgressChanged(view)       step 4: bar value, maximum, percentage text, the
//                                       do-not-use, done and no-data labels, Cancel's caption
//   RecordSetReady(recordSet)           a finished download, just before its DownloadEnded
//   DownloadEnded(outcome)              the run of step 4 is over (see DownloadOutcome)
//   NoticeShown(icon, title, text)      a message box to show; the session has already
//                                       reached its next state and ignores the line meanwhile
//   QuestionAsked(title, text)          a Yes/No box to show; the session waits, ignoring the
//                                       line, the watchdog and presses, until AnswerQuestion
//   ButtonCarriedOut(button)            the wizard moves: Prev, Next, or Cancel hides it
//
// A notice comes before the signals of the state it leads to (for example the lost-
// communication notice before CommunicationLost), so a window that shows it modally moves on
// once it is closed.

#include "kestrix/data/clsDataRecord.h"
#include "kestrix/instrument/ChannelDescription.h"
#include "kestrix/instrument/ConnectionSteps.h"
#include "kestrix/instrument/DownloadProgress.h"
#include "kestrix/instrument/FastChunk.h"
#include "kestrix/instrument/RequestRunner.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSerialPort;

namespace kestrix {

class clsDataRecordSet;

enum class DownloadOutcome {
    Finished,
    NoData,
    NotSameInstrument,
    DecodingError,
    LostCommunication,
    Cancelled,
    // The fast transfer's port did not open; the notice names the device and the reason.
    FastPortNotOpened,
};

enum class SessionState { Idle, Connecting, Identified, Downloading, Asking };

// What the download step shows besides the progress.
struct DownloadView {
    DownloadProgress progress;
    bool doNotUseShown = false;
    bool doneShown = false;
    bool noDataShown = false;
    std::string cancelCaption = "&Cancel";

    // The text of the label shown: done, no data or do-not-use; empty when none is.
    std::string ShownText() const;
};

class DownloadSession : public QObject, private RequestClient {
    Q_OBJECT

public:
    static constexpr int kFastBaudRate = 115200;

    explicit DownloadSession(QObject* parent = nullptr);
    ~DownloadSession() override;

    bool StartIdentification(std::optional<int> port, std::optional<int> address);
    // False, touching nothing, unless 0 < port < 33 and 0 <= address < 100; address 0 scans.
    bool SetConnection(int port, int address);
    void StartDownload();
    void PressButton(WizardButton button);
    void AnswerQuestion(bool yes);
    void DiscardRecordSet();
    void CloseConnections();

    SessionState State() const;
    bool IsBusy() const { return runner_.IsBusy(); }
    bool IsIdentified() const { return steps_.IsIdentified(); }
    const InstrumentIdentity& Identity() const { return steps_.Identity(); }
    int SlaveAddress() const { return runner_.SlaveAddress(); }
    int Port() const { return steps_.Port(); }
    const ConnectProgress& Progress() const { return steps_.Progress(); }
    std::string SerialNumberText() const { return FormatSerialNumber(Identity().serialNumber); }
    bool WasDataDownloaded() const { return result_ != nullptr; }
    std::shared_ptr<clsDataRecordSet> GetDataRecordSet() const { return result_; }
    const DownloadView& View() const { return view_; }
    std::int32_t RecordsDone() const { return recordsDone_; }

signals:
    void StateChanged(kestrix::SessionState state);
    void BusyChanged(bool busy);
    void ConnectProgressChanged(const kestrix::ConnectProgress& progress);
    void IdentityShown(const kestrix::InstrumentIdentity& identity);
    void InstrumentNotFound();
    void CommunicationLost();
    void DownloadProgressChanged(const kestrix::DownloadView& view);
    void RecordSetReady(std::shared_ptr<kestrix::clsDataRecordSet> recordSet);
    void DownloadEnded(kestrix::DownloadOutcome outcome);
    void NoticeShown(kestrix::MessageIcon icon, const std::string& title, const std::string& text);
    void QuestionAsked(const std::string& title, const std::string& text);
    void ButtonCarriedOut(kestrix::WizardButton button);
    // The fast transfer's command as written to the line.
    void FastCommandSent(const std::string& command);

private:
    using RecordFiller = std::function<void(clsDataRecord&)>;
    struct Notice {
        MessageIcon icon;
        std::string title;
        std::string text;
    };

    void IssueRequest(RequestKind kind, std::int32_t parameter) override;
    void CompleteRequest(RequestKind kind, short result) override;
    void LoseCommunication() override;

    void PassOnSignals();
    void UpdateState();
    void IssueDownloadRequest(RequestKind kind, std::int32_t parameter);
    void IssueRecordRequest(std::int32_t parameter);
    void IssueFastRequest(RequestKind kind, std::int32_t parameter);
    void Dispatch(RequestKind kind, short result);
    void CompleteDownloadRequest(RequestKind kind);
    void AskAboutPending(RequestKind kind, short result);
    void CarryOutPending();
    void CompleteCheckIdentity();
    void CompleteLocationNames();
    void CompleteRecordRead(std::int32_t parameter);
    void ReadRecordsNext();
    bool OpenFastPort();
    void CloseFastPort();
    void ReturnToModbus();
    void OnFastBytes();
    void TakeFastChunk();
    bool DecodeRecord(std::int32_t index, const RecordFiller& fill);
    void ShowView();
    void UpdateProgress();
    void ShowNoData();
    void Finish();
    void FailDecoding();
    void End(DownloadOutcome outcome, std::optional<Notice> notice = std::nullopt);

    RequestRunner runner_;
    ConnectionSteps steps_;
    QSerialPort* fastPort_;
    Transport transport_ = Transport::Modbus;
    SessionState state_ = SessionState::Idle;
    DownloadView view_;
    bool running_ = false;
    // The completion that waits for the answer to the question.
    RequestKind askedKind_ = RequestKind::Idle;
    short askedResult_ = 0;
    std::int32_t recordsDone_ = 0;
    std::int32_t locationCount_ = 0;
    int namesInBlock_ = 0;
    std::int32_t namesDone_ = 0;
    ChannelDescription channels_;
    std::vector<std::string> locationNames_;
    std::shared_ptr<clsDataRecordSet> working_;
    std::shared_ptr<clsDataRecordSet> result_;
    clsDataRecord record_;
    std::unique_ptr<FastChunk> chunk_;
};

} // namespace kestrix
