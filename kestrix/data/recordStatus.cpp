#include "kestrix/data/recordStatus.h"

#include "kestrix/data/modDataType.h"

namespace kestrix::recordStatus {
namespace {

constexpr std::array<std::uint8_t, 6> kMaskedBitOrder = {
    kStatusLaserVoltageBad, kStatusFlowRateBad,       kStatusMalfunction,
    kStatusDataOverflow,    kStatusPirrowMalfunction, kStatusThresholdExceeded,
};

constexpr std::uint8_t kSampleVolumeBits =
    kStatusFlowRateBad | kStatusMalfunction | kStatusPirrowMalfunction;
constexpr std::uint8_t kLaserVoltageBits = kStatusLaserVoltageBad | kStatusMalfunction;

bool HasBit(std::uint8_t status, std::uint8_t bit) {
    return (status & bit) != 0;
}

bool IsAnyParticleType(const std::string& tag) {
    return modDataType::IsParticleSizeType(tag) || modDataType::IsNormalizedCountType(tag) ||
           modDataType::IsMassConcentrationType(tag) || modDataType::IsParticulateMatterType(tag) ||
           tag == "TPM";
}

} // namespace

bool IsStatusOk(std::uint8_t status) {
    return status == 0;
}

bool IsLaserVoltageBad(std::uint8_t status) {
    return HasBit(status, kStatusLaserVoltageBad);
}

bool IsFlowRateBad(std::uint8_t status) {
    return HasBit(status, kStatusFlowRateBad);
}

bool IsDataOverflowed(std::uint8_t status) {
    return HasBit(status, kStatusDataOverflow);
}

bool IsInstrumentMalfunction(std::uint8_t status) {
    return HasBit(status, kStatusMalfunction);
}

bool IsThresholdExceeded(std::uint8_t status) {
    return HasBit(status, kStatusThresholdExceeded);
}

bool IsPirrowMalfunction(std::uint8_t status) {
    return HasBit(status, kStatusPirrowMalfunction);
}

base::Rgb GetStatusColor(std::uint8_t status) {
    if (IsInstrumentMalfunction(status) || IsLaserVoltageBad(status)) {
        return {255, 0, 255};
    }
    if (IsFlowRateBad(status)) {
        return {0, 0, 255};
    }
    if (IsDataOverflowed(status) || IsPirrowMalfunction(status)) {
        return {255, 128, 32};
    }
    if (IsThresholdExceeded(status)) {
        return {255, 0, 0};
    }
    return {0, 0, 0};
}

bool StatusAppliesToType(const std::string& tag, std::uint8_t bits) {
    if (IsAnyParticleType(tag)) {
        return bits != 0;
    }
    if (tag == "SVOL" || tag == "STIM" || tag == "FLOW") {
        return (bits & kSampleVolumeBits) != 0;
    }
    if (tag == "LASV") {
        return (bits & kLaserVoltageBits) != 0;
    }
    return false;
}

std::uint8_t MaskStatusBits(const std::string& dataType, std::uint8_t status) {
    std::uint8_t masked = 0;
    for (const std::uint8_t bit : kMaskedBitOrder) {
        if (HasBit(status, bit) && StatusAppliesToType(dataType, bit)) {
            masked |= bit;
        }
    }
    return masked;
}

std::string GetStatusText(std::uint8_t status) {
    std::string text;
    for (const auto& condition : kStatusConditions) {
        if ((status & condition.bit) == 0) {
            continue;
        }
        if (!text.empty()) {
            text += "\r\n";
        }
        text += condition.noteLine;
    }
    return text;
}

} // namespace kestrix::recordStatus
