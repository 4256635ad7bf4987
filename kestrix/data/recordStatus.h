#pragma once

// The record status byte: the instrument faults it reports, which of them concern a data type,
// their texts and colours. One status byte per sample.

#include "kestrix/base/rgb.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix::recordStatus {

enum StatusBit : std::uint8_t {
    kStatusLaserVoltageBad = 0x01,
    kStatusFlowRateBad = 0x02,
    kStatusDataOverflow = 0x04,
    kStatusMalfunction = 0x08,
    kStatusThresholdExceeded = 0x10,
    kStatusPirrowMalfunction = 0x40,
};

// A fault in the order the table names them: the note line of a faulty cell, and the label and
// answers of the fault's summary row.
struct StatusCondition {
    std::uint8_t bit;
    std::string_view noteLine;
    std::string_view rowLabel;
    std::string_view seenText; // summary cell when the column saw the fault
    std::string_view clearText;
};

inline constexpr std::array<StatusCondition, 6> kStatusConditions{{
    {kStatusMalfunction, "- Instrument malfunctioned.", "Instrument Malfunction", "Yes", "No"},
    {kStatusLaserVoltageBad, "- Bad laser voltage.", "Laser Status", "Bad", "Good"},
    {kStatusFlowRateBad, "- Bad flow rate.", "Flow Status", "Bad", "Good"},
    {kStatusDataOverflow, "- Instrument data overflowed.", "Instrument Overflow", "Yes", "No"},
    {kStatusPirrowMalfunction, "- Pirrow device malfunctioned.", "Pirrow Device Malfunction", "Yes",
     "No"},
    {kStatusThresholdExceeded, "- Data exceeded instrument's threshold.", "Threshold Exceeded",
     "Yes", "No"},
}};

bool IsStatusOk(std::uint8_t status);
bool IsLaserVoltageBad(std::uint8_t status);
bool IsFlowRateBad(std::uint8_t status);
bool IsDataOverflowed(std::uint8_t status);
bool IsInstrumentMalfunction(std::uint8_t status);
bool IsThresholdExceeded(std::uint8_t status);
bool IsPirrowMalfunction(std::uint8_t status);

// Text colour of a status; the most serious condition wins.
base::Rgb GetStatusColor(std::uint8_t status);

// True when any of the given bits concerns the data type.
bool StatusAppliesToType(const std::string& tag, std::uint8_t bits);

// The status with every bit cleared that the data type cannot report.
std::uint8_t MaskStatusBits(const std::string& dataType, std::uint8_t status);

// One line per fault bit of the status, most serious first, joined by CR LF.
std::string GetStatusText(std::uint8_t status);

} // namespace kestrix::recordStatus
