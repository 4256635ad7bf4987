#include "kestrix/archive/activityNotes.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <nlohmann/json.hpp>

namespace kestrix::archive {

namespace {

ActivityNote MakeNote(const char* kind, const std::string& model, std::int32_t serial,
                      const nlohmann::ordered_json& fields) {
    nlohmann::ordered_json details = {{"model", model}, {"serial", serial}};
    details.update(fields);
    return {kind, details.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), model,
            serial};
}

} // namespace

ActivityNote ExportNote(const data::clsDataRecordSet& recordSet, const std::string& path) {
    return MakeNote(kEventExport, recordSet.GetSensorName(), recordSet.GetSensorID(),
                    {{"file", path}, {"records", recordSet.RecordCount()}});
}

ActivityNote NameUploadNote(const std::string& model, std::int32_t serial, int names) {
    return MakeNote(kEventNameUpload, model, serial, {{"names", names}});
}

ActivityNote DensityChangeNote(const std::string& model, std::int32_t serial,
                               const std::string& before, const std::string& after) {
    return MakeNote(kEventDensityChange, model, serial,
                    {{"before", before}, {"after", after}, {"units", "g/ml"}});
}

ActivityNote ClassificationReportNote(const std::string& model, std::int32_t serial,
                                      const std::string& target, const std::string& verdict,
                                      const std::string& path) {
    return MakeNote(kEventClassificationReport, model, serial,
                    {{"file", path}, {"target", target}, {"verdict", verdict}});
}

std::string NoteActivity(const ArchiveSettings& settings, const ActivityNote& note) {
    if (!settings.enabled) {
        return {};
    }
    try {
        Archive(settings).Note(note);
        return {};
    } catch (const ArchiveError& error) {
        return std::string("the archive did not note the ") + note.kind + ": " + error.what();
    }
}

} // namespace kestrix::archive
