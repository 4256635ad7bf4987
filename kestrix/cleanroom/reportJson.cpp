#include "kestrix/cleanroom/reportJson.h"

#include "kestrix/cleanroom/reportSections.h"
#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/data/isoDateTime.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <nlohmann/json.hpp>

namespace kestrix::cleanroom {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kIndent = 2;
constexpr int kIdHexDigits = 12;

std::string JsonText(const Json& json) {
    // Names from an instrument need not be UTF-8; a bad byte must not lose the report.
    return json.dump(kIndent, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json IdentificationJson(const ClassificationReport& report) {
    const RoomDescription& room = report.roomPlan;
    Json json{{"organisation", report.party.organisation},
              {"address", report.party.address},
              {"tester", report.party.tester},
              {"building", room.building}};
    if (room.width > 0 && room.length > 0) {
        json["room_width_m"] = room.width;
        json["room_length_m"] = room.length;
    }
    return json;
}

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

Json LocationJson(const LocationResult& location, const RoomDescription& room) {
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
    if (const auto point = room.locations.find(location.locationId);
        point != room.locations.end()) {
        json["x_m"] = point->second.x;
        json["y_m"] = point->second.y;
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

Json ReportBody(const ClassificationReport& report) {
    Json locations = Json::array();
    for (const LocationResult& location : report.locations) {
        locations.push_back(LocationJson(location, report.roomPlan));
    }
    Json json{
        {"room", report.room},
        {"identification", IdentificationJson(report)},
        {"area_m2", report.areaSquareMetres},
        {"classification", report.targetName},
        {"state", StateText(report.state)},
        {"sizes", SizesJson(report)},
        {"minimum_sample_litres", report.minimumSampleLitres},
        {"minimum_locations", report.minimumLocations},
        {"instrument",
         {{"model", report.instrumentModel},
          {"serial", report.instrumentSerial},
          {"flow_litres_per_minute", report.flowLitresPerMinute},
          {"calibration", report.calibration.empty() ? Json(nullptr) : Json(report.calibration)},
          {"calibration_warning", report.calibrationWarning}}},
        {"first_sample", data::FormatIsoDateTime(report.firstSample)},
        {"last_sample", data::FormatIsoDateTime(report.lastSample)},
        {"locations", std::move(locations)},
        {"checks", report.checks},
        {"left_out", LeftOutJson(report.leftOut)},
        {"data_checks", FindingList(report.findings)},
        {"verdict", report.passed ? "pass" : "fail"},
        {"outcome", VerdictText(ReportVerdict(report))},
    };
    if (!report.archiveHead.empty()) {
        json["archive_head"] = report.archiveHead;
    }
    return json;
}

std::string IdOf(const Json& body) {
    const QByteArray text = QByteArray::fromStdString(JsonText(body));
    const QByteArray hash = QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
    return "KX-" + hash.left(kIdHexDigits).toUpper().toStdString();
}

// A signed copy keeps the report's ID: its signatures are not part of the report's content.
Json SignaturesJson(const ClassificationReport& report) {
    Json list = Json::array();
    for (const ReportSignature& signature : report.signatures) {
        list.push_back(Json{{"name", signature.printedName},
                            {"user", signature.user},
                            {"time", signature.time},
                            {"meaning", signature.meaning},
                            {"comment", signature.comment}});
    }
    return Json{{"signed_sha256", report.signedSha256}, {"signatures", std::move(list)}};
}

} // namespace

std::string ReportId(const ClassificationReport& report) {
    return IdOf(ReportBody(report));
}

std::string ReportJson(const ClassificationReport& report) {
    Json body = ReportBody(report);
    Json json{{"report_id", IdOf(body)}};
    json.update(body);
    if (!report.signatures.empty()) {
        json["electronic_signatures"] = SignaturesJson(report);
    }
    return JsonText(json);
}

} // namespace kestrix::cleanroom
