#pragma once

// Judging indoor air by the day: per calendar day of the records' time stamps, the mean PM2.5
// and PM10 (as the table computes them from counts and particle density), whether enough
// hours were sampled for a valid 24-hour mean, the Air Quality Index, the WHO 24-hour
// guidelines; and the period's mean of complete days against the WHO annual guidelines.

#include "kestrix/base/dateTime.h"
#include "kestrix/cleanroom/classification.h"
#include "kestrix/iaq/airQualityIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::iaq {

// WHO global air quality guidelines (2021), µg/m³.
inline constexpr double kWhoDailyPm2_5 = 15;
inline constexpr double kWhoDailyPm10 = 45;
inline constexpr double kWhoAnnualPm2_5 = 5;
inline constexpr double kWhoAnnualPm10 = 15;
// 75% of the day's hours make a valid 24-hour mean.
inline constexpr int kCompleteDayHours = 18;

struct IaqRequest {
    std::vector<std::int32_t> locations; // empty: every location in the records
};

struct PmValues {
    std::optional<double> pm2_5; // µg/m³ to 0.01; none when no record of the day has a value
    std::optional<double> pm10;
};

struct DayIndexes {
    std::optional<PollutantIndex> pm2_5;
    std::optional<PollutantIndex> pm10;
    std::optional<DayIndex> overall; // none when neither value is known
};

struct IaqDay {
    std::string date; // "2025-03-02"
    std::int32_t records = 0;
    int hours = 0; // distinct clock hours holding at least one record
    bool complete = false;
    PmValues mean;
    DayIndexes index;
    // Judged on complete days only; none on the others.
    std::optional<bool> whoExceededPm2_5;
    std::optional<bool> whoExceededPm10;
};

struct IaqPeriod {
    PmValues mean; // of the complete days' means; none without complete days
    int completeDays = 0;
    int exceedanceDaysPm2_5 = 0;
    int exceedanceDaysPm10 = 0;
    bool spansYear = false; // else the mean is a period mean, not an annual one
};

struct IaqReport {
    std::string instrumentModel;
    std::int32_t instrumentSerial = 0;
    double particleDensity = 0;             // g/ml, as the table computes with
    std::vector<std::int32_t> locations;    // the chosen ones, or every one in the records
    std::vector<std::string> locationNames; // one per location; may be empty
    base::DateTime firstRecord = 0;
    base::DateTime lastRecord = 0;
    std::vector<IaqDay> days; // in date order
    IaqPeriod period;
};

enum class IaqRefusal { None, NotIaq, NoPmChannels, Overflow, NoRecords };

struct IaqOutcome {
    std::optional<IaqReport> report;
    IaqRefusal refusal = IaqRefusal::None;
    std::string message; // why there is no report
};

// The location numbers of the records, ascending.
std::vector<std::int32_t> RecordLocations(data::clsDataRecordSet& recordSet);

// Moves no record cursor of the set.
IaqOutcome ComputeIaqReport(data::clsDataRecordSet& recordSet, const IaqRequest& request,
                            const cleanroom::LocationNamer& nameOf);

} // namespace kestrix::iaq
