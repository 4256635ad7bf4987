#include "kestrix/instrument/DownloadSession.h"

#include "kestrix/data/DataIndexError.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RecordDecoding.h"
#include "kestrix/instrument/SessionPrompts.h"
#include "kestrix/instrument/sessionTexts.h"
#include "tolvex/PortTable.h"

#include <QSerialPort>
#include <algorithm>

namespace kestrix {

namespace {

constexpr int kRegCommand = 1;
constexpr std::int16_t kIdleCommand = 12;
constexpr std::int16_t kFastTransferCommand = 16;
constexpr int kRegRecordPointer = 24;

struct ChannelBlockAddresses {
    int enables;
    int tags;
    int units;
};

ChannelBlockAddresses ChannelBlocks(int mapVersion) {
    if (mapVersion < kMapHoldingBlocks) {
        return {1000, 2000, 3000};
    }
    return {3000, 1000, 2000};
}

} // namespace

std::string DownloadView::ShownText() const {
    if (doneShown) {
        return sessionTexts::DoneLabelText();
    }
    if (noDataShown) {
        return sessionTexts::NoDataLabelText();
    }
    return doNotUseShown ? sessionTexts::kDoNotUseText : "";
}

DownloadSession::DownloadSession(SessionPrompts& prompts, QObject* parent)
    : ConnectionSession(prompts, kIdentityRegisters, parent), fastPort_(new QSerialPort(this)),
      locationNames_(kMaxLocationNames + 1), chunk_(std::make_unique<FastChunk>()) {
    fastPort_->setReadBufferSize(FastChunk::kCapacity);
    connect(fastPort_, &QSerialPort::readyRead, this, &DownloadSession::OnFastBytes);
}

DownloadSession::~DownloadSession() = default;

void DownloadSession::DiscardRecordSet() {
    working_.reset();
    result_.reset();
}

void DownloadSession::StartDownload() {
    DiscardRecordSet();
    view_ = DownloadView();
    if (Identity().recordCount < 1) {
        view_.progress.maximum = std::max(view_.progress.maximum, 1);
        view_.progress.value = view_.progress.maximum;
        view_.noDataShown = true;
        view_.cancelCaption = sessionTexts::kCloseCaption;
        emit DownloadProgressChanged();
        emit DownloadEnded(DownloadOutcome::NoData);
        return;
    }
    view_.doNotUseShown = true;
    emit DownloadProgressChanged();
    running_ = true;
    locationNames_.assign(kMaxLocationNames + 1, std::string());
    IssueRequest(RequestKind::CheckIdentity, 0);
}

void DownloadSession::UpdateProgress() {
    if (view_.progress.Update(Identity().recordCount, NamesToRead(locationCount_),
                              recordsDone_ + namesDone_)) {
        emit DownloadProgressChanged();
    }
}

void DownloadSession::DefineFurtherRequest(RequestKind kind, std::int32_t parameter) {
    const int mapVersion = Identity().mapVersion;
    const bool holdingBlocks = mapVersion >= kMapHoldingBlocks;
    const ChannelBlockAddresses blocks = ChannelBlocks(mapVersion);
    switch (kind) {
    case RequestKind::CheckIdentity:
        recordsDone_ = 0;
        namesDone_ = 0;
        UpdateProgress();
        DefineRead(true, 0, kIdentityRegisters);
        break;
    case RequestKind::MakeIdle:
        DefineWrite(kRegCommand, kIdleCommand);
        break;
    case RequestKind::ReadChannelEnables:
        DefineRead(holdingBlocks, blocks.enables, kChannelBlockRegisters);
        break;
    case RequestKind::ReadChannelTags:
        DefineRead(holdingBlocks, blocks.tags, kChannelBlockRegisters);
        break;
    case RequestKind::ReadChannelUnits:
        DefineRead(holdingBlocks, blocks.units, kChannelBlockRegisters);
        break;
    case RequestKind::ReadThresholds:
        DefineRead(true, 5000, kChannelBlockRegisters);
        break;
    case RequestKind::ReadCalibrationHigh:
        DefineRead(true, 8040, 2 * kCalibrationFloats);
        break;
    case RequestKind::ReadCalibrationLow:
        DefineRead(true, 7040, 2 * kCalibrationFloats);
        break;
    case RequestKind::ReadCalibrationRaw:
        DefineRead(true, 9040, 2 * kCalibrationPoints);
        break;
    case RequestKind::ReadLocationCount:
        locationCount_ = 0;
        namesInBlock_ = 0;
        namesDone_ = 0;
        DefineRead(true, kLocationCountRegister, 1);
        break;
    case RequestKind::ReadLocationNames:
        SetParameter(std::max(parameter, 0));
        namesInBlock_ = NamesInBlock(NamesToRead(locationCount_), Parameter());
        DefineRead(true, BlockFirstRegister(Parameter()), kRegistersPerName * namesInBlock_);
        break;
    case RequestKind::EnterFastTransfer:
        DefineWrite(kRegCommand, kFastTransferCommand);
        break;
    case RequestKind::ReadRecords:
        DefineRecordRequest(parameter);
        break;
    default:
        break;
    }
}

void DownloadSession::DefineRecordRequest(std::int32_t parameter) {
    if (parameter <= 1) {
        view_.cancelCaption = sessionTexts::kCancelCaption;
        SetParameter(1);
        DefineWrite(kRegRecordPointer, 0);
    } else if (parameter % 2 == 1) {
        DefineWrite(kRegRecordPointer, static_cast<std::int16_t>(parameter / 2));
    } else {
        DefineRead(false, 0, ModbusRecordRegisters(Identity().mapVersion));
    }
}

void DownloadSession::CompleteFurtherRequest(RequestKind kind, short result) {
    if (result != 0) {
        return; // the watchdog repeats the request
    }
    const int mapVersion = Identity().mapVersion;
    switch (kind) {
    case RequestKind::CheckIdentity:
        CompleteCheckIdentity();
        break;
    case RequestKind::MakeIdle:
        IssueRequest(RequestKind::CheckIdentity, 0);
        break;
    case RequestKind::ReadChannelEnables:
        channels_.TakeEnables(Reply(kChannelBlockRegisters), mapVersion);
        IssueRequest(RequestKind::ReadChannelTags, 0);
        break;
    case RequestKind::ReadChannelTags:
        channels_.TakeTags(Reply(kChannelBlockRegisters));
        IssueRequest(RequestKind::ReadChannelUnits, 0);
        break;
    case RequestKind::ReadChannelUnits:
        channels_.TakeUnits(Reply(kChannelBlockRegisters));
        if (mapVersion < kMapHoldingBlocks) {
            channels_.threshold.fill(0);
            IssueRequest(RequestKind::ReadRecords, 0);
        } else {
            IssueRequest(RequestKind::ReadThresholds, 0);
        }
        break;
    case RequestKind::ReadThresholds:
        channels_.TakeThresholds(Reply(kChannelBlockRegisters));
        IssueRequest(RequestKind::ReadCalibrationHigh, 0);
        break;
    case RequestKind::ReadCalibrationHigh:
        channels_.TakeEngineeringHigh(Reply(2 * kCalibrationFloats));
        IssueRequest(RequestKind::ReadCalibrationLow, 0);
        break;
    case RequestKind::ReadCalibrationLow:
        channels_.TakeEngineeringLow(Reply(2 * kCalibrationFloats));
        IssueRequest(RequestKind::ReadCalibrationRaw, 0);
        break;
    case RequestKind::ReadCalibrationRaw:
        channels_.TakeRawPoints(Reply(2 * kCalibrationPoints));
        IssueRequest(RequestKind::ReadLocationCount, 0);
        break;
    case RequestKind::ReadLocationCount:
        locationCount_ = Reply(1).Unsigned(0);
        UpdateProgress();
        if (locationCount_ < 1) {
            ReadRecordsNext();
        } else {
            IssueRequest(RequestKind::ReadLocationNames, 0);
        }
        break;
    case RequestKind::ReadLocationNames:
        CompleteLocationNames();
        break;
    case RequestKind::EnterFastTransfer:
        SetTransport(Transport::Fast);
        IssueRequest(RequestKind::ReadRecords, 0);
        break;
    case RequestKind::ReadRecords:
        CompleteRecordRead(Parameter());
        break;
    default:
        EndRequests();
        break;
    }
}

void DownloadSession::CompleteCheckIdentity() {
    const RegisterReply reply = Reply(kIdentityRegisters);
    if (DecodeSerialNumber(reply) != Identity().serialNumber) {
        EndRequests();
        Prompts().Inform(MessageIcon::Information, sessionTexts::kWarningTitle,
                         sessionTexts::NotSameInstrumentText());
        End(DownloadOutcome::NotSameInstrument);
        return;
    }
    if (DecodeBusy(reply)) {
        IssueRequest(RequestKind::MakeIdle, 0);
        return;
    }
    const std::int32_t count = DecodeRecordCount(reply);
    if (count != Identity().recordCount) {
        SetRecordCount(count);
    }
    if (count < 1) {
        EndRequests();
        ShowNoData();
        Prompts().Inform(MessageIcon::Information, sessionTexts::kInformationTitle,
                         sessionTexts::NoDataNoticeText());
        End(DownloadOutcome::NoData);
        return;
    }
    IssueRequest(RequestKind::ReadChannelEnables, 0);
}

void DownloadSession::ShowNoData() {
    view_.progress.value = view_.progress.maximum;
    view_.progress.text = sessionTexts::kProgressDone;
    view_.doNotUseShown = false;
    view_.noDataShown = true;
    view_.cancelCaption = sessionTexts::kCloseCaption;
    emit DownloadProgressChanged();
}

void DownloadSession::CompleteLocationNames() {
    const std::int32_t block = Parameter();
    const RegisterReply reply = Reply(kRegistersPerName * namesInBlock_);
    if (block == 0) {
        locationNames_[0] = "LOC000";
    }
    for (int i = 0; i < namesInBlock_; ++i) {
        locationNames_[static_cast<size_t>(i + kNamesPerBlock * block + 1)] =
            reply.Text(kRegistersPerName * i, kRegistersPerName);
    }
    namesDone_ += namesInBlock_;
    UpdateProgress();
    if (namesDone_ < NamesToRead(locationCount_)) {
        IssueRequest(RequestKind::ReadLocationNames, block + 1);
    } else {
        ReadRecordsNext();
    }
}

void DownloadSession::ReadRecordsNext() {
    IssueRequest(
        Identity().fastTransfer ? RequestKind::EnterFastTransfer : RequestKind::ReadRecords, 0);
}

void DownloadSession::CompleteRecordRead(std::int32_t parameter) {
    if (parameter % 2 == 1) {
        IssueRequest(RequestKind::ReadRecords, parameter + 1);
        return;
    }
    ++recordsDone_;
    UpdateProgress();
    const RegisterReply reply = Reply(ModbusRecordRegisters(Identity().mapVersion));
    const bool decoded = DecodeRecord(recordsDone_ - 1, [&](clsDataRecord& record) {
        DecodeModbusRecord(reply, channels_, Identity().mapVersion, record);
    });
    if (!decoded) {
        Prompts().Inform(MessageIcon::Error, sessionTexts::kInternalErrorTitle,
                         sessionTexts::kDownloadError);
        FailDecoding();
    } else if (recordsDone_ < Identity().recordCount) {
        IssueRequest(RequestKind::ReadRecords, parameter + 1);
    } else {
        Finish();
    }
}

bool DownloadSession::DecodeRecord(std::int32_t index, const RecordFiller& fill) {
    if (index == 0) {
        working_ = std::make_shared<clsDataRecordSet>();
        if (!InitRecordSet(*working_, record_, channels_, Identity(), Identity().recordCount,
                           locationNames_, locationCount_)) {
            working_.reset();
            return false;
        }
    }
    if (!working_) {
        return false;
    }
    fill(record_);
    try {
        working_->RecordCopy(index, &record_);
    } catch (const DataIndexError&) {
        return false;
    }
    return true;
}

void DownloadSession::FailDecoding() {
    EndRequests();
    view_.progress.text = sessionTexts::kProgressError;
    emit DownloadProgressChanged();
    End(DownloadOutcome::DecodingError);
}

void DownloadSession::Finish() {
    EndRequests();
    view_.doNotUseShown = false;
    view_.progress.text = sessionTexts::kProgressDone;
    view_.doneShown = true;
    view_.cancelCaption = sessionTexts::kCloseCaption;
    emit DownloadProgressChanged();
    result_ = std::move(working_);
    End(DownloadOutcome::Finished);
}

void DownloadSession::End(DownloadOutcome outcome) {
    running_ = false;
    if (outcome != DownloadOutcome::Finished) {
        DiscardRecordSet();
    }
    emit DownloadEnded(outcome);
}

bool DownloadSession::HandlePendingDuringRun() {
    if (!Prompts().AskYesNo(sessionTexts::kQuestionTitle, sessionTexts::CancelDownloadQuestion())) {
        ClearPending();
        return false;
    }
    EndRequests();
    ResetRetries();
    End(DownloadOutcome::Cancelled);
    CarryOutPending();
    return true;
}

void DownloadSession::OpenFastPort(int port) {
    fastPort_->setPortName(QString::fromStdString(tolvex::GetPortDevice(port)));
    fastPort_->setBaudRate(kFastBaudRate);
    fastPort_->setDataBits(QSerialPort::Data8);
    fastPort_->setParity(QSerialPort::NoParity);
    fastPort_->setStopBits(QSerialPort::OneStop);
    fastPort_->setFlowControl(QSerialPort::NoFlowControl);
    fastPort_->open(QIODevice::ReadWrite);
}

void DownloadSession::CloseFastPort() {
    if (fastPort_->isOpen()) {
        fastPort_->close();
    }
}

void DownloadSession::ReturnToModbus() {
    SetTransport(Transport::Modbus);
    SetConnection(Port(), SlaveAddress());
}

void DownloadSession::OnCommunicationLost() {
    if (CurrentTransport() == Transport::Fast) {
        ReturnToModbus();
    }
    if (running_) {
        End(DownloadOutcome::LostCommunication);
    }
}

void DownloadSession::IssueFastRequest(RequestKind kind, std::int32_t parameter) {
    SetRequest(kind, parameter);
    if (parameter < 1) {
        view_.cancelCaption = sessionTexts::kCancelCaption;
        SetConnection(Port(), SlaveAddress());
    }
    const std::int32_t count = std::min(Identity().recordCount - parameter, kFastChunkRecords);
    chunk_->Start(parameter, count);
    if (fastPort_->isOpen()) {
        // Bytes left over from an attempt given up must not start this chunk.
        fastPort_->clear(QSerialPort::Input);
        const std::string command = FastChunk::Command(parameter, count);
        fastPort_->write(command.c_str());
        emit FastCommandSent(command);
    }
    StartWatchdog();
}

void DownloadSession::OnFastBytes() {
    if (CurrentTransport() != Transport::Fast || Kind() == RequestKind::Idle) {
        fastPort_->clear(QSerialPort::Input);
        return;
    }
    if (Pending() != WizardButton::None) {
        StopWatchdog();
        EndRequests();
        ResetRetries();
        ReturnToModbus();
        End(DownloadOutcome::Cancelled);
        CarryOutPending();
        return;
    }
    if (chunk_->IsComplete()) {
        // A spoilt chunk waits for the watchdog whatever else arrives, so only its two retries
        // are spent on it.
        fastPort_->clear(QSerialPort::Input);
        return;
    }
    StopWatchdog();
    std::array<std::uint8_t, 4096> bytes;
    qint64 got = 0;
    while ((got = fastPort_->read(reinterpret_cast<char*>(bytes.data()), bytes.size())) > 0) {
        chunk_->Append(std::span<const std::uint8_t>(bytes.data(), static_cast<size_t>(got)));
    }
    const std::int32_t receivedSoFar = chunk_->RecordsReceived() + chunk_->First();
    if (chunk_->Received() > 0 && receivedSoFar > recordsDone_) {
        recordsDone_ = std::min(receivedSoFar, Identity().recordCount);
        UpdateProgress();
    }
    if (chunk_->ChecksumMatches()) {
        ResetRetries();
        TakeFastChunk();
    } else {
        StartWatchdog();
    }
}

void DownloadSession::TakeFastChunk() {
    const int records = (chunk_->Expected() - 1) / kFastRecordBytes;
    for (int h = 0; h < records; ++h) {
        const bool decoded = DecodeRecord(chunk_->First() + h, [&](clsDataRecord& record) {
            DecodeFastRecord(chunk_->Record(h), channels_, Identity().mapVersion, record);
        });
        if (!decoded) {
            EndRequests();
            view_.progress.text = sessionTexts::kProgressError;
            ReturnToModbus();
            Prompts().Inform(MessageIcon::Error, sessionTexts::kInternalErrorTitle,
                             sessionTexts::kDownloadError);
            FailDecoding();
            return;
        }
    }
    if (recordsDone_ < Identity().recordCount) {
        IssueRequest(RequestKind::ReadRecords, recordsDone_);
        return;
    }
    EndRequests();
    ReturnToModbus();
    Finish();
}

} // namespace kestrix
