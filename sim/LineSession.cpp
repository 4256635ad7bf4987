#include "LineSession.h"

#include "FastTransfer.h"
#include "tolvex/AsciiFrame.h"

namespace kestrix::sim {
namespace {

// Changes a digit of the LRC: the frame stays readable but fails its check.
void CorruptAsciiFrame(std::vector<uint8_t>& frame) {
    uint8_t& lrcDigit = frame[frame.size() - 4];
    lrcDigit = lrcDigit == '0' ? '1' : '0';
}

} // namespace

LineSession::LineSession(Instrument& instrument, const FaultOptions& faults)
    : instrument_(instrument), slave_(instrument), faults_(faults) {}

std::vector<Transmission> LineSession::Receive(std::span<const uint8_t> bytes) {
    std::vector<Transmission> out;
    for (uint8_t byte : bytes) {
        if (!faults_.HangUpDue()) {
            OnByte(byte, out);
        }
    }
    return out;
}

void LineSession::OnByte(uint8_t byte, std::vector<Transmission>& out) {
    if (auto frame = assembler_.Accept(byte)) {
        OnModbusFrame(*frame, out);
    } else if (fast_) {
        OnFastByte(byte, out);
    }
}

void LineSession::OnModbusFrame(const std::vector<uint8_t>& frame, std::vector<Transmission>& out) {
    const auto pdu = tolvex::DecodeAsciiFrame(frame);
    if (!pdu) {
        return;
    }
    fast_ = false;
    fastCommand_.clear();
    if (!slave_.IsForUs(*pdu)) {
        return;
    }
    // A broadcast awaits no answer, so no fault can befall it.
    const bool broadcast = (*pdu)[0] == 0;
    const AnswerFate fate = broadcast ? AnswerFate::Send : faults_.NextAnswer();
    if (fate == AnswerFate::Drop) {
        return;
    }
    const auto reply = slave_.Answer(*pdu);
    fast_ = instrument_.TakeFastTransferRequest();
    if (!reply) {
        return;
    }
    auto bytes = tolvex::BuildAsciiFrame(*reply);
    if (fate == AnswerFate::Corrupt) {
        CorruptAsciiFrame(bytes);
    }
    out.push_back({std::move(bytes), kModbusBitRate});
}

void LineSession::OnFastByte(uint8_t byte, std::vector<Transmission>& out) {
    if (byte == '<') {
        fastCommand_.assign(1, '<');
        return;
    }
    if (fastCommand_.empty()) {
        return;
    }
    fastCommand_ += static_cast<char>(byte);
    if (fastCommand_.size() > kMaxFastCommand) {
        fastCommand_.clear();
        return;
    }
    if (byte != '>') {
        return;
    }
    const auto command = ParseFastCommand(fastCommand_);
    fastCommand_.clear();
    if (!command) {
        return;
    }
    const AnswerFate fate = faults_.NextAnswer();
    if (fate == AnswerFate::Drop) {
        return;
    }
    auto chunk = BuildFastChunk(instrument_.Records(), *command, instrument_.AnalogCalibration());
    if (fate == AnswerFate::Corrupt) {
        chunk.back() = static_cast<uint8_t>(~chunk.back());
    }
    out.push_back({std::move(chunk), kFastTransferBitRate});
}

} // namespace kestrix::sim
