#pragma once

// What was done with an instrument's data after its download (a table saved, names uploaded, a
// density written, a classification report saved), noted in the audit trail. The details are
// JSON and name the instrument, which the archive may not hold yet.

#include "kestrix/archive/archiveSettings.h"

#include <cstdint>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::archive {

struct ActivityNote {
    std::string kind; // one of the kEvent kinds
    std::string details;
    std::string model;
    std::int32_t serial = 0;
};

// The record set saved as a file: a table, a record-set file.
ActivityNote ExportNote(const data::clsDataRecordSet& recordSet, const std::string& path);
ActivityNote NameUploadNote(const std::string& model, std::int32_t serial, int names);
// Densities as the instrument shows them, in g/ml.
ActivityNote DensityChangeNote(const std::string& model, std::int32_t serial,
                               const std::string& before, const std::string& after);
ActivityNote ClassificationReportNote(const std::string& model, std::int32_t serial,
                                      const std::string& target, const std::string& verdict,
                                      const std::string& path);

// Notes the activity in the archive of the settings. Empty when noted or when the archive is
// switched off; otherwise why it was not, and the activity stands all the same.
std::string NoteActivity(const ArchiveSettings& settings, const ActivityNote& note);

} // namespace kestrix::archive
