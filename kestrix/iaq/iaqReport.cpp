#include "kestrix/iaq/iaqReport.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/calc/OrderedValues.h"
#include "kestrix/calc/clsParticleDataCalculator.h"
#include "kestrix/cleanroom/consideredSizes.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"
#include "kestrix/table/dataRows.h"
#include "kestrix/table/tableColumns.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace kestrix::iaq {

namespace {

constexpr double kDaysInYear = 365;
constexpr int kHoursInDay = 24;

// The table's key of the mass below the channel of the pollutant's size; the smallest channel
// has none.
std::optional<std::string> ParticulateMatterKey(const data::clsDataRecordSet& recordSet,
                                                Pollutant pollutant) {
    for (std::int16_t channel = 1; channel < recordSet.GetPartChanCount(); ++channel) {
        const std::string tag = recordSet.GetPartChanType(channel);
        if (PollutantBelow(modDataType::ParticleSizeValue(tag)) == pollutant) {
            return modDataType::MakeParticulateMatterType(tag);
        }
    }
    return std::nullopt;
}

// Values are kept as shown, so that the index and the guidelines follow from the figures a
// reader sees.
double Hundredths(double value) {
    return std::round(value * 100.0) / 100.0;
}

class Mean {
public:
    void Add(std::optional<double> value) {
        if (value) {
            sum_ += *value;
            ++count_;
        }
    }
    std::optional<double> Value() const {
        return count_ == 0 ? std::nullopt : std::optional(Hundredths(sum_ / count_));
    }

private:
    double sum_ = 0;
    int count_ = 0;
};

struct DayTally {
    std::int32_t records = 0;
    std::bitset<kHoursInDay> hours;
    Mean pm2_5;
    Mean pm10;
};

// The PM values of a record exactly as the table's PM columns show them.
class PmReader {
public:
    PmReader(data::clsDataRecordSet& recordSet, std::string keyPm2_5, std::string keyPm10)
        : keyPm2_5_(std::move(keyPm2_5)), keyPm10_(std::move(keyPm10)) {
        table::TableViewOptions options;
        options.showParticleNorm = false;
        options.showMassConcentrations = false;
        options.showParticulateMatter = true;
        table::ConfigureCalculator(calculator_, &recordSet, options);
    }

    PmValues Read(const data::clsDataRecord& record) {
        calculator_.DataRecord(&record);
        calculator_.Calculate(results_);
        return {results_.Find(keyPm2_5_), results_.Find(keyPm10_)};
    }

private:
    std::string keyPm2_5_;
    std::string keyPm10_;
    calc::clsParticleDataCalculator calculator_;
    calc::OrderedValues results_;
};

std::string DateText(const base::CivilDateTime& civil) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(civil.year), civil.month,
                  civil.day);
    return text;
}

DayIndexes IndexesOf(const PmValues& mean) {
    DayIndexes index;
    if (mean.pm2_5) {
        index.pm2_5 = IndexOf(Pollutant::Pm2_5, *mean.pm2_5);
    }
    if (mean.pm10) {
        index.pm10 = IndexOf(Pollutant::Pm10, *mean.pm10);
    }
    if (index.pm2_5 && index.pm10) {
        index.overall = HigherIndex(*index.pm2_5, *index.pm10);
    } else if (index.pm2_5 || index.pm10) {
        index.overall = index.pm2_5 ? DayIndex{*index.pm2_5, Pollutant::Pm2_5}
                                    : DayIndex{*index.pm10, Pollutant::Pm10};
    }
    return index;
}

std::optional<bool> Exceeds(bool complete, std::optional<double> mean, double guideline) {
    if (!complete || !mean) {
        return std::nullopt;
    }
    return *mean > guideline;
}

IaqDay MakeDay(const std::string& date, const DayTally& tally) {
    IaqDay day;
    day.date = date;
    day.records = tally.records;
    day.hours = static_cast<int>(tally.hours.count());
    day.complete = day.hours >= kCompleteDayHours;
    day.mean = {tally.pm2_5.Value(), tally.pm10.Value()};
    day.index = IndexesOf(day.mean);
    day.whoExceededPm2_5 = Exceeds(day.complete, day.mean.pm2_5, kWhoDailyPm2_5);
    day.whoExceededPm10 = Exceeds(day.complete, day.mean.pm10, kWhoDailyPm10);
    return day;
}

IaqPeriod MakePeriod(const std::vector<IaqDay>& days, base::DateTime first, base::DateTime last) {
    IaqPeriod period;
    Mean pm2_5;
    Mean pm10;
    for (const IaqDay& day : days) {
        if (!day.complete) {
            continue;
        }
        ++period.completeDays;
        pm2_5.Add(day.mean.pm2_5);
        pm10.Add(day.mean.pm10);
        period.exceedanceDaysPm2_5 += day.whoExceededPm2_5.value_or(false) ? 1 : 0;
        period.exceedanceDaysPm10 += day.whoExceededPm10.value_or(false) ? 1 : 0;
    }
    period.mean = {pm2_5.Value(), pm10.Value()};
    period.spansYear = last - first >= kDaysInYear;
    return period;
}

std::string NotIaqText(const data::clsDataRecordSet& recordSet) {
    return "\"" + recordSet.GetSensorName() +
           "\" is not an IAQ instrument: its records have no PM values.";
}

std::string NoPmChannelsText(const data::clsDataRecordSet& recordSet) {
    return "PM2.5 and PM10 cannot be computed: they need particle channels of 2.5 and 10 µm "
           "above the smallest; the instrument's channels are " +
           cleanroom::ChannelSizesText(recordSet) + ".";
}

} // namespace

std::vector<std::int32_t> RecordLocations(data::clsDataRecordSet& recordSet) {
    std::set<std::int32_t> ids;
    for (std::int32_t index = 0; index < recordSet.RecordCount(); ++index) {
        ids.insert(recordSet.Record(index)->GetLocationID());
    }
    return {ids.begin(), ids.end()};
}

IaqOutcome ComputeIaqReport(data::clsDataRecordSet& recordSet, const IaqRequest& request,
                            const cleanroom::LocationNamer& nameOf) {
    if (!table::IsIaqData(&recordSet)) {
        return {std::nullopt, IaqRefusal::NotIaq, NotIaqText(recordSet)};
    }
    const auto keyPm2_5 = ParticulateMatterKey(recordSet, Pollutant::Pm2_5);
    const auto keyPm10 = ParticulateMatterKey(recordSet, Pollutant::Pm10);
    if (!keyPm2_5 || !keyPm10) {
        return {std::nullopt, IaqRefusal::NoPmChannels, NoPmChannelsText(recordSet)};
    }
    IaqReport report;
    report.instrumentModel = recordSet.GetSensorName();
    report.instrumentSerial = recordSet.GetSensorID();
    const std::set<std::int32_t> requested(request.locations.begin(), request.locations.end());
    report.locations = requested.empty()
                           ? RecordLocations(recordSet)
                           : std::vector<std::int32_t>(requested.begin(), requested.end());
    for (const std::int32_t id : report.locations) {
        report.locationNames.push_back(nameOf(id));
    }
    report.particleDensity = table::EffectiveParticleDensity(recordSet);
    const std::set<std::int32_t> chosen(report.locations.begin(), report.locations.end());

    PmReader reader(recordSet, *keyPm2_5, *keyPm10);
    std::map<std::string, DayTally> tallies; // ISO dates sort as the days do
    bool anyRecord = false;
    try {
        for (std::int32_t index = 0; index < recordSet.RecordCount(); ++index) {
            const data::clsDataRecord& record = *recordSet.Record(index);
            if (chosen.count(record.GetLocationID()) == 0) {
                continue;
            }
            const base::DateTime time = record.GetTimeStamp();
            report.firstRecord = anyRecord ? std::min(report.firstRecord, time) : time;
            report.lastRecord = anyRecord ? std::max(report.lastRecord, time) : time;
            anyRecord = true;
            const base::CivilDateTime civil = base::ToCivilDateTime(time);
            DayTally& tally = tallies[DateText(civil)];
            ++tally.records;
            tally.hours.set(static_cast<std::size_t>(civil.hour));
            const PmValues values = reader.Read(record);
            tally.pm2_5.Add(values.pm2_5);
            tally.pm10.Add(values.pm10);
        }
    } catch (const calc::ArithmeticError& error) {
        return {std::nullopt, IaqRefusal::Overflow,
                std::string("PM values cannot be computed: ") + error.what() + "."};
    }
    if (!anyRecord) {
        return {std::nullopt, IaqRefusal::NoRecords,
                "There are no records at the chosen locations."};
    }
    for (const auto& [date, tally] : tallies) {
        report.days.push_back(MakeDay(date, tally));
    }
    report.period = MakePeriod(report.days, report.firstRecord, report.lastRecord);
    return {std::move(report), IaqRefusal::None, {}};
}

} // namespace kestrix::iaq
