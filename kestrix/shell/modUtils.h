#pragma once

// Small stateless procedures shared across the program: folders, numbers
// written with a decimal point, the record status byte, the instrument's
// fixed-width names and the packing of bytes, registers and time stamps.

#include "kestrix/base/dateTime.h"
#include "kestrix/shell/folders.h"
#include "kestrix/shell/rgb.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::modUtils {

// Numbers.

// The user's locale's decimal separator.
std::string GetDecimalSeparator();

// The value formatted with the pattern (general conversion when it is empty
// or malformed), always with "." as the decimal separator. Where the locale
// groups with "." the groups are separated by "," so the text stays readable.
std::string FormatWithPoint(double value, const std::string& format);

// Record status byte.

bool IsStatusOk(std::uint8_t status);
bool IsLaserVoltageBad(std::uint8_t status);
bool IsFlowRateBad(std::uint8_t status);
bool IsDataOverflowed(std::uint8_t status);
bool IsInstrumentMalfunction(std::uint8_t status);
bool IsThresholdExceeded(std::uint8_t status);
bool IsPirrowMalfunction(std::uint8_t status);

// Text colour of a status; the most serious condition wins.
Rgb GetStatusColor(std::uint8_t status);

// The status with every bit cleared that the data type cannot report.
std::uint8_t MaskStatusBits(const std::string& dataType, std::uint8_t status);

// Texts of the instrument's fixed-width names.

std::string TrimAtNul(const std::string& text);

// Exactly length characters (none for a length below 1): the text up to its
// first NUL, cut or filled up with NUL characters or spaces.
std::string PadWithNul(const std::string& text, std::int16_t length);
std::string PadWithSpaces(const std::string& text, std::int16_t length);

// Only 'A'-'Z', '0'-'9', '_' and NUL; an empty name is valid.
bool IsValidShortName(const std::string& name);

// The smallest index whose text appears again later in the list; -1 if none.
int FindFirstDuplicate(const std::vector<std::string>& names);

// The first index other than skipIndex holding exactly name; -1 if none.
int FindNameElsewhere(const std::vector<std::string>& names, const std::string& name,
                      int skipIndex);

// Registers, bytes and time.

// The two characters at the 1-based position packed into one register; a
// lone last character goes into the low byte, and a position outside the
// text gives 0.
std::int16_t TextToRegister(const std::string& text, std::int16_t position, bool highFirst);

std::int16_t MakeWord(std::uint8_t high, std::uint8_t low);
std::int32_t MakeLong(std::int16_t high, std::int16_t low);

// Logical shift: zeros enter from the left.
std::int16_t ShiftRight16(std::int16_t value, std::int16_t count);

std::uint8_t AddBytes(std::uint8_t a, std::uint8_t b);

// 1970-01-01 00:00:00 plus the seconds, without any time-zone shift; a
// negative count gives 1970-01-01 00:00:00.
DateTime SecondsToDate(std::int32_t seconds);

} // namespace kestrix::modUtils
