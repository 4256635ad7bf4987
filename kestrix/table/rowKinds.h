#pragma once

// The kinds of table rows, kept in each grid row's user value (GridModel::RowUserValue) by the
// table module; the file writers and printing find header, title, data and statistics rows by
// them. A row without a kind has the value 0.
//
// Time stamps: column kTimestampColumn of every data row holds the record's time stamp as
// static text, the user locale's short date, a blank and the 24-hour time "HH:mm:ss"
// (QLocale::dateFormat(QLocale::ShortFormat) + " HH:mm:ss" of UserLocale()). The Excel
// writer turns such texts back into date-time cells.

#include <cstdint>

namespace kestrix::table::rowKinds {

inline constexpr std::int32_t kHeaderLine = 1;
inline constexpr std::int32_t kColumnTitle = 2; // two title rows per table
inline constexpr std::int32_t kData = 3;
inline constexpr std::int32_t kAverage = 4;
inline constexpr std::int32_t kMaximum = 5;
inline constexpr std::int32_t kMinimum = 6;
inline constexpr std::int32_t kStandardDeviation = 7;
inline constexpr std::int32_t kInstrumentMalfunction = 8; // status bit 0x08
inline constexpr std::int32_t kLaserStatus = 9;           // status bit 0x01
inline constexpr std::int32_t kFlowStatus = 10;           // status bit 0x02
inline constexpr std::int32_t kInstrumentOverflow = 11;   // status bit 0x04
inline constexpr std::int32_t kThresholdExceeded = 12;    // status bit 0x10
inline constexpr std::int32_t kPirrowMalfunction = 13;    // status bit 0x40

inline constexpr int kTimestampColumn = 1;

} // namespace kestrix::table::rowKinds
