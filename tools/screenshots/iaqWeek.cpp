#include "iaqWeek.h"

#include "kestrix/base/dateTime.h"

#include <array>
#include <string>
#include <vector>

namespace kestrix::screenshots {

namespace {

constexpr int kSamplesPerHour = 6;
constexpr std::int32_t kSampleSeconds = 60;
// Dust level per day; the fifth day's records stop at 14:00.
constexpr std::array<std::int32_t, 7> kDayLevels{60, 250, 900, 1800, 3200, 500, 120};
constexpr int kShortDay = 4;
constexpr int kShortDayHours = 14;

void SetCounts(data::clsDataRecord& record, std::int32_t level) {
    const std::array<std::int32_t, 6> shares{40, 20, 10, 2, 1, 0};
    for (std::int16_t channel = 0; channel < 6; ++channel) {
        const std::int32_t halfOfLast = channel == 5 ? level / 2 : 0;
        record.SetPartChanData(
            channel, level * shares[static_cast<std::size_t>(channel)] + halfOfLast, 0, true);
    }
}

} // namespace

std::shared_ptr<data::clsDataRecordSet> BuildIaqWeek() {
    std::vector<data::clsDataRecord> records;
    data::clsDataRecord record;
    record.SetPartChanCount(6);
    record.SetAnalogChanCount(0);
    for (int day = 0; day < static_cast<int>(kDayLevels.size()); ++day) {
        const int hours = day == kShortDay ? kShortDayHours : 24;
        for (int sample = 0; sample < hours * kSamplesPerHour; ++sample) {
            for (const std::int32_t location : {1, 2}) {
                record.SetTimeStamp(base::MakeDateTime(2025, 3, 3 + day, 0, sample * 10));
                record.SetLocationID(location);
                record.SetSampleTimeData(kSampleSeconds, 0);
                // The hall is dustier in the working hours.
                const bool busy =
                    location == 2 && sample / kSamplesPerHour >= 8 && sample / kSamplesPerHour < 18;
                SetCounts(record, kDayLevels[static_cast<std::size_t>(day)] * (busy ? 2 : 1));
                records.push_back(record);
            }
        }
    }
    auto set = std::make_shared<data::clsDataRecordSet>();
    std::string flowRateUnits = "CFM";
    set->Init("Dastel 9304 IAQ", 220417, 0.1F, flowRateUnits, 1.65F,
              static_cast<std::int32_t>(records.size()), "s",
              {"0.3", "0.5", "1.0", "2.5", "5.0", "10.0"}, {}, {}, std::vector<bool>(6, false),
              std::vector<std::int32_t>(6, 0));
    set->SetLocationNames({"", "OFFICE", "HALL"});
    for (std::size_t i = 0; i < records.size(); ++i) {
        set->RecordCopy(static_cast<std::int32_t>(i), &records[i]);
    }
    return set;
}

} // namespace kestrix::screenshots
