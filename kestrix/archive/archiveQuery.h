#pragma once

// Reading the archive back: what it holds per instrument, and the records of one instrument
// in a time range and at chosen locations, merged across downloads in time order into an
// ordinary record set.

#include "kestrix/archive/chainHead.h"
#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::archive {

class ArchiveDatabase;

struct InstrumentSummary {
    std::string model;
    std::int32_t serial = 0;
    std::int64_t records = 0;
    std::int64_t downloads = 0;
    std::optional<base::DateTime> first; // none without records
    std::optional<base::DateTime> last;
    std::vector<std::int32_t> locations; // that its records were taken at
    // Of each location, the instrument's name in its newest download, or the default name.
    std::vector<std::string> locationNames;
};

struct RecordQuery {
    std::int32_t serial = 0;
    std::string model; // empty: any model with that serial number
    std::optional<base::DateTime> from;
    std::optional<base::DateTime> to;
    std::vector<std::int32_t> locations; // empty: every location
};

struct QueryResult {
    std::unique_ptr<data::clsDataRecordSet> recordSet;
    ChainHead head; // of the chain the records were read at
};

// An instrument whose description cannot be read is listed with its locations' default names.
std::vector<InstrumentSummary> ListInstruments(ArchiveDatabase& database);

// The channels, settings and location names are those of the newest download the records came
// from. Throws ArchiveError when no instrument, or more than one, fits, and when a record
// cannot be read back: a damaged archive never gives a shorter or blank set.
std::unique_ptr<data::clsDataRecordSet> QueryRecords(ArchiveDatabase& database,
                                                     const RecordQuery& query);

} // namespace kestrix::archive
