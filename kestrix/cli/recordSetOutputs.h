#pragma once

// What download and archive export write: the record-set file (--json OUT) and the data table
// (--save OUT), either of them on standard output with "-".

#include <optional>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix {
namespace modConfig {
class ConfigStore;
}
} // namespace kestrix

namespace kestrix::cli {

struct RecordSetOutputs {
    std::optional<std::string> jsonPath;
    std::string savePath; // empty: no table
    std::optional<std::string> format;
};

// A usage error said on stderr, or kExitOk; checked before the records are fetched.
int CheckRecordSetOutputs(const RecordSetOutputs& outputs);

// Writes the record-set file, then the table, both with the record set's archive head; the exit
// status. `source` names the records in messages.
int WriteRecordSetOutputs(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                          const std::string& source, const RecordSetOutputs& outputs);

} // namespace kestrix::cli
