#include "kestrix/cleanroom/dataChecks.h"

#include "kestrix/cleanroom/ImpossibleData.h"
#include "kestrix/cleanroom/recordFacts.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace kestrix::cleanroom {

namespace {

constexpr double kSecondsPerDay = 86'400.0;

std::string Number(double value, const char* format = "%.1f") {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Sizes(const data::clsDataRecordSet& recordSet, std::int16_t channel) {
    return recordSet.GetPartChanType(channel) + " µm";
}

class RecordChecker {
public:
    explicit RecordChecker(data::clsDataRecordSet& recordSet)
        : recordSet_(recordSet), nominal_(recordSet), measured_(recordSet), impossible_(recordSet) {
    }

    std::vector<DataFinding> Run() {
        for (std::int32_t index = 0; index < recordSet_.RecordCount(); ++index) {
            const data::clsDataRecord& record = *recordSet_.Record(index);
            if (std::optional<DataFault> fault = impossible_.FaultOf(record)) {
                Add(index, fault->kind, std::move(fault->message));
            } else {
                CheckRisingCounts(index, record);
                CheckVolume(index, record);
            }
            CheckZeroRun(index, record);
            CheckTime(index, record);
            CheckStatus(index, record);
        }
        ReportZeroRun();
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const DataFinding& a, const DataFinding& b) {
                             return a.recordIndex < b.recordIndex;
                         });
        return std::move(findings_);
    }

private:
    void Add(std::int32_t index, FindingKind kind, std::string message) {
        findings_.push_back(
            {index, recordSet_.Record(index)->GetTimeStamp(), kind, std::move(message)});
    }

    void CheckRisingCounts(std::int32_t index, const data::clsDataRecord& record) {
        for (std::int16_t larger = 1; larger < record.GetPartChanCount(); ++larger) {
            const std::int16_t smaller = larger - 1;
            if (!record.GetPartChanEnable(smaller) || !record.GetPartChanEnable(larger)) {
                continue;
            }
            const std::int32_t small = record.GetPartChanValue(smaller, true);
            const std::int32_t large = record.GetPartChanValue(larger, true);
            if (large > small) {
                Add(index, FindingKind::RisingCounts,
                    "The count at " + Sizes(recordSet_, larger) + " (" + std::to_string(large) +
                        ") is above the count at " + Sizes(recordSet_, smaller) + " (" +
                        std::to_string(small) +
                        "): cumulative counts cannot rise with size, an instrument or transfer "
                        "fault.");
                return;
            }
        }
    }

    void CheckVolume(std::int32_t index, const data::clsDataRecord& record) {
        const std::optional<double> measured = measured_.Litres(record);
        if (!measured) {
            return;
        }
        const double nominal = nominal_.Litres(record);
        const double difference = std::abs(*measured - nominal);
        if (difference > kVolumeTolerance * std::abs(nominal)) {
            Add(index, FindingKind::VolumeMismatch,
                "The sampled volume " + Number(*measured) +
                    " L differs from flow rate x sample "
                    "time (" +
                    Number(nominal) + " L) by more than 5%.");
        }
    }

    void CheckZeroRun(std::int32_t index, const data::clsDataRecord& record) {
        const bool zero = record.GetPartChanCount() > 0 && record.GetPartChanEnable(0) &&
                          record.GetPartChanValue(0, true) == 0;
        if (zero) {
            if (zeroRunLength_ == 0) {
                zeroRunStart_ = index;
            }
            ++zeroRunLength_;
            return;
        }
        ReportZeroRun();
    }

    void ReportZeroRun() {
        if (zeroRunLength_ >= kZeroRunLength) {
            const std::int32_t last = zeroRunStart_ + zeroRunLength_ - 1;
            Add(zeroRunStart_, FindingKind::ZeroCounts,
                std::to_string(zeroRunLength_) + " zero counts in a row at " +
                    Sizes(recordSet_, 0) + " (records " + std::to_string(zeroRunStart_ + 1) +
                    " to " + std::to_string(last + 1) + "): is the inlet blocked?");
        }
        zeroRunLength_ = 0;
    }

    void CheckTime(std::int32_t index, const data::clsDataRecord& record) {
        const auto seconds = std::llround(record.GetTimeStamp() * kSecondsPerDay);
        if (previousSeconds_ && seconds < *previousSeconds_) {
            Add(index, FindingKind::TimeBackwards,
                "The time stamp goes back before the previous record's.");
        } else if (previousSeconds_ && seconds == *previousSeconds_) {
            Add(index, FindingKind::TimeRepeated, "The time stamp repeats the previous record's.");
        }
        previousSeconds_ = seconds;
    }

    void CheckStatus(std::int32_t index, const data::clsDataRecord& record) {
        const std::uint8_t status = RecordStatus(record);
        if (status != 0) {
            Add(index, FindingKind::StatusFlags,
                "The instrument flagged the record: " + StatusDescription(status) + ".");
        }
    }

    data::clsDataRecordSet& recordSet_;
    NominalVolume nominal_;
    MeasuredVolume measured_;
    ImpossibleData impossible_;
    std::vector<DataFinding> findings_;
    std::optional<long long> previousSeconds_;
    std::int32_t zeroRunStart_ = 0;
    std::int32_t zeroRunLength_ = 0;
};

} // namespace

std::vector<DataFinding> CheckRecords(data::clsDataRecordSet& recordSet) {
    return RecordChecker(recordSet).Run();
}

std::string FindingKindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::NegativeCount:
        return "Negative count";
    case FindingKind::NegativeConcentration:
        return "Negative concentration";
    case FindingKind::ImpossibleFlowRate:
        return "Impossible flow rate";
    case FindingKind::ZeroSampleTime:
        return "Zero sample time";
    case FindingKind::ImpossibleVolume:
        return "Impossible volume";
    case FindingKind::RisingCounts:
        return "Rising counts";
    case FindingKind::VolumeMismatch:
        return "Sample volume";
    case FindingKind::ZeroCounts:
        return "Zero counts";
    case FindingKind::TimeBackwards:
        return "Time goes back";
    case FindingKind::TimeRepeated:
        return "Time repeats";
    case FindingKind::StatusFlags:
        break;
    }
    return "Status flags";
}

std::string FindingKindKey(FindingKind kind) {
    std::string key = FindingKindName(kind);
    for (char& c : key) {
        c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

} // namespace kestrix::cleanroom
