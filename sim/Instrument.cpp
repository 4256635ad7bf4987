#include "Instrument.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <utility>

namespace kestrix::sim {
namespace {

constexpr uint16_t kIdentityLength = 50;
constexpr uint16_t kSerial = 4;
constexpr uint16_t kModelType = 6;
constexpr uint16_t kModelName = 14;
constexpr uint16_t kTextRegisters = 8;
constexpr uint16_t kFlowRate = 22;
constexpr uint16_t kRecordCount = 23;
constexpr uint16_t kFlowUnit = 40;
constexpr uint16_t kCapabilities = 49;
constexpr uint16_t kChannelBlockLength = 2 * kChannelCount;
constexpr uint16_t kCalibrationFloats = 16;
constexpr uint16_t kShortRecord = 72;
constexpr uint16_t kLongRecord = 74;

constexpr uint16_t kFirstMapWithHoldingBlocks = 138;
constexpr uint16_t kFirstMapWithFlowUnit = 141;
constexpr uint16_t kFirstMapWithFastTransfer = 145;

void PutLong(std::vector<uint16_t>& registers, size_t at, uint32_t value) {
    registers[at] = static_cast<uint16_t>(value >> 16);
    registers[at + 1] = static_cast<uint16_t>(value & 0xFFFF);
}

// Floats go low word first.
void PutFloat(std::vector<uint16_t>& registers, size_t at, float value) {
    const auto bits = std::bit_cast<uint32_t>(value);
    registers[at] = static_cast<uint16_t>(bits & 0xFFFF);
    registers[at + 1] = static_cast<uint16_t>(bits >> 16);
}

void PutText(std::vector<uint16_t>& registers, size_t at, size_t length, const std::string& text,
             ByteOrder order = ByteOrder::HighFirst) {
    TextToRegisters(text, std::span(registers).subspan(at, length), order);
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

ByteOrder NameByteOrderOf(const Identity& identity) {
    const std::string name = Upper(identity.modelName);
    const std::string type = Upper(identity.modelType);
    const bool swapped =
        identity.instrumentCode == 250 && identity.mapVersion == 138 &&
        name.find("VELORA") != std::string::npos &&
        (type.find("APC") != std::string::npos || type.find("PARTICLE") != std::string::npos);
    return swapped ? ByteOrder::LowFirst : ByteOrder::HighFirst;
}

Instrument::Instrument(Scenario scenario)
    : scenario_(std::move(scenario)), nameOrder_(NameByteOrderOf(scenario_.identity)) {
    AddIdentityBlock();
    AddNameBlock();
    AddChannelBlocks();
    AddCalibrationBlocks();
}

void Instrument::AddIdentityBlock() {
    const Identity& id = scenario_.identity;
    std::vector<uint16_t> r(kIdentityLength, 0);
    r[0] = id.mapVersion;
    r[kRunState] = id.busy ? 1 : 0;
    r[3] = id.instrumentCode;
    PutLong(r, kSerial, static_cast<uint32_t>(id.serial));
    PutText(r, kModelType, kTextRegisters, id.modelType);
    PutText(r, kModelName, kTextRegisters, id.modelName);
    r[kFlowRate] = id.flowRateX100;
    r[kRecordCount] = static_cast<uint16_t>(scenario_.records.size());
    if (id.mapVersion >= kFirstMapWithFlowUnit) {
        PutText(r, kFlowUnit, 2, id.flowUnit);
    }
    r[kDensity] = id.densityX1000;
    if (id.mapVersion >= kFirstMapWithFastTransfer && id.fastTransfer) {
        r[kCapabilities] = 1;
    }
    blocks_.push_back({RegisterArea::Holding, 0, std::move(r)});
}

// Room for the most names the instrument can keep; register 198 tells how many are stored.
void Instrument::AddNameBlock() {
    std::vector<uint16_t> r(1 + kRegistersPerName * kMaxLocationNames, 0);
    r[0] = static_cast<uint16_t>(scenario_.locationNames.size());
    for (size_t j = 0; j < scenario_.locationNames.size(); ++j) {
        PutText(r, 1 + kRegistersPerName * j, kRegistersPerName, scenario_.locationNames[j],
                nameOrder_);
    }
    blocks_.push_back({RegisterArea::Holding, kLocationCount, std::move(r)});
}

void Instrument::AddChannelBlocks() {
    std::vector<uint16_t> enables(kChannelBlockLength, 0);
    std::vector<uint16_t> tags(kChannelBlockLength, 0);
    std::vector<uint16_t> units(kChannelBlockLength, 0);
    std::vector<uint16_t> thresholds(kChannelBlockLength, 0);
    const bool modern = MapVersion() >= kFirstMapWithHoldingBlocks;
    for (int c = 0; c < kChannelCount; ++c) {
        const Channel& channel = scenario_.channels[c];
        enables[2 * c + 1] =
            static_cast<uint16_t>((channel.enabled ? 1 : 0) | (modern && channel.alarm ? 2 : 0));
        PutText(tags, 2 * c, 2, channel.tag);
        PutText(units, 2 * c, 2, channel.unit);
        PutLong(thresholds, 2 * c, static_cast<uint32_t>(channel.threshold));
    }
    if (modern) {
        blocks_.push_back({RegisterArea::Holding, 3000, std::move(enables)});
        blocks_.push_back({RegisterArea::Holding, 1000, std::move(tags)});
        blocks_.push_back({RegisterArea::Holding, 2000, std::move(units)});
        blocks_.push_back({RegisterArea::Holding, 5000, std::move(thresholds)});
    } else {
        blocks_.push_back({RegisterArea::Input, 1000, std::move(enables)});
        blocks_.push_back({RegisterArea::Input, 2000, std::move(tags)});
        blocks_.push_back({RegisterArea::Input, 3000, std::move(units)});
    }
}

void Instrument::AddCalibrationBlocks() {
    std::vector<uint16_t> low(2 * kCalibrationFloats, 0);
    std::vector<uint16_t> high(2 * kCalibrationFloats, 0);
    std::vector<uint16_t> raw(2 * kCalibrationPoints, 0);
    for (int i = 0; i < kCalibrationPoints; ++i) {
        const Calibration& point = scenario_.calibration[i];
        PutFloat(low, 2 * i, point.engineeringLow);
        PutFloat(high, 2 * i, point.engineeringHigh);
        raw[2 * i] = static_cast<uint16_t>(point.rawLow);
        raw[2 * i + 1] = static_cast<uint16_t>(point.rawHigh);
    }
    blocks_.push_back({RegisterArea::Holding, 7040, std::move(low)});
    blocks_.push_back({RegisterArea::Holding, 8040, std::move(high)});
    blocks_.push_back({RegisterArea::Holding, 9040, std::move(raw)});
}

const Instrument::Block* Instrument::FindBlock(RegisterArea area, uint32_t first,
                                               uint32_t count) const {
    const auto found = std::find_if(blocks_.begin(), blocks_.end(), [&](const Block& block) {
        return block.Holds(area, first, count);
    });
    return found == blocks_.end() ? nullptr : &*found;
}

uint16_t Instrument::Holding(uint16_t address) const {
    const Block* block = FindBlock(RegisterArea::Holding, address, 1);
    return block ? block->values[address - block->start] : 0;
}

// Only for addresses that the identity or name block holds.
uint16_t& Instrument::Holding(uint16_t address) {
    Block& block = *std::find_if(blocks_.begin(), blocks_.end(), [&](const Block& candidate) {
        return candidate.Holds(RegisterArea::Holding, address, 1);
    });
    return block.values[address - block.start];
}

uint16_t Instrument::RecordLength() const {
    return MapVersion() >= kFirstMapWithHoldingBlocks ? kLongRecord : kShortRecord;
}

std::vector<uint16_t> Instrument::RecordRegisters() const {
    const SampleRecord& record = scenario_.records[RecordPointer()];
    std::vector<uint16_t> r(RecordLength(), 0);
    PutLong(r, 0, static_cast<uint32_t>(record.timeStamp));
    PutLong(r, 2, record.sampleTime);
    PutLong(r, 4, static_cast<uint32_t>(record.location));
    r[7] = record.status;
    for (int k = 0; k < kParticleChannelCount; ++k) {
        PutLong(r, 8 + 2 * k, record.counts[k]);
    }
    for (int k = 0; k < kAnalogChannelCount; ++k) {
        PutFloat(r, 40 + 2 * k, record.analog[k]);
    }
    if (r.size() == kLongRecord) {
        r[72] = record.analogEnable;
        r[73] = record.particleEnable;
    }
    return r;
}

ModbusException Instrument::Read(RegisterArea area, uint16_t address, uint16_t quantity,
                                 std::vector<uint16_t>& values) const {
    values.clear();
    if (area == RegisterArea::Input && uint32_t{address} + quantity <= RecordLength()) {
        if (RecordPointer() >= scenario_.records.size()) {
            return ModbusException::IllegalAddress;
        }
        const auto record = RecordRegisters();
        values.assign(record.begin() + address, record.begin() + address + quantity);
        return ModbusException::None;
    }
    const Block* block = FindBlock(area, address, quantity);
    if (!block) {
        return ModbusException::IllegalAddress;
    }
    const auto first = block->values.begin() + (address - block->start);
    values.assign(first, first + quantity);
    return ModbusException::None;
}

ModbusException Instrument::Command(uint16_t value) {
    if (value == kIdleCommand) {
        Holding(kRunState) &= static_cast<uint16_t>(~kBusyBits);
        return ModbusException::None;
    }
    if (value == kFastTransferCommand && (Holding(kCapabilities) & 1) != 0) {
        fastTransferRequested_ = true;
        return ModbusException::None;
    }
    return ModbusException::IllegalValue;
}

ModbusException Instrument::Write(uint16_t address, uint16_t value) {
    if (address == kCommand) {
        return Command(value);
    }
    if (address == kRecordPointer) {
        if (value >= scenario_.records.size()) {
            return ModbusException::IllegalValue;
        }
        Holding(kRecordPointer) = value;
        return ModbusException::None;
    }
    const bool isName =
        address >= kFirstName && address < kFirstName + kRegistersPerName * kMaxLocationNames;
    if (address == kDensity || isName) {
        Holding(address) = value;
        return ModbusException::None;
    }
    return ModbusException::IllegalAddress;
}

bool Instrument::TakeFastTransferRequest() {
    return std::exchange(fastTransferRequested_, false);
}

std::vector<std::string> Instrument::LocationNames() const {
    std::vector<std::string> names(Holding(kLocationCount));
    std::vector<uint16_t> registers;
    for (size_t j = 0; j < names.size(); ++j) {
        Read(RegisterArea::Holding, static_cast<uint16_t>(kFirstName + kRegistersPerName * j),
             kRegistersPerName, registers);
        names[j] = RegistersToText(registers, nameOrder_);
    }
    return names;
}

} // namespace kestrix::sim
