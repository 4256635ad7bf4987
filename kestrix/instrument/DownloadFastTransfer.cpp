// The download's fast transfer: chunks of up to 200 records on a plain serial port at 115200
// bit/s on the same device, then back to Modbus.

#include "kestrix/instrument/DownloadSession.h"
#include "kestrix/instrument/RecordDecoding.h"
#include "kestrix/instrument/sessionTexts.h"
#include "tolvex/PortTable.h"

#include <QSerialPort>
#include <algorithm>
#include <array>

namespace kestrix::instrument {

bool DownloadSession::OpenFastPort() {
    CloseFastPort();
    Runner().Close();
    fastPort_->setPortName(QString::fromStdString(tolvex::GetPortDevice(Port())));
    fastPort_->setBaudRate(kFastBaudRate);
    fastPort_->setDataBits(QSerialPort::Data8);
    fastPort_->setParity(QSerialPort::NoParity);
    fastPort_->setStopBits(QSerialPort::OneStop);
    fastPort_->setFlowControl(QSerialPort::NoFlowControl);
    return fastPort_->open(QIODevice::ReadWrite);
}

void DownloadSession::CloseFastPort() {
    if (fastPort_->isOpen()) {
        fastPort_->close();
    }
}

void DownloadSession::ReturnToModbus() {
    transport_ = Transport::Modbus;
    CloseFastPort();
    Connection().Reconnect();
}

void DownloadSession::SendFastChunk(std::int32_t parameter) {
    if (parameter < 1) {
        view_.cancelCaption = sessionTexts::kCancelCaption;
        if (!OpenFastPort()) {
            // Said at once: waiting for the watchdog would only repeat the same refusal.
            const std::string reason = fastPort_->errorString().toStdString();
            End(DownloadOutcome::FastPortNotOpened,
                SessionNotice{
                    MessageIcon::Warning, sessionTexts::kWarningTitle,
                    sessionTexts::FastPortProblemText(tolvex::GetPortDevice(Port()), reason)});
            return;
        }
    }
    Runner().Await(RequestKind::ReadRecords, parameter);
    const std::int32_t count = std::min(Identity().recordCount - parameter, kFastChunkRecords);
    chunk_->Start(parameter, count);
    if (fastPort_->isOpen()) {
        // Bytes left over from an attempt given up must not start this chunk.
        fastPort_->clear(QSerialPort::Input);
        const std::string command = FastChunk::Command(parameter, count);
        fastPort_->write(command.c_str());
        emit FastCommandSent(command);
    }
}

void DownloadSession::OnFastBytes() {
    if (transport_ != Transport::Fast || !Runner().IsBusy() || Runner().IsHeld()) {
        fastPort_->clear(QSerialPort::Input);
        return;
    }
    if (Pending() != WizardButton::None) {
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
    Runner().StopWatchdog();
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
        Runner().ResetRetries();
        TakeFastChunk();
    } else {
        Runner().StartWatchdog();
    }
}

void DownloadSession::TakeFastChunk() {
    const int records = (chunk_->Expected() - 1) / kFastRecordBytes;
    for (int h = 0; h < records; ++h) {
        const bool decoded = DecodeRecord(chunk_->First() + h, [&](data::clsDataRecord& record) {
            DecodeFastRecord(chunk_->Record(h), channels_, Identity().mapVersion, record);
        });
        if (!decoded) {
            FailDecoding();
            return;
        }
    }
    if (recordsDone_ < Identity().recordCount) {
        Issue(RequestKind::ReadRecords, recordsDone_);
    } else {
        Finish();
    }
}

} // namespace kestrix::instrument
