#pragma once

// Everything of a download but its records, as the instrument had it (identity, flow rate,
// density, channel descriptions, location names), kept as one JSON text per download. A query
// rebuilds its record set from the header of the newest download it draws records from.

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/recordSetHeader.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrix::archive {

std::string HeaderJson(const data::clsDataRecordSet& recordSet);

// Throws ArchiveError when the text is not a header this program wrote.
data::RecordSetHeader ParseHeaderJson(const std::string& text);

// The set made ready for count records, with the header's channels, names and download time.
std::unique_ptr<data::clsDataRecordSet> MakeRecordSet(const data::RecordSetHeader& header,
                                                      std::int32_t count);

} // namespace kestrix::archive
