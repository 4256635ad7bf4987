#include "Instrument.h"

#include "Presets.h"
#include "RegisterText.h"

#include <bit>
#include <gtest/gtest.h>

namespace kestrix::sim {
namespace {

std::vector<uint16_t> ReadOk(const Instrument& instrument, RegisterArea area, uint16_t address,
                             uint16_t quantity) {
    std::vector<uint16_t> values;
    EXPECT_EQ(instrument.Read(area, address, quantity, values), ModbusException::None)
        << "address " << address;
    return values;
}

uint32_t Long(const std::vector<uint16_t>& r, size_t at) {
    return uint32_t{r[at]} << 16 | r[at + 1];
}

float FloatLowWordFirst(const std::vector<uint16_t>& r, size_t at) {
    return std::bit_cast<float>(uint32_t{r[at + 1]} << 16 | r[at]);
}

Scenario WithMapVersion(uint16_t version) {
    Scenario scenario = *FindPreset("standard");
    scenario.identity.mapVersion = version;
    scenario.identity.fastTransfer = true;
    return scenario;
}

TEST(InstrumentIdentity, BlockCarriesTheScenario) {
    Scenario scenario = *FindPreset("iaq-fast");
    scenario.identity.serial = -2;
    const Instrument instrument(scenario);
    const auto r = ReadOk(instrument, RegisterArea::Holding, 0, 50);
    EXPECT_EQ(r[0], scenario.identity.mapVersion);
    EXPECT_EQ(r[3], scenario.identity.instrumentCode);
    EXPECT_EQ(static_cast<int32_t>(Long(r, 4)), -2);
    EXPECT_EQ(RegistersToText(std::span(r).subspan(6, 8)), scenario.identity.modelType);
    EXPECT_EQ(RegistersToText(std::span(r).subspan(14, 8)), scenario.identity.modelName);
    EXPECT_EQ(r[22], scenario.identity.flowRateX100);
    EXPECT_EQ(r[23], scenario.records.size());
    EXPECT_EQ(RegistersToText(std::span(r).subspan(40, 2)), scenario.identity.flowUnit);
    EXPECT_EQ(r[43], scenario.identity.densityX1000);
    EXPECT_EQ(r[49] & 1, 1);
}

TEST(InstrumentIdentity, CapabilitiesFollowTheMapVersion) {
    const auto flowUnit = [](uint16_t version) {
        const auto r = ReadOk(Instrument(WithMapVersion(version)), RegisterArea::Holding, 40, 2);
        return RegistersToText(r);
    };
    EXPECT_EQ(flowUnit(140), "");
    EXPECT_EQ(flowUnit(141), "CFM");
    EXPECT_EQ(ReadOk(Instrument(WithMapVersion(144)), RegisterArea::Holding, 49, 1)[0], 0);
    EXPECT_EQ(ReadOk(Instrument(WithMapVersion(145)), RegisterArea::Holding, 49, 1)[0], 1);
}

TEST(InstrumentRunState, IdleCommandClearsOnlyTheBusyBits) {
    Instrument instrument(*FindPreset("busy"));
    EXPECT_TRUE(instrument.Busy());
    EXPECT_NE(ReadOk(instrument, RegisterArea::Holding, 2, 1)[0] & 3, 0);
    EXPECT_EQ(instrument.Write(Instrument::kCommand, Instrument::kIdleCommand),
              ModbusException::None);
    EXPECT_FALSE(instrument.Busy());
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 2, 1)[0], 0);
}

TEST(InstrumentRunState, FastTransferCommandNeedsTheCapability) {
    Instrument plain(*FindPreset("standard"));
    EXPECT_EQ(plain.Write(Instrument::kCommand, Instrument::kFastTransferCommand),
              ModbusException::IllegalValue);
    EXPECT_FALSE(plain.TakeFastTransferRequest());

    Instrument fast(*FindPreset("iaq-fast"));
    EXPECT_EQ(fast.Write(Instrument::kCommand, Instrument::kFastTransferCommand),
              ModbusException::None);
    EXPECT_TRUE(fast.TakeFastTransferRequest());
    EXPECT_FALSE(fast.TakeFastTransferRequest());
    EXPECT_EQ(fast.Write(Instrument::kCommand, 99), ModbusException::IllegalValue);
}

TEST(InstrumentRecords, PointerSelectsTheRecordAndStaysInsideTheCount) {
    const Scenario scenario = *FindPreset("standard");
    Instrument instrument(scenario);
    const auto last = static_cast<uint16_t>(scenario.records.size() - 1);
    EXPECT_EQ(instrument.Write(Instrument::kRecordPointer, last), ModbusException::None);
    const auto r = ReadOk(instrument, RegisterArea::Input, 0, 74);
    const SampleRecord& record = scenario.records.back();
    EXPECT_EQ(static_cast<int32_t>(Long(r, 0)), record.timeStamp);
    EXPECT_EQ(Long(r, 2), record.sampleTime);
    EXPECT_EQ(static_cast<int32_t>(Long(r, 4)), record.location);
    EXPECT_EQ(r[7], record.status);
    for (int k = 0; k < kParticleChannelCount; ++k) {
        EXPECT_EQ(Long(r, 8 + 2 * k), record.counts[k]) << "channel " << 4 + k;
    }
    for (int k = 0; k < kAnalogChannelCount; ++k) {
        EXPECT_EQ(FloatLowWordFirst(r, 40 + 2 * k), record.analog[k]) << "channel " << 20 + k;
    }
    EXPECT_EQ(r[72], record.analogEnable);
    EXPECT_EQ(r[73], record.particleEnable);

    EXPECT_EQ(instrument.Write(Instrument::kRecordPointer, last + 1),
              ModbusException::IllegalValue);
    EXPECT_EQ(instrument.RecordPointer(), last);
}

TEST(InstrumentRecords, ShortRecordsBeforeMap138) {
    const Instrument legacy(*FindPreset("legacy-137"));
    std::vector<uint16_t> values;
    EXPECT_EQ(legacy.Read(RegisterArea::Input, 0, 72, values), ModbusException::None);
    EXPECT_EQ(legacy.Read(RegisterArea::Input, 0, 74, values), ModbusException::IllegalAddress);
}

TEST(InstrumentRecords, NoRecordToReadWhenEmpty) {
    Instrument empty(*FindPreset("empty"));
    std::vector<uint16_t> values;
    EXPECT_EQ(empty.Read(RegisterArea::Input, 0, 74, values), ModbusException::IllegalAddress);
    EXPECT_EQ(empty.Write(Instrument::kRecordPointer, 0), ModbusException::IllegalValue);
}

TEST(InstrumentChannels, BlocksMoveFromInputToHoldingAt138) {
    const Scenario scenario = *FindPreset("standard");
    const Instrument legacy(WithMapVersion(137));
    const Instrument modern(WithMapVersion(138));
    std::vector<uint16_t> values;
    EXPECT_EQ(legacy.Read(RegisterArea::Holding, 1000, 72, values),
              ModbusException::IllegalAddress);
    EXPECT_EQ(legacy.Read(RegisterArea::Holding, 5000, 72, values),
              ModbusException::IllegalAddress);
    EXPECT_EQ(modern.Read(RegisterArea::Input, 1000, 72, values), ModbusException::IllegalAddress);

    const auto legacyTags = ReadOk(legacy, RegisterArea::Input, 2000, 72);
    const auto modernTags = ReadOk(modern, RegisterArea::Holding, 1000, 72);
    const auto legacyEnables = ReadOk(legacy, RegisterArea::Input, 1000, 72);
    const auto modernEnables = ReadOk(modern, RegisterArea::Holding, 3000, 72);
    const auto units = ReadOk(modern, RegisterArea::Holding, 2000, 72);
    const auto thresholds = ReadOk(modern, RegisterArea::Holding, 5000, 72);
    for (int c = 0; c < kChannelCount; ++c) {
        const Channel& channel = scenario.channels[c];
        EXPECT_EQ(RegistersToText(std::span(legacyTags).subspan(2 * c, 2)), channel.tag);
        EXPECT_EQ(RegistersToText(std::span(modernTags).subspan(2 * c, 2)), channel.tag);
        EXPECT_EQ(RegistersToText(std::span(units).subspan(2 * c, 2)), channel.unit);
        EXPECT_EQ(legacyEnables[2 * c + 1], channel.enabled ? 1 : 0) << "no alarm bit";
        EXPECT_EQ(modernEnables[2 * c + 1], (channel.enabled ? 1 : 0) | (channel.alarm ? 2 : 0));
        EXPECT_EQ(static_cast<int32_t>(Long(thresholds, 2 * c)), channel.threshold);
    }
}

TEST(InstrumentChannels, CalibrationFloatsComeLowWordFirst) {
    const Scenario scenario = *FindPreset("standard");
    const Instrument instrument(scenario);
    const auto low = ReadOk(instrument, RegisterArea::Holding, 7040, 32);
    const auto high = ReadOk(instrument, RegisterArea::Holding, 8040, 32);
    const auto raw = ReadOk(instrument, RegisterArea::Holding, 9040, 8);
    for (int i = 0; i < kCalibrationPoints; ++i) {
        EXPECT_EQ(FloatLowWordFirst(low, 2 * i), scenario.calibration[i].engineeringLow);
        EXPECT_EQ(FloatLowWordFirst(high, 2 * i), scenario.calibration[i].engineeringHigh);
        EXPECT_EQ(static_cast<int16_t>(raw[2 * i]), scenario.calibration[i].rawLow);
        EXPECT_EQ(static_cast<int16_t>(raw[2 * i + 1]), scenario.calibration[i].rawHigh);
    }
}

TEST(InstrumentMap, ReadsAndWritesOutsideTheMapAreRefused) {
    Instrument instrument(*FindPreset("standard"));
    std::vector<uint16_t> values;
    EXPECT_EQ(instrument.Read(RegisterArea::Holding, 48, 3, values),
              ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Read(RegisterArea::Holding, 100, 1, values),
              ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Read(RegisterArea::Holding, 999, 1, values),
              ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Read(RegisterArea::Holding, 65535, 1, values),
              ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Write(0, 200), ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Write(23, 1), ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Write(198, 7), ModbusException::IllegalAddress);
    EXPECT_EQ(instrument.Write(999, 1), ModbusException::IllegalAddress);
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 0, 1)[0], 145);
}

TEST(InstrumentSettings, DensityIsWritable) {
    Instrument instrument(*FindPreset("iaq-fast"));
    EXPECT_EQ(instrument.Write(Instrument::kDensity, 1200), ModbusException::None);
    EXPECT_EQ(instrument.DensityX1000(), 1200);
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 43, 1)[0], 1200);
}

TEST(InstrumentNames, CountAndNamesAreReadInBlocks) {
    const Instrument instrument(*FindPreset("names-200"));
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 198, 1)[0], 200);
    const auto lastBlock = ReadOk(instrument, RegisterArea::Holding, 199 + 700, 100);
    EXPECT_EQ(RegistersToText(std::span(lastBlock).subspan(96, 4)), "ROOM_200");
    EXPECT_EQ(instrument.LocationNames().front(), "ROOM_001");
}

// Writes LOBBY the way the upload does (space-filled to 8 characters) and reads it back.
std::vector<std::string> UploadLobby(Instrument& instrument, ByteOrder order) {
    uint16_t registers[4];
    TextToRegisters("LOBBY   ", registers, order);
    for (uint16_t k = 0; k < 4; ++k) {
        EXPECT_EQ(instrument.Write(Instrument::kFirstName + k, registers[k]),
                  ModbusException::None);
    }
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 199, 4),
              std::vector<uint16_t>(registers, registers + 4));
    return instrument.LocationNames();
}

TEST(InstrumentNames, HighByteFirstOnMostModels) {
    Instrument instrument(*FindPreset("standard"));
    ASSERT_EQ(instrument.NameByteOrder(), ByteOrder::HighFirst);
    EXPECT_EQ(UploadLobby(instrument, ByteOrder::HighFirst).front(), "LOBBY   ");
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 199, 1)[0], 'L' << 8 | 'O');
}

TEST(InstrumentNames, LowByteFirstOnTheSwappedFamily) {
    Instrument instrument(*FindPreset("swapped-names"));
    ASSERT_EQ(instrument.NameByteOrder(), ByteOrder::LowFirst);
    EXPECT_EQ(UploadLobby(instrument, ByteOrder::LowFirst).front(), "LOBBY   ");
    EXPECT_EQ(ReadOk(instrument, RegisterArea::Holding, 199, 1)[0], 'O' << 8 | 'L');
}

TEST(InstrumentNames, ByteOrderExceptionNeedsEveryCondition) {
    Identity identity = FindPreset("swapped-names")->identity;
    EXPECT_EQ(NameByteOrderOf(identity), ByteOrder::LowFirst);
    identity.modelType = "particle counter";
    EXPECT_EQ(NameByteOrderOf(identity), ByteOrder::LowFirst);
    Identity other = identity;
    other.instrumentCode = 251;
    EXPECT_EQ(NameByteOrderOf(other), ByteOrder::HighFirst);
    other = identity;
    other.mapVersion = 139;
    EXPECT_EQ(NameByteOrderOf(other), ByteOrder::HighFirst);
    other = identity;
    other.modelName = "Dastel 1100";
    EXPECT_EQ(NameByteOrderOf(other), ByteOrder::HighFirst);
    other = identity;
    other.modelType = "LPC";
    EXPECT_EQ(NameByteOrderOf(other), ByteOrder::HighFirst);
}

TEST(RegisterText, StopsAtTheFirstZeroByte) {
    const uint16_t registers[] = {'A' << 8 | 'B', 'C' << 8, 'D' << 8 | 'E'};
    EXPECT_EQ(RegistersToText(registers), "ABC");
    EXPECT_EQ(RegistersToText(registers, ByteOrder::LowFirst), "BA");
    uint16_t packed[2];
    TextToRegisters("WXYZ!", packed);
    EXPECT_EQ(RegistersToText(packed), "WXYZ");
}

} // namespace
} // namespace kestrix::sim
