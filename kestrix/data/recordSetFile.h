#pragma once

// The record-set file: one download as a JSON document
//   {"format": "kestrix-record-set", "version": 1, "instrument": {...},
//    "sample_time_units", "particle_channels": [...], "analog_channels": [...],
//    "location_names": [...] or null, ["archive_head": "event N sha256:HEX",] "records": [...]}
// with times as local ISO 8601 date-times without a zone. Reading a written
// file back gives the same record set: times to the millisecond (instrument
// time stamps bit for bit), analog values bit for bit ("NaN", "Infinity" and
// "-Infinity" as texts), single-precision values in their shortest form.
// Texts that are not UTF-8 are written with U+FFFD in place of the bad bytes.
// Reading takes any order of the members in two passes over the stream (the
// header, the number and shapes of the records; then one record at a time),
// so it holds the record set and one record rather than the whole document;
// a stream that cannot be wound back is held in memory for them.

#include "kestrix/data/clsDataRecordSet.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

namespace kestrix::data {

inline constexpr const char* kRecordSetFormatName = "kestrix-record-set";
inline constexpr int kRecordSetFormatVersion = 1;
inline constexpr std::int32_t kRecordSetFileMaxRecords = 65535;
// A full instrument memory makes a file of about 110 MB. Larger input is refused before it is
// read (a file) or once that much has come (a pipe, which is otherwise held in memory).
inline constexpr std::uint64_t kRecordSetFileMaxBytes = std::uint64_t{512} << 20;

struct RecordSetReadResult {
    std::unique_ptr<clsDataRecordSet> recordSet; // null when the file was refused
    std::string error; // "records[12].particles[3].count: expected ..."; empty on success
};

inline constexpr const char* kArchiveHeadMemberName = "archive_head";

// Fills the set's row record while walking it; moves no record cursor. The set's archive head,
// when it has one, is written with it.
void WriteRecordSetJson(clsDataRecordSet& recordSet, std::ostream& out);

// Writes under a temporary name beside path and renames it into place, so a
// failure leaves any earlier file as it was. False with the reason in error.
bool WriteRecordSetJson(clsDataRecordSet& recordSet, const std::string& path, std::string& error);

RecordSetReadResult ReadRecordSetJson(std::istream& in,
                                      std::uint64_t maxBytes = kRecordSetFileMaxBytes);
// The error names the file once: "cannot read \"<path>\": <why>".
RecordSetReadResult ReadRecordSetJson(const std::string& path);

} // namespace kestrix::data
