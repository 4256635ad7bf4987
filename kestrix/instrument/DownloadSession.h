#pragma once

// The download wizard's session: the connection and identification of every session, then the
// instrument checked again and made idle, its channel description, thresholds, calibration and
// location names, then every record over Modbus or in chunks over the fast transfer, into a
// new record set that only a finished run hands out. No widget: a window binds to the signals
// and calls the methods below; nothing needs polling.
//
// Beside the calls and signals of every session (see SessionCore):
//   StartDownload()                     entering step 4 after IdentityShown
//   DiscardRecordSet()                  on every change of step
//   StateChanged(state)                 Idle, Connecting, Identified, Downloading, Asking
//   DownloadProgressChanged(view)       step 4: bar value, maximum, percentage text, the
//                                       do-not-use, done and no-data labels, Cancel's caption
//   RecordSetReady(recordSet)           a finished download, just before its DownloadEnded
//   DownloadEnded(outcome)              the run of step 4 is over (see DownloadOutcome)
//   FastCommandSent(command)            the fast transfer's command as written to the line
//
// A notice comes before the signals of the state it leads to (for example the lost-
// communication notice before CommunicationLost), so a window that shows it modally moves on
// once it is closed.

#include "kestrix/data/clsDataRecord.h"
#include "kestrix/instrument/ChannelDescription.h"
#include "kestrix/instrument/DownloadProgress.h"
#include "kestrix/instrument/FastChunk.h"
#include "kestrix/instrument/SessionCore.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSerialPort;

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::instrument {

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

class DownloadSession : public SessionCore {
    Q_OBJECT

public:
    static constexpr int kFastBaudRate = 115200;

    explicit DownloadSession(QObject* parent = nullptr);
    ~DownloadSession() override;

    bool StartIdentification(std::optional<int> port, std::optional<int> address) override;
    bool SetConnection(int port, int address) override;
    void CloseConnections() override;
    void StartDownload();
    void DiscardRecordSet();

    SessionState State() const;
    bool WasDataDownloaded() const { return result_ != nullptr; }
    std::shared_ptr<data::clsDataRecordSet> GetDataRecordSet() const { return result_; }
    const DownloadView& View() const { return view_; }
    std::int32_t RecordsDone() const { return recordsDone_; }

signals:
    void StateChanged(kestrix::instrument::SessionState state);
    void DownloadProgressChanged(const kestrix::instrument::DownloadView& view);
    void RecordSetReady(std::shared_ptr<kestrix::data::clsDataRecordSet> recordSet);
    void DownloadEnded(kestrix::instrument::DownloadOutcome outcome);
    void FastCommandSent(const std::string& command);

private:
    using RecordFiller = std::function<void(data::clsDataRecord&)>;

    bool IsRunning() const override { return running_; }
    void LoseRun() override { End(DownloadOutcome::LostCommunication); }
    void LeaveRun() override;
    void MeetOtherInstrument() override {
        End(DownloadOutcome::NotSameInstrument, OtherInstrumentNotice());
    }
    std::optional<SessionQuestion> PressQuestion() const override;
    void CancelRun() override { End(DownloadOutcome::Cancelled); }
    void StateMayHaveChanged() override;

    std::vector<SessionStep> Steps();
    // The identity, channel description, thresholds and calibration, each step the next's.
    std::vector<SessionStep> DescriptionSteps();
    std::vector<SessionStep> LocationAndRecordSteps();
    void SendCheckIdentity(std::int32_t parameter);
    void TakeCheckIdentity();
    void SendLocationCount(std::int32_t parameter);
    void TakeLocationCount();
    void TakeChannelUnits();
    void SendLocationNames(std::int32_t parameter);
    void TakeLocationNames();
    void SendRecord(std::int32_t parameter);
    void TakeRecord(std::int32_t parameter);
    void ReadRecordsNext();
    bool OpenFastPort();
    void CloseFastPort();
    void ReturnToModbus();
    void SendFastChunk(std::int32_t parameter);
    void OnFastBytes();
    void TakeFastChunk();
    bool DecodeRecord(std::int32_t index, const RecordFiller& fill);
    void ShowView();
    void UpdateProgress();
    void ShowNoData();
    void Finish();
    void FailDecoding();
    void End(DownloadOutcome outcome, const std::optional<SessionNotice>& notice = std::nullopt);

    QSerialPort* fastPort_;
    Transport transport_ = Transport::Modbus;
    SessionState state_ = SessionState::Idle;
    DownloadView view_;
    bool running_ = false;
    std::int32_t recordsDone_ = 0;
    std::int32_t locationCount_ = 0;
    int namesInBlock_ = 0;
    std::int32_t namesDone_ = 0;
    ChannelDescription channels_;
    std::vector<std::string> locationNames_;
    std::shared_ptr<data::clsDataRecordSet> working_;
    std::shared_ptr<data::clsDataRecordSet> result_;
    data::clsDataRecord record_;
    std::unique_ptr<FastChunk> chunk_;
};

} // namespace kestrix::instrument
