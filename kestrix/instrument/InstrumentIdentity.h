#pragma once

// The identity block of an instrument (holding registers from 0) and what it decides.

#include <cstdint>
#include <string>

namespace kestrix::instrument {

class RegisterReply;

struct InstrumentIdentity {
    std::string modelName;
    std::int32_t serialNumber = 0;
    std::int32_t recordCount = 0;
    std::string modelType;
    float flowRate = 1.0F;
    std::string flowRateUnits = "CFM";
    float particleDensity = 2.5F;
    bool fastTransfer = false;
    std::int32_t mapVersion = 100;
};

// Map versions from which the instrument offers more.
inline constexpr int kMapHoldingBlocks = 138;
inline constexpr int kMapFlowUnits = 141;
inline constexpr int kMapDensity = 143;
inline constexpr int kMapFastTransfer = 145;

// Registers of the identity block read by the download.
inline constexpr int kIdentityRegisters = 50;

InstrumentIdentity DecodeIdentity(const RegisterReply& reply);

// The record count of register 23 is unsigned.
std::int32_t DecodeRecordCount(const RegisterReply& reply);
std::int32_t DecodeSerialNumber(const RegisterReply& reply);
// Bits 0-1 of the run state register.
bool DecodeBusy(const RegisterReply& reply);

// At least nine digits, zero-padded.
std::string FormatSerialNumber(std::int32_t serial);

} // namespace kestrix::instrument
