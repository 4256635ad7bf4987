#include "kestrix/cli/archiveExport.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableOutput.h"
#include "kestrix/data/isoDateTime.h"

#include <QString>
#include <QStringList>
#include <nlohmann/json.hpp>

namespace kestrix::cli {

namespace {

std::string CheckTime(const std::string& text) {
    return data::ParseIsoDateTime(text)
               ? std::string()
               : "\"" + text + "\" is no date-time such as 2026-03-01T08:15:00";
}

std::string CheckLocations(const std::string& text) {
    for (const QString& part : QString::fromStdString(text).split(',')) {
        bool number = false;
        part.trimmed().toInt(&number);
        if (!number) {
            return "\"" + text + "\" is no list of location numbers such as 1,4,7";
        }
    }
    return {};
}

std::vector<std::int32_t> ParseLocations(const std::string& text) {
    std::vector<std::int32_t> locations;
    if (!text.empty()) {
        for (const QString& part : QString::fromStdString(text).split(',')) {
            locations.push_back(part.trimmed().toInt());
        }
    }
    return locations;
}

archive::RecordQuery QueryOf(const ArchiveExportOptions& options) {
    archive::RecordQuery query;
    query.serial = options.serial;
    query.model = options.model;
    if (options.from) {
        query.from = data::ParseIsoDateTime(*options.from);
    }
    if (options.to) {
        query.to = data::ParseIsoDateTime(*options.to);
    }
    query.locations = ParseLocations(options.locations);
    return query;
}

std::string ExportDetails(const ArchiveExportOptions& options, std::int32_t records) {
    const nlohmann::ordered_json details = {
        {"file", options.outputs.jsonPath.value_or(options.outputs.savePath)},
        {"records", records},
        {"from", options.from.value_or("")},
        {"to", options.to.value_or("")},
        {"locations", options.locations},
    };
    return details.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

void RegisterArchivedInstrument(CLI::App& command, std::int32_t& serial, std::string& model) {
    command.add_option("--serial", serial, "the instrument's serial number")
        ->required()
        ->type_name("N");
    command.add_option("--model", model,
                       "the instrument's model, when serial numbers of "
                       "several models are archived");
}

void RegisterArchiveExport(CLI::App& command, ArchiveExportOptions& options) {
    RegisterArchivedInstrument(command, options.serial, options.model);
    command.add_option("--from", options.from, "first time stamp, a local ISO 8601 date-time")
        ->type_name("TIME")
        ->check(CLI::Validator(CheckTime, "TIME"));
    command.add_option("--to", options.to, "last time stamp, a local ISO 8601 date-time")
        ->type_name("TIME")
        ->check(CLI::Validator(CheckTime, "TIME"));
    command.add_option("--locations", options.locations, "location numbers, such as 1,4,7")
        ->type_name("LIST")
        ->check(CLI::Validator(CheckLocations, "LIST"));
    CLI::Option* json = command
                            .add_option("--json", options.outputs.jsonPath,
                                        "record-set file (JSON) to write; - for standard output")
                            ->type_name("OUT");
    CLI::Option* save = AddSaveOption(command, options.outputs.savePath, options.outputs.format);
    json->excludes(save);
    command.callback([json, save] {
        if (json->count() == 0 && save->count() == 0) {
            throw CLI::RequiredError("--json or --save");
        }
    });
}

int RunArchiveExport(const archive::ArchiveSettings& settings, const ArchiveExportOptions& options,
                     const modConfig::ConfigStore& store) {
    if (const int status = CheckRecordSetOutputs(options.outputs); status != kExitOk) {
        return status;
    }
    archive::QueryResult result;
    try {
        result = archive::Archive(settings, archive::Access::kRead).Query(QueryOf(options));
    } catch (const archive::ArchiveNoInstrument& error) {
        return Fail(kExitArchiveNoInstrument, error.what());
    }
    const data::clsDataRecordSet& recordSet = *result.recordSet;
    if (recordSet.RecordCount() == 0) {
        return Fail(kExitArchiveNoRecords, "the archive holds no record of serial number " +
                                               std::to_string(options.serial) +
                                               " in that time range and at those locations");
    }
    if (const int status = WriteRecordSetOutputs(*result.recordSet, store, "the archived records",
                                                 options.outputs);
        status != kExitOk) {
        return status;
    }
    // An auditor's read-only copy is exported all the same; the note's failure is told.
    const std::string problem = archive::NoteActivity(
        settings, {archive::kEventArchiveExport, ExportDetails(options, recordSet.RecordCount()),
                   recordSet.GetSensorName(), recordSet.GetSensorID()});
    if (!problem.empty()) {
        ReportNote(problem);
    }
    return kExitOk;
}

} // namespace kestrix::cli
