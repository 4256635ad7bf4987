#pragma once

// The download: the instrument checked again and made idle, its channel description, thresholds,
// calibration and location names, then every record over Modbus or in chunks over the fast
// transfer, into a new record set that only a finished run hands out.

#include "kestrix/data/clsDataRecord.h"
#include "kestrix/instrument/ChannelDescription.h"
#include "kestrix/instrument/ConnectionSession.h"
#include "kestrix/instrument/DownloadProgress.h"
#include "kestrix/instrument/FastChunk.h"

#include <functional>
#include <memory>
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
};

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

class DownloadSession : public ConnectionSession {
    Q_OBJECT

public:
    static constexpr int kFastBaudRate = 115200;

    explicit DownloadSession(SessionPrompts& prompts, QObject* parent = nullptr);
    ~DownloadSession() override;

    // Entering the download step after identification.
    void StartDownload();
    bool WasDataDownloaded() const { return result_ != nullptr; }
    std::shared_ptr<clsDataRecordSet> GetDataRecordSet() const { return result_; }
    void DiscardRecordSet();
    const DownloadView& View() const { return view_; }
    std::int32_t RecordsDone() const { return recordsDone_; }

signals:
    void DownloadProgressChanged();
    void DownloadEnded(kestrix::DownloadOutcome outcome);
    // The fast transfer's command as written to the line.
    void FastCommandSent(const std::string& command);

protected:
    void DefineFurtherRequest(RequestKind kind, std::int32_t parameter) override;
    void IssueFastRequest(RequestKind kind, std::int32_t parameter) override;
    void CompleteFurtherRequest(RequestKind kind, short result) override;
    bool HandlePendingDuringRun() override;
    void OpenFastPort(int port) override;
    void CloseFastPort() override;
    void OnCommunicationLost() override;

private:
    using RecordFiller = std::function<void(clsDataRecord&)>;

    void DefineRecordRequest(std::int32_t parameter);
    void CompleteCheckIdentity();
    void CompleteLocationNames();
    void CompleteRecordRead(std::int32_t parameter);
    void ReadRecordsNext();
    void OnFastBytes();
    void TakeFastChunk();
    bool DecodeRecord(std::int32_t index, const RecordFiller& fill);
    void ReturnToModbus();
    void UpdateProgress();
    void ShowNoData();
    void Finish();
    void FailDecoding();
    void End(DownloadOutcome outcome);

    QSerialPort* fastPort_;
    DownloadView view_;
    bool running_ = false;
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
