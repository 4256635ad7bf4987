#pragma once

// Sample records of both transports decoded into a clsDataRecord, and the record set they go
// into, laid out from the channel description.

#include "kestrix/instrument/ChannelDescription.h"
#include "kestrix/instrument/InstrumentIdentity.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecord;
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::instrument {

class RegisterReply;

inline constexpr int kFastRecordBytes = 48;

// Registers of a Modbus record: 72, or 74 with the enable words from map version 138.
int ModbusRecordRegisters(int mapVersion);

// Init with the channels to store and, from map version 138 with names, the location names;
// sizes the record's channel arrays. The result is Init's.
bool InitRecordSet(data::clsDataRecordSet& set, data::clsDataRecord& record,
                   const ChannelDescription& channels, const InstrumentIdentity& identity,
                   std::int32_t recordCount, const std::vector<std::string>& locationNames,
                   std::int32_t locationCount);

void DecodeModbusRecord(const RegisterReply& reply, const ChannelDescription& channels,
                        int mapVersion, data::clsDataRecord& record);

// bytes holds one record of kFastRecordBytes.
void DecodeFastRecord(std::span<const std::uint8_t> bytes, const ChannelDescription& channels,
                      int mapVersion, data::clsDataRecord& record);

} // namespace kestrix::instrument
