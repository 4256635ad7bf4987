#include "kestrix/archive/downloadHeader.h"

#include "kestrix/archive/ArchiveError.h"

#include <nlohmann/json.hpp>

namespace kestrix::archive {

using nlohmann::json;

std::string HeaderJson(const data::clsDataRecordSet& recordSet) {
    json particles = json::array();
    for (std::int16_t c = 0; c < recordSet.GetPartChanCount(); ++c) {
        particles.push_back({{"type", recordSet.GetPartChanType(c)},
                             {"alarm", recordSet.GetPartChanAlarm(c)},
                             {"threshold", recordSet.GetPartChanHighThreshold(c)}});
    }
    json analogs = json::array();
    for (std::int16_t c = 0; c < recordSet.GetAnalogChanCount(); ++c) {
        analogs.push_back(
            {{"type", recordSet.GetAnalogChanType(c)}, {"units", recordSet.GetAnalogChanUnits(c)}});
    }
    const json header = {
        {"model", recordSet.GetSensorName()},
        {"serial", recordSet.GetSensorID()},
        {"flow_rate", recordSet.GetSensorFlowRate()},
        {"flow_rate_units", recordSet.GetSensorFlowRateUnits()},
        {"density", recordSet.GetParticleDensity()},
        {"downloaded", recordSet.GetDownloadTime()},
        {"sample_time_units", recordSet.GetSampleTimeUnits()},
        {"particles", particles},
        {"analogs", analogs},
        {"location_names",
         recordSet.HasLocationNames() ? json(recordSet.GetLocationNames()) : json(nullptr)},
    };
    return header.dump(-1, ' ', false, json::error_handler_t::replace);
}

data::RecordSetHeader ParseHeaderJson(const std::string& text) {
    try {
        const json header = json::parse(text);
        data::RecordSetHeader result;
        result.model = header.at("model").get<std::string>();
        result.serial = header.at("serial").get<std::int32_t>();
        result.flowRate = header.at("flow_rate").get<float>();
        result.flowRateUnits = header.at("flow_rate_units").get<std::string>();
        result.particleDensity = header.at("density").get<float>();
        result.downloadedOn = header.at("downloaded").get<double>();
        result.sampleTimeUnits = header.at("sample_time_units").get<std::string>();
        for (const json& channel : header.at("particles")) {
            result.particleTypes.push_back(channel.at("type").get<std::string>());
            result.alarms.push_back(channel.at("alarm").get<bool>());
            result.thresholds.push_back(channel.at("threshold").get<std::int32_t>());
        }
        for (const json& channel : header.at("analogs")) {
            result.analogTypes.push_back(channel.at("type").get<std::string>());
            result.analogUnits.push_back(channel.at("units").get<std::string>());
        }
        const json& names = header.at("location_names");
        result.hasLocationNames = !names.is_null();
        if (result.hasLocationNames) {
            result.locationNames = names.get<std::vector<std::string>>();
        }
        return result;
    } catch (const json::exception& error) {
        throw ArchiveError(std::string("a download's description is damaged: ") + error.what());
    }
}

std::unique_ptr<data::clsDataRecordSet> MakeRecordSet(const data::RecordSetHeader& header,
                                                      std::int32_t count) {
    auto recordSet = std::make_unique<data::clsDataRecordSet>();
    std::string flowRateUnits = header.flowRateUnits;
    if (!recordSet->Init(header.model, header.serial, header.flowRate, flowRateUnits,
                         header.particleDensity, count, header.sampleTimeUnits,
                         header.particleTypes, header.analogTypes, header.analogUnits,
                         header.alarms, header.thresholds)) {
        throw ArchiveError("a download's description is damaged: its channels are refused");
    }
    if (header.hasLocationNames) {
        recordSet->SetLocationNames(header.locationNames);
    }
    recordSet->SetDownloadTime(header.downloadedOn);
    return recordSet;
}

} // namespace kestrix::archive
