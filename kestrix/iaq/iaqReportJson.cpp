#include "kestrix/iaq/iaqReportJson.h"

#include <nlohmann/json.hpp>

namespace kestrix::iaq {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kIndent = 2;

template <typename T>
Json Optional(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json IndexValue(const std::optional<PollutantIndex>& index) {
    return index ? Json(index->value) : Json(nullptr);
}

Json AqiJson(const DayIndexes& index) {
    if (!index.overall) {
        return nullptr;
    }
    const PollutantIndex& overall = index.overall->overall;
    Json json{{"pm2_5", IndexValue(index.pm2_5)},
              {"pm10", IndexValue(index.pm10)},
              {"overall", overall.value},
              {"category", CategoryName(overall.category)},
              {"pollutant", PollutantName(index.overall->pollutant)}};
    // 500 is the top of the scale; the day lies above it.
    if (overall.beyond) {
        json["beyond_index"] = true;
    }
    return json;
}

Json DayJson(const IaqDay& day) {
    return {{"date", day.date},
            {"records", day.records},
            {"hours", day.hours},
            {"complete", day.complete},
            {"pm2_5", Optional(day.mean.pm2_5)},
            {"pm10", Optional(day.mean.pm10)},
            {"aqi", AqiJson(day.index)},
            {"who_exceeded",
             {{"pm2_5", Optional(day.whoExceededPm2_5)}, {"pm10", Optional(day.whoExceededPm10)}}}};
}

} // namespace

std::string IaqReportJson(const IaqReport& report) {
    Json days = Json::array();
    for (const IaqDay& day : report.days) {
        days.push_back(DayJson(day));
    }
    const IaqPeriod& period = report.period;
    const Json json{
        {"days", std::move(days)},
        {"period",
         {{"pm2_5", Optional(period.mean.pm2_5)},
          {"pm10", Optional(period.mean.pm10)},
          {"complete_days", period.completeDays},
          {"exceedance_days",
           {{"pm2_5", period.exceedanceDaysPm2_5}, {"pm10", period.exceedanceDaysPm10}}}}},
    };
    return json.dump(kIndent) + "\n";
}

} // namespace kestrix::iaq
