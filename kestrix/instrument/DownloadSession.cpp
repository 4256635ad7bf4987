#include "kestrix/instrument/DownloadSession.h"

#include "kestrix/data/DataIndexError.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RecordDecoding.h"
#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"

#include <QSerialPort>
#include <algorithm>

namespace kestrix {

namespace {

registers::ChannelBlocks ChannelBlocksOf(int mapVersion) {
    return mapVersion < kMapHoldingBlocks ? registers::kInputChannelBlocks
                                          : registers::kHoldingChannelBlocks;
}

RegisterRequest ReadChannelBlock(int mapVersion, int address) {
    return mapVersion < kMapHoldingBlocks
               ? RegisterRequest::ReadInput(address, kChannelBlockRegisters)
               : RegisterRequest::ReadHolding(address, kChannelBlockRegisters);
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

DownloadSession::DownloadSession(QObject* parent)
    : QObject(parent), runner_(*this), steps_(runner_, kIdentityRegisters),
      fastPort_(new QSerialPort(this)), locationNames_(kMaxLocationNames + 1),
      chunk_(std::make_unique<FastChunk>()) {
    fastPort_->setReadBufferSize(FastChunk::kCapacity);
    connect(fastPort_, &QSerialPort::readyRead, this, &DownloadSession::OnFastBytes);
    PassOnSignals();
}

DownloadSession::~DownloadSession() = default;

void DownloadSession::PassOnSignals() {
    connect(&runner_, &RequestRunner::BusyChanged, this, [this](bool busy) {
        UpdateState();
        emit BusyChanged(busy);
    });
    connect(&steps_, &ConnectionSteps::ConnectProgressChanged, this,
            &DownloadSession::ConnectProgressChanged);
    connect(&steps_, &ConnectionSteps::IdentityShown, this,
            [this](const InstrumentIdentity& identity) {
                UpdateState();
                emit IdentityShown(identity);
            });
    connect(&steps_, &ConnectionSteps::InstrumentNotFound, this,
            &DownloadSession::InstrumentNotFound);
    connect(&steps_, &ConnectionSteps::CommunicationLost, this,
            &DownloadSession::CommunicationLost);
    connect(&steps_, &ConnectionSteps::NoticeShown, this, &DownloadSession::NoticeShown);
}

SessionState DownloadSession::State() const {
    if (runner_.IsHeld()) {
        return SessionState::Asking;
    }
    if (running_) {
        return SessionState::Downloading;
    }
    if (runner_.IsBusy()) {
        return SessionState::Connecting;
    }
    return steps_.IsIdentified() ? SessionState::Identified : SessionState::Idle;
}

void DownloadSession::UpdateState() {
    const SessionState state = State();
    if (state != state_) {
        state_ = state;
        emit StateChanged(state);
    }
}

bool DownloadSession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    transport_ = Transport::Modbus;
    CloseFastPort();
    return steps_.Start(port, address);
}

bool DownloadSession::SetConnection(int port, int address) {
    if (!IsValidConnection(port, address)) {
        return false;
    }
    CloseFastPort();
    return steps_.Connect(port, address);
}

void DownloadSession::CloseConnections() {
    CloseFastPort();
    runner_.Close();
}

void DownloadSession::DiscardRecordSet() {
    working_.reset();
    result_.reset();
}

void DownloadSession::PressButton(WizardButton button) {
    if (runner_.IsHeld()) {
        return; // the question open concerns the press already made
    }
    runner_.Press(button);
    if (!runner_.IsBusy()) {
        CarryOutPending();
    }
}

void DownloadSession::CarryOutPending() {
    const WizardButton button = runner_.TakePending();
    if (button != WizardButton::None) {
        emit ButtonCarriedOut(button);
    }
}

void DownloadSession::ShowView() {
    emit DownloadProgressChanged(view_);
}

void DownloadSession::StartDownload() {
    DiscardRecordSet();
    view_ = DownloadView();
    if (Identity().recordCount < 1) {
        view_.progress.maximum = std::max(view_.progress.maximum, 1);
        view_.progress.value = view_.progress.maximum;
        view_.noDataShown = true;
        view_.cancelCaption = sessionTexts::kCloseCaption;
        ShowView();
        emit DownloadEnded(DownloadOutcome::NoData);
        return;
    }
    view_.doNotUseShown = true;
    ShowView();
    running_ = true;
    locationNames_.assign(kMaxLocationNames + 1, std::string());
    IssueRequest(RequestKind::CheckIdentity, 0);
}

void DownloadSession::UpdateProgress() {
    if (view_.progress.Update(Identity().recordCount, NamesToRead(locationCount_),
                              recordsDone_ + namesDone_)) {
        ShowView();
    }
}

void DownloadSession::IssueRequest(RequestKind kind, std::int32_t parameter) {
    if (transport_ == Transport::Fast) {
        IssueFastRequest(kind, parameter);
    } else if (IsIdentificationKind(kind)) {
        steps_.Issue(kind, parameter);
    } else {
        IssueDownloadRequest(kind, parameter);
    }
}

void DownloadSession::IssueDownloadRequest(RequestKind kind, std::int32_t parameter) {
    const int mapVersion = Identity().mapVersion;
    const registers::ChannelBlocks blocks = ChannelBlocksOf(mapVersion);
    switch (kind) {
    case RequestKind::CheckIdentity:
        recordsDone_ = 0;
        namesDone_ = 0;
        UpdateProgress();
        runner_.Send(kind, parameter,
                     RegisterRequest::ReadHolding(registers::kIdentityBlock, kIdentityRegisters));
        break;
    case RequestKind::MakeIdle:
        runner_.Send(kind, parameter,
                     RegisterRequest::Write(registers::kCommand, registers::kIdleCommand));
        break;
    case RequestKind::ReadChannelEnables:
        runner_.Send(kind, parameter, ReadChannelBlock(mapVersion, blocks.enables));
        break;
    case RequestKind::ReadChannelTags:
        runner_.Send(kind, parameter, ReadChannelBlock(mapVersion, blocks.tags));
        break;
    case RequestKind::ReadChannelUnits:
        runner_.Send(kind, parameter, ReadChannelBlock(mapVersion, blocks.units));
        break;
    case RequestKind::ReadThresholds:
        runner_.Send(kind, parameter,
                     RegisterRequest::ReadHolding(registers::kThresholds, kChannelBlockRegisters));
        break;
    case RequestKind::ReadCalibrationHigh:
        runner_.Send(
            kind, parameter,
            RegisterRequest::ReadHolding(registers::kCalibrationHigh, 2 * kCalibrationFloats));
        break;
    case RequestKind::ReadCalibrationLow:
        runner_.Send(
            kind, parameter,
            RegisterRequest::ReadHolding(registers::kCalibrationLow, 2 * kCalibrationFloats));
        break;
    case RequestKind::ReadCalibrationRaw:
        runner_.Send(
            kind, parameter,
            RegisterRequest::ReadHolding(registers::kCalibrationRaw, 2 * kCalibrationPoints));
        break;
    case RequestKind::ReadLocationCount:
        locationCount_ = 0;
        namesInBlock_ = 0;
        namesDone_ = 0;
        runner_.Send(kind, parameter, RegisterRequest::ReadHolding(kLocationCountRegister, 1));
        break;
    case RequestKind::ReadLocationNames: {
        const std::int32_t block = std::max(parameter, 0);
        namesInBlock_ = NamesInBlock(NamesToRead(locationCount_), block);
        runner_.Send(kind, block,
                     RegisterRequest::ReadHolding(BlockFirstRegister(block),
                                                  kRegistersPerName * namesInBlock_));
        break;
    }
    case RequestKind::EnterFastTransfer:
        runner_.Send(kind, parameter,
                     RegisterRequest::Write(registers::kCommand, registers::kFastTransferCommand));
        break;
    default:
        IssueRecordRequest(parameter);
        break;
    }
}

// Record i: its index written to the pointer (parameter 2i+1, the first as 1), then the
// record read (parameter 2i+2).
void DownloadSession::IssueRecordRequest(std::int32_t parameter) {
    if (parameter <= 1) {
        view_.cancelCaption = sessionTexts::kCancelCaption;
        runner_.Send(RequestKind::ReadRecords, 1,
                     RegisterRequest::Write(registers::kRecordPointer, 0));
    } else if (parameter % 2 == 1) {
        runner_.Send(RequestKind::ReadRecords, parameter,
                     RegisterRequest::Write(registers::kRecordPointer,
                                            static_cast<std::int16_t>(parameter / 2)));
    } else {
        runner_.Send(RequestKind::ReadRecords, parameter,
                     RegisterRequest::ReadInput(registers::kRecord,
                                                ModbusRecordRegisters(Identity().mapVersion)));
    }
}

void DownloadSession::CompleteRequest(RequestKind kind, short result) {
    if (runner_.Pending() == WizardButton::None) {
        Dispatch(kind, result);
    } else if (IsIdentificationKind(kind)) {
        runner_.End();
        CarryOutPending();
    } else {
        AskAboutPending(kind, result);
    }
}

void DownloadSession::Dispatch(RequestKind kind, short result) {
    if (IsIdentificationKind(kind)) {
        steps_.Complete(kind, result);
    } else if (result == 0) {
        CompleteDownloadRequest(kind);
    } // else the watchdog repeats the request
}

void DownloadSession::AskAboutPending(RequestKind kind, short result) {
    askedKind_ = kind;
    askedResult_ = result;
    runner_.Hold();
    UpdateState();
    emit QuestionAsked(sessionTexts::kQuestionTitle, sessionTexts::CancelDownloadQuestion());
}

void DownloadSession::AnswerQuestion(bool yes) {
    if (!runner_.IsHeld()) {
        return;
    }
    runner_.Release();
    if (yes) {
        End(DownloadOutcome::Cancelled);
        CarryOutPending();
        return;
    }
    runner_.TakePending();
    UpdateState();
    // The reply still waits on handle 0: nothing was sent while the question was open.
    Dispatch(askedKind_, askedResult_);
    runner_.WatchWhileBusy();
}

void DownloadSession::CompleteDownloadRequest(RequestKind kind) {
    const int mapVersion = Identity().mapVersion;
    switch (kind) {
    case RequestKind::CheckIdentity:
        CompleteCheckIdentity();
        break;
    case RequestKind::MakeIdle:
        IssueRequest(RequestKind::CheckIdentity, 0);
        break;
    case RequestKind::ReadChannelEnables:
        channels_.TakeEnables(runner_.Reply(kChannelBlockRegisters), mapVersion);
        IssueRequest(RequestKind::ReadChannelTags, 0);
        break;
    case RequestKind::ReadChannelTags:
        channels_.TakeTags(runner_.Reply(kChannelBlockRegisters));
        IssueRequest(RequestKind::ReadChannelUnits, 0);
        break;
    case RequestKind::ReadChannelUnits:
        channels_.TakeUnits(runner_.Reply(kChannelBlockRegisters));
        if (mapVersion < kMapHoldingBlocks) {
            channels_.threshold.fill(0);
            IssueRequest(RequestKind::ReadRecords, 0);
        } else {
            IssueRequest(RequestKind::ReadThresholds, 0);
        }
        break;
    case RequestKind::ReadThresholds:
        channels_.TakeThresholds(runner_.Reply(kChannelBlockRegisters));
        IssueRequest(RequestKind::ReadCalibrationHigh, 0);
        break;
    case RequestKind::ReadCalibrationHigh:
        channels_.TakeEngineeringHigh(runner_.Reply(2 * kCalibrationFloats));
        IssueRequest(RequestKind::ReadCalibrationLow, 0);
        break;
    case RequestKind::ReadCalibrationLow:
        channels_.TakeEngineeringLow(runner_.Reply(2 * kCalibrationFloats));
        IssueRequest(RequestKind::ReadCalibrationRaw, 0);
        break;
    case RequestKind::ReadCalibrationRaw:
        channels_.TakeRawPoints(runner_.Reply(2 * kCalibrationPoints));
        IssueRequest(RequestKind::ReadLocationCount, 0);
        break;
    case RequestKind::ReadLocationCount:
        locationCount_ = runner_.Reply(1).Unsigned(0);
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
        transport_ = Transport::Fast;
        IssueRequest(RequestKind::ReadRecords, 0);
        break;
    case RequestKind::ReadRecords:
        CompleteRecordRead(runner_.Parameter());
        break;
    default:
        runner_.End();
        break;
    }
}

void DownloadSession::CompleteCheckIdentity() {
    const RegisterReply reply = runner_.Reply(kIdentityRegisters);
    if (DecodeSerialNumber(reply) != Identity().serialNumber) {
        End(DownloadOutcome::NotSameInstrument,
            Notice{MessageIcon::Information, sessionTexts::kWarningTitle,
                   sessionTexts::NotSameInstrumentText()});
        return;
    }
    if (DecodeBusy(reply)) {
        IssueRequest(RequestKind::MakeIdle, 0);
        return;
    }
    const std::int32_t count = DecodeRecordCount(reply);
    if (count != Identity().recordCount) {
        steps_.SetRecordCount(count);
    }
    if (count < 1) {
        ShowNoData();
        End(DownloadOutcome::NoData,
            Notice{MessageIcon::Information, sessionTexts::kInformationTitle,
                   sessionTexts::NoDataNoticeText()});
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
    ShowView();
}

void DownloadSession::CompleteLocationNames() {
    const std::int32_t block = runner_.Parameter();
    const RegisterReply reply = runner_.Reply(kRegistersPerName * namesInBlock_);
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
    const RegisterReply reply = runner_.Reply(ModbusRecordRegisters(Identity().mapVersion));
    const bool decoded = DecodeRecord(recordsDone_ - 1, [&](clsDataRecord& record) {
        DecodeModbusRecord(reply, channels_, Identity().mapVersion, record);
    });
    if (!decoded) {
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
    view_.progress.text = sessionTexts::kProgressError;
    ShowView();
    End(DownloadOutcome::DecodingError,
        Notice{MessageIcon::Error, sessionTexts::kInternalErrorTitle,
               sessionTexts::kDownloadError});
}

void DownloadSession::Finish() {
    view_.doNotUseShown = false;
    view_.progress.text = sessionTexts::kProgressDone;
    view_.doneShown = true;
    view_.cancelCaption = sessionTexts::kCloseCaption;
    ShowView();
    result_ = std::move(working_);
    End(DownloadOutcome::Finished);
}

// The session reaches its final state before anything is said, so a window that shows the
// notice modally finds nothing half done behind it.
void DownloadSession::End(DownloadOutcome outcome, std::optional<Notice> notice) {
    runner_.End();
    if (transport_ == Transport::Fast) {
        ReturnToModbus();
    }
    running_ = false;
    if (outcome != DownloadOutcome::Finished) {
        DiscardRecordSet();
    }
    UpdateState();
    if (notice) {
        emit NoticeShown(notice->icon, notice->title, notice->text);
    }
    if (outcome == DownloadOutcome::LostCommunication) {
        steps_.ReportLost();
    }
    if (outcome == DownloadOutcome::Finished) {
        emit RecordSetReady(result_);
    }
    emit DownloadEnded(outcome);
}

void DownloadSession::LoseCommunication() {
    if (running_) {
        End(DownloadOutcome::LostCommunication);
        return;
    }
    transport_ = Transport::Modbus;
    UpdateState();
    steps_.ReportLost();
}

} // namespace kestrix
