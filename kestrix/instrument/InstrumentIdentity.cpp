#include "kestrix/instrument/InstrumentIdentity.h"

#include "kestrix/instrument/RegisterReply.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kestrix::instrument {

namespace {

constexpr int kRegMapVersion = 0;
constexpr int kRegRunState = 2;
constexpr int kRegSerial = 4;
constexpr int kRegModelType = 6;
constexpr int kRegModelName = 14;
constexpr int kTextRegisters = 8;
constexpr int kRegFlowRate = 22;
constexpr int kRegRecordCount = 23;
constexpr int kRegFlowUnits = 40;
constexpr int kFlowUnitRegisters = 2;
constexpr int kRegDensity = 43;
constexpr int kRegCapabilities = 49;

bool IsLiquidCounter(const std::string& modelType) {
    return QString::fromLatin1(modelType.c_str()).trimmed().toUpper() == "LPC";
}

bool IsIaqModel(const std::string& modelName) {
    return QString::fromLatin1(modelName.c_str()).contains("IAQ", Qt::CaseInsensitive);
}

} // namespace

std::int32_t DecodeRecordCount(const RegisterReply& reply) {
    return reply.Unsigned(kRegRecordCount);
}

std::int32_t DecodeSerialNumber(const RegisterReply& reply) {
    return reply.Long(kRegSerial);
}

bool DecodeBusy(const RegisterReply& reply) {
    return (reply.Unsigned(kRegRunState) & 3) != 0;
}

InstrumentIdentity DecodeIdentity(const RegisterReply& reply) {
    InstrumentIdentity id;
    id.recordCount = DecodeRecordCount(reply);
    id.modelName = reply.Text(kRegModelName, kTextRegisters);
    id.serialNumber = DecodeSerialNumber(reply);
    id.flowRate = static_cast<float>(reply.Register(kRegFlowRate)) / 100.0F;
    id.modelType = reply.Text(kRegModelType, kTextRegisters);
    if (IsLiquidCounter(id.modelType)) {
        id.flowRate *= 100.0F;
    }
    id.mapVersion = reply.Register(kRegMapVersion);
    id.flowRateUnits =
        id.mapVersion < kMapFlowUnits ? "CFM" : reply.Text(kRegFlowUnits, kFlowUnitRegisters);
    if (!id.modelName.empty() && id.mapVersion >= kMapDensity && IsIaqModel(id.modelName)) {
        id.particleDensity = static_cast<float>(reply.Register(kRegDensity)) / 1000.0F;
    }
    id.fastTransfer =
        id.mapVersion >= kMapFastTransfer && (reply.Unsigned(kRegCapabilities) & 1) != 0;
    return id;
}

std::string FormatSerialNumber(std::int32_t serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%09d", static_cast<int>(serial));
    return text;
}

} // namespace kestrix::instrument
