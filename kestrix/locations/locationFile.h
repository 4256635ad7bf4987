#pragma once

// Location files (*.loc): the 1000 short and 1000 long names as an INI file with the sections
// [short_location_names] and [location_names], keys "000" to "999". Files are written as UTF-8;
// files from older installations, in Windows-1252, are read with their accents intact.

#include <array>
#include <string>

namespace kestrix::locations {

inline constexpr int kNameCount = 1000;
using NameList = std::array<std::string, kNameCount>;

struct LocationNames {
    NameList shortNames;
    NameList longNames;
};

// Writes every index, short names first; an empty name is written as the index's default.
// Writing into an existing file keeps its other lines and replaces it whole. False with the
// reason in `error` for an empty path or when the file cannot be written.
bool SaveLocationFile(const LocationNames& names, const std::string& path, std::string& error);

// Reads every index: at most 8 characters of a short name and 64 of a long name; a missing key
// gives the default. A byte order mark is skipped and UTF-16 with one is read. False, with the
// reason naming the file in `error`, for an empty path, a file that is missing, not a regular
// file, over 1 MB, holds NUL bytes or has neither name section.
bool LoadLocationFile(LocationNames& names, const std::string& path, std::string& error);

} // namespace kestrix::locations
