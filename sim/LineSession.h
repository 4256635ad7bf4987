#pragma once

#include "AsciiFrameAssembler.h"
#include "Instrument.h"
#include "LineFaults.h"
#include "ModbusSlave.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrix::sim {

constexpr uint32_t kModbusBitRate = 19200;
constexpr uint32_t kFastTransferBitRate = 115200;

// Bytes to send and the line rate they go out at.
struct Transmission {
    std::vector<uint8_t> bytes;
    uint32_t bitRate = kModbusBitRate;
};

// What happens on the instrument's side of the line: Modbus ASCII until the fast-transfer
// command, then fast requests until a Modbus frame arrives again.
class LineSession {
public:
    LineSession(Instrument& instrument, const FaultOptions& faults);

    std::vector<Transmission> Receive(std::span<const uint8_t> bytes);
    bool InFastTransfer() const { return fast_; }
    bool HangUpDue() const { return faults_.HangUpDue(); }

private:
    void OnByte(uint8_t byte, std::vector<Transmission>& out);
    void OnModbusFrame(const std::vector<uint8_t>& frame, std::vector<Transmission>& out);
    void OnFastByte(uint8_t byte, std::vector<Transmission>& out);

    static constexpr size_t kMaxFastCommand = 16;

    Instrument& instrument_;
    ModbusSlave slave_;
    AsciiFrameAssembler assembler_;
    LineFaults faults_;
    bool fast_ = false;
    std::string fastCommand_;
};

} // namespace kestrix::sim
