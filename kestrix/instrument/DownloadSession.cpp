#include "kestrix/instrument/DownloadSession.h"

#include "kestrix/data/DataIndexError.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RecordDecoding.h"
#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"

#include <QSerialPort>
#include <algorithm>

namespace kestrix::instrument {

namespace {

registers::ChannelBlocks ChannelBlocksOf(int mapVersion) {
    return mapVersion < kMapHoldingBlocks ? registers::kInputChannelBlocks
                                          : registers::kHoldingChannelBlocks;
}

// The request of one channel description block for the identified map version.
auto ReadChannelBlock(const DownloadSession& session, int registers::ChannelBlocks::*block) {
    return [&session, block](std::int32_t) {
        const int mapVersion = session.Identity().mapVersion;
        const int address = ChannelBlocksOf(mapVersion).*block;
        return mapVersion < kMapHoldingBlocks
                   ? RegisterRequest::ReadInput(address, kChannelBlockRegisters)
                   : RegisterRequest::ReadHolding(address, kChannelBlockRegisters);
    };
}

auto ReadHolding(int address, int count) {
    return [address, count](std::int32_t) { return RegisterRequest::ReadHolding(address, count); };
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
    : SessionCore(kIdentityRegisters, parent), fastPort_(new QSerialPort(this)),
      locationNames_(kMaxLocationNames + 1), chunk_(std::make_unique<FastChunk>()) {
    fastPort_->setReadBufferSize(FastChunk::kCapacity);
    connect(fastPort_, &QSerialPort::readyRead, this, &DownloadSession::OnFastBytes);
    SetSteps(Steps());
}

DownloadSession::~DownloadSession() = default;

std::vector<SessionStep> DownloadSession::Steps() {
    std::vector<SessionStep> steps = DescriptionSteps();
    for (SessionStep& step : LocationAndRecordSteps()) {
        steps.push_back(std::move(step));
    }
    return steps;
}

std::vector<SessionStep> DownloadSession::DescriptionSteps() {
    using registers::ChannelBlocks;
    return {
        {RequestKind::CheckIdentity,
         [this](std::int32_t parameter) { SendCheckIdentity(parameter); },
         [this] { TakeCheckIdentity(); }},
        IdleStep(),
        RegisterStep(RequestKind::ReadChannelEnables,
                     ReadChannelBlock(*this, &ChannelBlocks::enables),
                     [this] {
                         channels_.TakeEnables(Runner().Reply(kChannelBlockRegisters),
                                               Identity().mapVersion);
                         Issue(RequestKind::ReadChannelTags, 0);
                     }),
        RegisterStep(RequestKind::ReadChannelTags, ReadChannelBlock(*this, &ChannelBlocks::tags),
                     [this] {
                         channels_.TakeTags(Runner().Reply(kChannelBlockRegisters));
                         Issue(RequestKind::ReadChannelUnits, 0);
                     }),
        RegisterStep(RequestKind::ReadChannelUnits, ReadChannelBlock(*this, &ChannelBlocks::units),
                     [this] { TakeChannelUnits(); }),
        RegisterStep(RequestKind::ReadThresholds,
                     ReadHolding(registers::kThresholds, kChannelBlockRegisters),
                     [this] {
                         channels_.TakeThresholds(Runner().Reply(kChannelBlockRegisters));
                         Issue(RequestKind::ReadCalibrationHigh, 0);
                     }),
        RegisterStep(RequestKind::ReadCalibrationHigh,
                     ReadHolding(registers::kCalibrationHigh, 2 * kCalibrationFloats),
                     [this] {
                         channels_.TakeEngineeringHigh(Runner().Reply(2 * kCalibrationFloats));
                         Issue(RequestKind::ReadCalibrationLow, 0);
                     }),
        RegisterStep(RequestKind::ReadCalibrationLow,
                     ReadHolding(registers::kCalibrationLow, 2 * kCalibrationFloats),
                     [this] {
                         channels_.TakeEngineeringLow(Runner().Reply(2 * kCalibrationFloats));
                         Issue(RequestKind::ReadCalibrationRaw, 0);
                     }),
        RegisterStep(RequestKind::ReadCalibrationRaw,
                     ReadHolding(registers::kCalibrationRaw, 2 * kCalibrationPoints),
                     [this] {
                         channels_.TakeRawPoints(Runner().Reply(2 * kCalibrationPoints));
                         Issue(RequestKind::ReadLocationCount, 0);
                     }),
    };
}

std::vector<SessionStep> DownloadSession::LocationAndRecordSteps() {
    return {
        {RequestKind::ReadLocationCount,
         [this](std::int32_t parameter) { SendLocationCount(parameter); },
         [this] { TakeLocationCount(); }},
        {RequestKind::ReadLocationNames,
         [this](std::int32_t parameter) { SendLocationNames(parameter); },
         [this] { TakeLocationNames(); }},
        RegisterStep(
            RequestKind::EnterFastTransfer,
            [](std::int32_t) {
                return RegisterRequest::Write(registers::kCommand, registers::kFastTransferCommand);
            },
            [this] {
                transport_ = Transport::Fast;
                Issue(RequestKind::ReadRecords, 0);
            }),
        {RequestKind::ReadRecords,
         [this](std::int32_t parameter) {
             if (transport_ == Transport::Fast) {
                 SendFastChunk(parameter);
             } else {
                 SendRecord(parameter);
             }
         },
         [this] { TakeRecord(Runner().Parameter()); }},
    };
}

SessionState DownloadSession::State() const {
    if (IsAsking()) {
        return SessionState::Asking;
    }
    if (running_) {
        return SessionState::Downloading;
    }
    if (IsBusy()) {
        return SessionState::Connecting;
    }
    return IsIdentified() ? SessionState::Identified : SessionState::Idle;
}

void DownloadSession::StateMayHaveChanged() {
    const SessionState state = State();
    if (state != state_) {
        state_ = state;
        emit StateChanged(state);
    }
}

bool DownloadSession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    transport_ = Transport::Modbus;
    CloseFastPort();
    return SessionCore::StartIdentification(port, address);
}

bool DownloadSession::SetConnection(int port, int address) {
    if (!IsValidConnection(port, address)) {
        return false;
    }
    CloseFastPort();
    return SessionCore::SetConnection(port, address);
}

void DownloadSession::CloseConnections() {
    CloseFastPort();
    SessionCore::CloseConnections();
}

void DownloadSession::DiscardRecordSet() {
    working_.reset();
    result_.reset();
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
    Issue(RequestKind::CheckIdentity, 0);
}

void DownloadSession::UpdateProgress() {
    if (view_.progress.Update(Identity().recordCount, NamesToRead(locationCount_),
                              recordsDone_ + namesDone_)) {
        ShowView();
    }
}

std::optional<SessionQuestion> DownloadSession::PressQuestion() const {
    return SessionQuestion{sessionTexts::kQuestionTitle, sessionTexts::CancelDownloadQuestion()};
}

void DownloadSession::SendCheckIdentity(std::int32_t parameter) {
    recordsDone_ = 0;
    namesDone_ = 0;
    UpdateProgress();
    Runner().Send(RequestKind::CheckIdentity, parameter,
                  RegisterRequest::ReadHolding(registers::kIdentityBlock, kIdentityRegisters));
}

void DownloadSession::TakeCheckIdentity() {
    if (!CheckSameIdle(kIdentityRegisters)) {
        return;
    }
    const std::int32_t count = DecodeRecordCount(Runner().Reply(kIdentityRegisters));
    if (count != Identity().recordCount) {
        Connection().SetRecordCount(count);
    }
    if (count < 1) {
        ShowNoData();
        End(DownloadOutcome::NoData,
            SessionNotice{MessageIcon::Information, sessionTexts::kInformationTitle,
                          sessionTexts::NoDataNoticeText()});
        return;
    }
    Issue(RequestKind::ReadChannelEnables, 0);
}

void DownloadSession::TakeChannelUnits() {
    channels_.TakeUnits(Runner().Reply(kChannelBlockRegisters));
    if (Identity().mapVersion < kMapHoldingBlocks) {
        channels_.threshold.fill(0);
        Issue(RequestKind::ReadRecords, 0);
    } else {
        Issue(RequestKind::ReadThresholds, 0);
    }
}

void DownloadSession::ShowNoData() {
    view_.progress.value = view_.progress.maximum;
    view_.progress.text = sessionTexts::kProgressDone;
    view_.doNotUseShown = false;
    view_.noDataShown = true;
    view_.cancelCaption = sessionTexts::kCloseCaption;
    ShowView();
}

void DownloadSession::SendLocationCount(std::int32_t parameter) {
    locationCount_ = 0;
    namesInBlock_ = 0;
    namesDone_ = 0;
    Runner().Send(RequestKind::ReadLocationCount, parameter,
                  RegisterRequest::ReadHolding(kLocationCountRegister, 1));
}

void DownloadSession::TakeLocationCount() {
    locationCount_ = Runner().Reply(1).Unsigned(0);
    UpdateProgress();
    if (locationCount_ < 1) {
        ReadRecordsNext();
    } else {
        Issue(RequestKind::ReadLocationNames, 0);
    }
}

void DownloadSession::SendLocationNames(std::int32_t parameter) {
    const std::int32_t block = std::max(parameter, 0);
    namesInBlock_ = NamesInBlock(NamesToRead(locationCount_), block);
    Runner().Send(
        RequestKind::ReadLocationNames, block,
        RegisterRequest::ReadHolding(BlockFirstRegister(block), kRegistersPerName * namesInBlock_));
}

void DownloadSession::TakeLocationNames() {
    const std::int32_t block = Runner().Parameter();
    const RegisterReply reply = Runner().Reply(kRegistersPerName * namesInBlock_);
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
        Issue(RequestKind::ReadLocationNames, block + 1);
    } else {
        ReadRecordsNext();
    }
}

void DownloadSession::ReadRecordsNext() {
    Issue(Identity().fastTransfer ? RequestKind::EnterFastTransfer : RequestKind::ReadRecords, 0);
}

void DownloadSession::TakeRecord(std::int32_t parameter) {
    if (parameter % 2 == 1) {
        Issue(RequestKind::ReadRecords, parameter + 1);
        return;
    }
    ++recordsDone_;
    UpdateProgress();
    const RegisterReply reply = Runner().Reply(ModbusRecordRegisters(Identity().mapVersion));
    const bool decoded = DecodeRecord(recordsDone_ - 1, [&](data::clsDataRecord& record) {
        DecodeModbusRecord(reply, channels_, Identity().mapVersion, record);
    });
    if (!decoded) {
        FailDecoding();
    } else if (recordsDone_ < Identity().recordCount) {
        Issue(RequestKind::ReadRecords, parameter + 1);
    } else {
        Finish();
    }
}

// Record i: its index written to the pointer (parameter 2i+1, the first as 1), then the
// record read (parameter 2i+2).
void DownloadSession::SendRecord(std::int32_t parameter) {
    if (parameter <= 1) {
        view_.cancelCaption = sessionTexts::kCancelCaption;
        Runner().Send(RequestKind::ReadRecords, 1,
                      RegisterRequest::Write(registers::kRecordPointer, 0));
    } else if (parameter % 2 == 1) {
        Runner().Send(RequestKind::ReadRecords, parameter,
                      RegisterRequest::Write(registers::kRecordPointer,
                                             static_cast<std::int16_t>(parameter / 2)));
    } else {
        Runner().Send(RequestKind::ReadRecords, parameter,
                      RegisterRequest::ReadInput(registers::kRecord,
                                                 ModbusRecordRegisters(Identity().mapVersion)));
    }
}

bool DownloadSession::DecodeRecord(std::int32_t index, const RecordFiller& fill) {
    if (index == 0) {
        working_ = std::make_shared<data::clsDataRecordSet>();
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
    } catch (const data::DataIndexError&) {
        return false;
    }
    return true;
}

void DownloadSession::FailDecoding() {
    view_.progress.text = sessionTexts::kProgressError;
    ShowView();
    End(DownloadOutcome::DecodingError,
        SessionNotice{MessageIcon::Error, sessionTexts::kInternalErrorTitle,
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

void DownloadSession::LeaveRun() {
    if (transport_ == Transport::Fast) {
        ReturnToModbus();
    }
    running_ = false;
    StateMayHaveChanged();
}

void DownloadSession::End(DownloadOutcome outcome, const std::optional<SessionNotice>& notice) {
    if (outcome != DownloadOutcome::Finished) {
        DiscardRecordSet();
    }
    EndRun(notice, outcome == DownloadOutcome::LostCommunication);
    if (outcome == DownloadOutcome::Finished) {
        emit RecordSetReady(result_);
    }
    emit DownloadEnded(outcome);
}

} // namespace kestrix::instrument
