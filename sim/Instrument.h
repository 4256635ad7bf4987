#pragma once

#include "RegisterText.h"
#include "Scenario.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::sim {

// Modbus exception codes the instrument answers with.
enum class ModbusException : uint8_t {
    None = 0,
    IllegalFunction = 1,
    IllegalAddress = 2,
    IllegalValue = 3,
};

enum class RegisterArea { Holding, Input };

// The instrument's register map and run state: what a read returns and what a write changes.
class Instrument {
public:
    explicit Instrument(Scenario scenario);

    ModbusException Read(RegisterArea area, uint16_t address, uint16_t quantity,
                         std::vector<uint16_t>& values) const;
    ModbusException Write(uint16_t address, uint16_t value);

    // True once after the command to switch the line to the fast transfer was accepted.
    bool TakeFastTransferRequest();

    uint8_t Address() const { return scenario_.identity.address; }
    uint16_t MapVersion() const { return scenario_.identity.mapVersion; }
    const std::vector<SampleRecord>& Records() const { return scenario_.records; }
    const std::array<Calibration, kCalibrationPoints>& AnalogCalibration() const {
        return scenario_.calibration;
    }

    bool Busy() const { return (Holding(kRunState) & kBusyBits) != 0; }
    uint16_t DensityX1000() const { return Holding(kDensity); }
    uint16_t RecordPointer() const { return Holding(kRecordPointer); }
    // The stored names 1..count, read with the model's byte order.
    std::vector<std::string> LocationNames() const;
    ByteOrder NameByteOrder() const { return nameOrder_; }

    static constexpr uint16_t kCommand = 1;
    static constexpr uint16_t kRunState = 2;
    static constexpr uint16_t kRecordPointer = 24;
    static constexpr uint16_t kDensity = 43;
    static constexpr uint16_t kLocationCount = 198;
    static constexpr uint16_t kFirstName = 199;
    static constexpr uint16_t kRegistersPerName = 4;
    static constexpr uint16_t kIdleCommand = 12;
    static constexpr uint16_t kFastTransferCommand = 16;

private:
    static constexpr uint16_t kBusyBits = 0x0003;

    struct Block {
        RegisterArea area;
        uint16_t start;
        std::vector<uint16_t> values;
        bool Holds(RegisterArea where, uint32_t first, uint32_t count) const {
            return where == area && first >= start && first + count <= start + values.size();
        }
    };

    void AddIdentityBlock();
    void AddChannelBlocks();
    void AddCalibrationBlocks();
    void AddNameBlock();
    const Block* FindBlock(RegisterArea area, uint32_t first, uint32_t count) const;
    uint16_t Holding(uint16_t address) const;
    uint16_t& Holding(uint16_t address);
    std::vector<uint16_t> RecordRegisters() const;
    uint16_t RecordLength() const;
    ModbusException Command(uint16_t value);

    Scenario scenario_;
    ByteOrder nameOrder_;
    std::vector<Block> blocks_;
    bool fastTransferRequested_ = false;
};

// Names written by the master put the first character of each pair into the low byte on one
// family of older instruments; everywhere else into the high byte.
ByteOrder NameByteOrderOf(const Identity& identity);

} // namespace kestrix::sim
