#include "FastTransfer.h"

#include "Presets.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace kestrix::sim {
namespace {

uint32_t BigEndian(std::span<const uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), uint32_t{0},
                           [](uint32_t value, uint8_t byte) { return value << 8 | byte; });
}

// The master's reading of a raw analog field through the two calibration points.
double Engineering(int16_t raw, const Calibration& point) {
    const double slope =
        (double{point.engineeringHigh} - point.engineeringLow) / (point.rawHigh - point.rawLow);
    return slope * raw + (point.engineeringLow - slope * point.rawLow);
}

TEST(FastCommand, ParsesOnlyTheExactForm) {
    const auto command = ParseFastCommand("<gr0200,0045>");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->first, 200);
    EXPECT_EQ(command->count, 45);
    EXPECT_FALSE(ParseFastCommand("<gr200,0045>"));
    EXPECT_FALSE(ParseFastCommand("<gr0200;0045>"));
    EXPECT_FALSE(ParseFastCommand("<GR0200,0045>"));
    EXPECT_FALSE(ParseFastCommand("<gr02x0,0045>"));
    EXPECT_FALSE(ParseFastCommand("<gr0200,0045"));
    EXPECT_FALSE(ParseFastCommand("<gr+200,0045>"));
}

TEST(FastRecord, FieldsSitAtTheirOffsetsHighByteFirst) {
    SampleRecord record;
    record.location = 1;
    record.timeStamp = -5;
    record.sampleTime = 0x1234567;
    record.status = 0x5F;
    record.particleEnable = 0x1FF;
    record.analogEnable = 0x0F;
    for (int k = 0; k < kParticleChannelCount; ++k) {
        record.counts[k] = 1000 * (k + 1);
    }
    record.counts[1] = 0x2000000;
    record.analog = {21.37F, 45.5F, 90.0F, -0.05F};
    const auto calibration = StandardCalibration();
    std::array<uint8_t, kFastRecordSize> out{};
    EncodeFastRecord(record, calibration, out);

    EXPECT_EQ(BigEndian(std::span(out).subspan(0, 2)), 0U) << "location minus one";
    EXPECT_EQ(static_cast<int32_t>(BigEndian(std::span(out).subspan(2, 4))), -5);
    EXPECT_EQ(BigEndian(std::span(out).subspan(6, 3)), 0xFFFFFFU) << "24 bits at most";
    EXPECT_EQ(out[9], 0x5F);
    EXPECT_EQ(out[10], 0xFF) << "only eight particle channels have an enable bit";
    EXPECT_EQ(out[11], 0x0F);
    EXPECT_EQ(BigEndian(std::span(out).subspan(12, 3)), 1000U);
    EXPECT_EQ(BigEndian(std::span(out).subspan(15, 3)), 0xFFFFFFU);
    EXPECT_EQ(BigEndian(std::span(out).subspan(12 + 3 * 8, 3)), 9000U);
    for (int k = 0; k < kFastAnalogChannels; ++k) {
        const auto raw = static_cast<int16_t>(BigEndian(std::span(out).subspan(40 + 2 * k, 2)));
        EXPECT_NEAR(Engineering(raw, calibration[k]), record.analog[k],
                    (calibration[k].engineeringHigh - calibration[k].engineeringLow) /
                        (calibration[k].rawHigh - calibration[k].rawLow))
            << "analog " << k;
    }
}

TEST(FastRecord, UncalibratedInputsSendZero) {
    SampleRecord record;
    record.analog[0] = 12.0F;
    std::array<Calibration, kCalibrationPoints> calibration{};
    std::array<uint8_t, kFastRecordSize> out{};
    EncodeFastRecord(record, calibration, out);
    EXPECT_EQ(BigEndian(std::span(out).subspan(40, 2)), 0U);
}

TEST(FastChunk, RecordsThenTheirEightBitSum) {
    const Scenario scenario = *FindPreset("iaq-fast");
    const auto chunk = BuildFastChunk(scenario.records, {400, 200}, scenario.calibration);
    ASSERT_EQ(chunk.size(), 50 * kFastRecordSize + 1) << "only the records that exist";
    const auto sum = std::accumulate(chunk.begin(), chunk.end() - 1, 0U);
    EXPECT_EQ(chunk.back(), sum % 256);
    std::array<uint8_t, kFastRecordSize> first{};
    EncodeFastRecord(scenario.records[400], scenario.calibration, first);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), chunk.begin()));
}

TEST(FastChunk, RequestPastTheEndGivesOnlyTheChecksum) {
    const Scenario scenario = *FindPreset("iaq-fast");
    EXPECT_EQ(BuildFastChunk(scenario.records, {9999, 9999}, scenario.calibration),
              std::vector<uint8_t>{0});
}

} // namespace
} // namespace kestrix::sim
