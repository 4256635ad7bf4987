#pragma once

// The instrument's fixed-width location names: cutting, filling and the short-name rules.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::locations {

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

} // namespace kestrix::locations
