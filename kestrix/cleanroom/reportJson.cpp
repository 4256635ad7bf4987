#include "kestrix/cleanroom/reportJson.h"

#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/data/isoDateTime.h"

#include <nlohmann/json.hpp>

namespace kestrix::cleanroom {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kIndent = 2;

// Record numbers count from 1, as the table's rows and the messages do.
Json FindingJson(const DataFinding& finding) {
    return {{"record", finding.recordIndex + 1},
            {"kind", FindingKindKey(finding.kind)},
            {"message", finding.message}};
}

Json FindingList(const std::vector<DataFinding>& findings) {
    Json list = Json::array();
    for (const DataFinding& finding : findings) {
        list.push_back(FindingJson(finding));
    }
    return list;
}

Json SampleJson(const SampleResult& sample) {
    return {{"record", sample.recordIndex + 1},
            {"time", data::FormatIsoDateTime(sample.timeStamp)},
            {"litres", sample.litres},
            {"per_m3", sample.perCubicMetre}};
}

Json LocationJson(const LocationResult& location) {
    Json samples = Json::array();
    for (const SampleResult& sample : location.samples) {
        samples.push_back(SampleJson(sample));
    }
    Json json{{"location", location.locationId},     {"name", location.name},
              {"samples", location.samples.size()},  {"total_litres", location.totalLitres},
              {"mean_per_m3", location.means},       {"within_limit", location.withinLimit},
              {"passed", location.passed},           {"cleanest_iso_class", nullptr},
              {"sample_results", std::move(samples)}};
    if (location.cleanestIsoClass) {
        json["cleanest_iso_class"] = *location.cleanestIsoClass;
    }
    return json;
}

Json SizesJson(const ClassificationReport& report) {
    Json sizes = Json::array();
    for (std::size_t i = 0; i < report.sizes.size(); ++i) {
        sizes.push_back(
            {{"micrometres", report.sizes[i].micrometres}, {"limit_per_m3", report.limits[i]}});
    }
    return sizes;
}

Json LeftOutJson(const std::vector<LeftOutRecord>& leftOut) {
    Json list = Json::array();
    for (const LeftOutRecord& record : leftOut) {
        list.push_back({{"record", record.recordIndex + 1},
                        {"location", record.locationId},
                        {"reason", record.reason}});
    }
    return list;
}

} // namespace

std::string ReportJson(const ClassificationReport& report) {
    Json locations = Json::array();
    for (const LocationResult& location : report.locations) {
        locations.push_back(LocationJson(location));
    }
    Json json{
        {"room", report.room},
        {"area_m2", report.areaSquareMetres},
        {"classification", report.targetName},
        {"state", StateText(report.state)},
        {"sizes", SizesJson(report)},
        {"minimum_sample_litres", report.minimumSampleLitres},
        {"minimum_locations", report.minimumLocations},
        {"instrument", {{"model", report.instrumentModel}, {"serial", report.instrumentSerial}}},
        {"first_sample", data::FormatIsoDateTime(report.firstSample)},
        {"last_sample", data::FormatIsoDateTime(report.lastSample)},
        {"locations", std::move(locations)},
        {"checks", report.checks},
        {"left_out", LeftOutJson(report.leftOut)},
        {"data_checks", FindingList(report.findings)},
        {"verdict", report.passed ? "pass" : "fail"},
    };
    if (!report.archiveHead.empty()) {
        json["archive_head"] = report.archiveHead;
    }
    // Names from an instrument need not be UTF-8; a bad byte must not lose the report.
    return json.dump(kIndent, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace kestrix::cleanroom
