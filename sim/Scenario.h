#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::sim {

constexpr int kChannelCount = 36;
constexpr int kFirstParticleChannel = 4;
constexpr int kParticleChannelCount = 16;
constexpr int kFirstAnalogChannel = 20;
constexpr int kAnalogChannelCount = 16;
constexpr int kCalibrationPoints = 4;
constexpr size_t kMaxLocationNames = 200;
constexpr size_t kMaxRecords = 65535;

struct Identity {
    std::string modelName = "Velora 3100";
    std::string modelType = "APC";
    int32_t serial = 12345;
    uint16_t instrumentCode = 210;
    uint16_t mapVersion = 145;
    uint16_t flowRateX100 = 100;
    std::string flowUnit = "CFM";
    uint16_t densityX1000 = 2500;
    bool fastTransfer = false;
    bool busy = false;
    uint8_t address = 1;
};

struct Channel {
    std::string tag;
    std::string unit;
    bool enabled = false;
    bool alarm = false;
    int32_t threshold = 0;
};

// Engineering values at two raw points of one analog input.
struct Calibration {
    float engineeringLow = 0;
    float engineeringHigh = 0;
    int16_t rawLow = 0;
    int16_t rawHigh = 0;
};

struct SampleRecord {
    int32_t timeStamp = 0;
    uint32_t sampleTime = 0;
    int32_t location = 0;
    uint8_t status = 0;
    uint16_t particleEnable = 0;
    uint16_t analogEnable = 0;
    std::array<uint32_t, kParticleChannelCount> counts{};
    std::array<float, kAnalogChannelCount> analog{};
};

// Records made from a seed rather than listed one by one.
struct RecordGeneration {
    uint64_t seed = 1;
    size_t count = 0;
    int32_t startTime = 1700000000;
    uint32_t sampleTime = 60;
    uint32_t interval = 120;
};

struct Scenario {
    Identity identity;
    std::array<Channel, kChannelCount> channels;
    std::array<Calibration, kCalibrationPoints> calibration;
    std::vector<std::string> locationNames;
    std::vector<SampleRecord> records;
};

// The channel layout of a current six-size counter with four environmental inputs.
std::array<Channel, kChannelCount> StandardChannels();
std::array<Calibration, kCalibrationPoints> StandardCalibration();
Scenario StandardScenario();

} // namespace kestrix::sim
