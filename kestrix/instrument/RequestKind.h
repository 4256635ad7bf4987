#pragma once

#include <cstdint>

namespace kestrix::instrument {

// The outstanding request of a session; Idle when none is.
enum class RequestKind : std::int32_t {
    Idle = 0,
    ProbeAddress = 1,
    ScanAddresses = 2,
    ReadIdentity = 3,
    CheckIdentity = 4,
    EnterFastTransfer = 5,
    ReadRecords = 6,
    ReadChannelEnables = 7,
    ReadChannelTags = 8,
    // The IAQ setup's write keeps the number it has always had; the channel-tag read that
    // shares it never runs in that session.
    WriteDensity = 8,
    ReadChannelUnits = 9,
    ReadThresholds = 10,
    ReadLocationCount = 11,
    ReadLocationNames = 12,
    ReadCalibrationHigh = 13,
    ReadCalibrationLow = 14,
    ReadCalibrationRaw = 15,
    MakeIdle = 17,
    WriteLocationName = 18,
};

inline bool IsIdentificationKind(RequestKind kind) {
    return kind == RequestKind::ProbeAddress || kind == RequestKind::ScanAddresses ||
           kind == RequestKind::ReadIdentity;
}

enum class WizardButton : std::int32_t { None = 0, Prev = 1, Next = 2, Cancel = 3 };

enum class Transport { Modbus, Fast };

} // namespace kestrix::instrument
