#include "Scenario.h"

namespace kestrix::sim {
namespace {

Channel Enabled(std::string tag, std::string unit, int32_t threshold = 0) {
    return Channel{std::move(tag), std::move(unit), true, threshold > 0, threshold};
}

} // namespace

std::array<Channel, kChannelCount> StandardChannels() {
    std::array<Channel, kChannelCount> channels;
    channels[0] = Enabled("TIME", "s");
    channels[1] = Enabled("STIM", "s");
    channels[2] = Enabled("LOC", "");
    channels[3] = Enabled("STAT", "");
    const char* sizes[] = {"0.3", "0.5", "1.0", "2.5", "5.0", "10.0"};
    for (int k = 0; k < 6; ++k) {
        channels[kFirstParticleChannel + k] = Enabled(sizes[k], "#", k == 0 ? 2000000 : 0);
    }
    channels[kFirstAnalogChannel + 0] = Enabled("TEMP", "C");
    channels[kFirstAnalogChannel + 1] = Enabled("RH", "%");
    channels[kFirstAnalogChannel + 2] = Enabled("AIRV", "ft/m");
    channels[kFirstAnalogChannel + 3] = Enabled("DPRS", "\"H2O");
    return channels;
}

// Raw values of one hundredth (temperature, humidity), one tenth (air velocity) and one
// ten-thousandth (pressure) of the engineering unit.
std::array<Calibration, kCalibrationPoints> StandardCalibration() {
    return {Calibration{0.0F, 50.0F, 0, 5000}, Calibration{0.0F, 100.0F, 0, 10000},
            Calibration{0.0F, 2000.0F, 0, 20000}, Calibration{-0.5F, 0.5F, -5000, 5000}};
}

Scenario StandardScenario() {
    Scenario scenario;
    scenario.channels = StandardChannels();
    scenario.calibration = StandardCalibration();
    return scenario;
}

} // namespace kestrix::sim
