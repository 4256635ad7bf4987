#include "kestrix/cleanroom/classification.h"

#include "kestrix/cleanroom/ImpossibleData.h"
#include "kestrix/cleanroom/recordFacts.h"
#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <set>

namespace kestrix::cleanroom {

namespace {

constexpr double kExpectedParticlesAtLimit = 20.0;
constexpr double kLeastSampleLitres = 2.0;
constexpr double kLitresPerCubicMetre = 1000.0;
constexpr double kShortestSampleSeconds = 60.0;
constexpr double kLeastGradeALitres = 1000.0;

struct Plan {
    std::vector<ConsideredSize> sizes;
    std::vector<double> limits;
};

std::string RefusalForPlan(const ClassificationRequest& request,
                           const data::clsDataRecordSet& recordSet, Plan& plan) {
    if (!(request.areaSquareMetres > 0) || !std::isfinite(request.areaSquareMetres)) {
        return "The area must be a number of square metres above 0.";
    }
    const std::vector<double> sizes =
        request.sizes.empty() ? request.target.DefaultSizes() : request.sizes;
    if (sizes.empty()) {
        const std::string refusal = request.target.LimitAt(kGradeTableSizes[0]).refusal;
        return request.target.isoClass ? refusal + " Name sizes it has limits at." : refusal;
    }
    SizeMatch match = MatchSizes(recordSet, sizes);
    if (!match.refusal.empty()) {
        return match.refusal;
    }
    for (const ConsideredSize& size : match.sizes) {
        const Limit limit = request.target.LimitAt(size.micrometres);
        if (!limit.perCubicMetre) {
            return limit.refusal;
        }
        plan.limits.push_back(*limit.perCubicMetre);
    }
    plan.sizes = std::move(match.sizes);
    return {};
}

std::optional<int> CleanestIsoClass(const std::vector<ConsideredSize>& sizes,
                                    const std::vector<double>& means) {
    for (int isoClass = kFirstIsoClass; isoClass <= kLastIsoClass; ++isoClass) {
        bool meets = true;
        for (std::size_t i = 0; i < sizes.size() && meets; ++i) {
            const Limit limit = IsoClassLimit(isoClass, sizes[i].micrometres);
            meets = limit.perCubicMetre && means[i] <= *limit.perCubicMetre;
        }
        if (meets) {
            return isoClass;
        }
    }
    return std::nullopt;
}

class Classifier {
public:
    Classifier(data::clsDataRecordSet& recordSet, const ClassificationRequest& request, Plan plan,
               const LocationNamer& nameOf)
        : recordSet_(recordSet), request_(request), nominal_(recordSet), impossible_(recordSet),
          nameOf_(nameOf) {
        report_.room = request.room;
        report_.areaSquareMetres = request.areaSquareMetres;
        report_.targetName = request.target.Name();
        report_.state = request.target.state;
        report_.sizes = std::move(plan.sizes);
        report_.limits = std::move(plan.limits);
        report_.minimumSampleLitres = MinimumSampleLitres(report_.limits.back());
        report_.minimumLocations = MinimumLocations(request.areaSquareMetres);
        report_.instrumentModel = recordSet.GetSensorName();
        report_.instrumentSerial = recordSet.GetSensorID();
        report_.archiveHead = recordSet.GetArchiveHead();
    }

    ClassificationOutcome Run() {
        const std::set<std::int32_t> chosen(request_.locations.begin(), request_.locations.end());
        for (std::int32_t index = 0; index < recordSet_.RecordCount(); ++index) {
            const data::clsDataRecord& record = *recordSet_.Record(index);
            if (chosen.empty() || chosen.contains(record.GetLocationID())) {
                TakeRecord(index, record);
            }
        }
        if (locations_.empty()) {
            return {std::nullopt, "No records at the chosen locations."};
        }
        for (const auto& [id, location] : locations_) {
            if (location.samples.empty()) {
                return {std::nullopt,
                        NoUsableRecordText(LocationLabel(id, location.name), LeftOutAt(id))};
            }
        }
        for (auto& [id, location] : locations_) {
            Conclude(location);
            report_.locations.push_back(std::move(location));
        }
        AddPlanChecks();
        AddFindings();
        report_.passed = std::all_of(report_.locations.begin(), report_.locations.end(),
                                     [](const LocationResult& l) { return l.passed; });
        return {std::move(report_), {}};
    }

private:
    void TakeRecord(std::int32_t index, const data::clsDataRecord& record) {
        const std::int32_t locationId = record.GetLocationID();
        LocationResult& location = LocationOf(locationId);
        SpanDates(record.GetTimeStamp());
        const std::uint8_t status = RecordStatus(record);
        const double litres = nominal_.Litres(record);
        std::string reason;
        if (const std::optional<DataFault> fault = impossible_.FaultOf(record)) {
            reason = "impossible data: " + fault->message;
        } else if (IsBadStatus(status)) {
            reason = "flagged: " + StatusDescription(status);
        } else if (!(litres > 0)) {
            reason = "no air sampled";
        } else if (!AllChannelsOn(record)) {
            reason = "a considered channel is off";
        }
        if (!reason.empty()) {
            report_.leftOut.push_back({index, locationId, std::move(reason)});
            return;
        }
        SampleResult sample{index, record.GetTimeStamp(), litres, {}};
        for (const ConsideredSize& size : report_.sizes) {
            const double count = record.GetPartChanValue(size.channel, true);
            sample.perCubicMetre.push_back(count / (litres / kLitresPerCubicMetre));
        }
        CountShortSample(locationId, litres, nominal_.SampleSeconds(record));
        location.totalLitres += litres;
        location.samples.push_back(std::move(sample));
    }

    std::vector<LeftOutRecord> LeftOutAt(std::int32_t locationId) const {
        std::vector<LeftOutRecord> records;
        std::copy_if(report_.leftOut.begin(), report_.leftOut.end(), std::back_inserter(records),
                     [&](const LeftOutRecord& r) { return r.locationId == locationId; });
        return records;
    }

    LocationResult& LocationOf(std::int32_t locationId) {
        auto [it, added] = locations_.try_emplace(locationId);
        if (added) {
            it->second.locationId = locationId;
            it->second.name = nameOf_(locationId);
        }
        return it->second;
    }

    void SpanDates(base::DateTime timeStamp) {
        if (!datesSeen_) {
            report_.firstSample = report_.lastSample = timeStamp;
            datesSeen_ = true;
        }
        report_.firstSample = std::min(report_.firstSample, timeStamp);
        report_.lastSample = std::max(report_.lastSample, timeStamp);
    }

    bool AllChannelsOn(const data::clsDataRecord& record) const {
        return std::all_of(
            report_.sizes.begin(), report_.sizes.end(),
            [&](const ConsideredSize& s) { return record.GetPartChanEnable(s.channel); });
    }

    void CountShortSample(std::int32_t locationId, double litres, double seconds) {
        if (litres < report_.minimumSampleLitres) {
            ++smallSamples_[locationId];
        }
        if (seconds < kShortestSampleSeconds) {
            ++shortSamples_[locationId];
        }
    }

    void Conclude(LocationResult& location) const {
        const double count = static_cast<double>(location.samples.size());
        location.passed = true;
        for (std::size_t i = 0; i < report_.sizes.size(); ++i) {
            double sum = 0;
            for (const SampleResult& sample : location.samples) {
                sum += sample.perCubicMetre[i];
            }
            location.means.push_back(sum / count);
            location.withinLimit.push_back(location.means.back() <= report_.limits[i]);
            location.passed = location.passed && location.withinLimit.back();
        }
        location.cleanestIsoClass = CleanestIsoClass(report_.sizes, location.means);
    }

    void AddPlanChecks() {
        const auto locationCount = static_cast<std::int32_t>(report_.locations.size());
        if (locationCount < report_.minimumLocations) {
            report_.checks.push_back(TooFewLocationsText(locationCount, report_.minimumLocations,
                                                         report_.areaSquareMetres));
        }
        for (const std::int32_t locationId :
             std::set<std::int32_t>(request_.locations.begin(), request_.locations.end())) {
            if (!locations_.contains(locationId)) {
                report_.checks.push_back(NoRecordsText(locationId));
            }
        }
        for (const LocationResult& location : report_.locations) {
            AddLocationChecks(location);
        }
        if (!report_.leftOut.empty()) {
            report_.checks.push_back(LeftOutText(report_.leftOut.size()));
        }
    }

    void AddLocationChecks(const LocationResult& location) {
        const std::string label = LocationLabel(location.locationId, location.name);
        if (const auto it = smallSamples_.find(location.locationId); it != smallSamples_.end()) {
            report_.checks.push_back(SmallSamplesText(label, it->second, location.samples.size(),
                                                      report_.minimumSampleLitres));
        }
        if (const auto it = shortSamples_.find(location.locationId); it != shortSamples_.end()) {
            report_.checks.push_back(ShortSamplesText(label, it->second, location.samples.size()));
        }
        const bool gradeA = request_.target.grade == GmpGrade::A;
        if (gradeA && location.totalLitres < kLeastGradeALitres) {
            report_.checks.push_back(GradeAVolumeText(label, location.totalLitres));
        }
    }

    void AddFindings() {
        for (DataFinding& finding : CheckRecords(recordSet_)) {
            const std::int32_t locationId = recordSet_.Record(finding.recordIndex)->GetLocationID();
            if (locations_.contains(locationId)) {
                report_.findings.push_back(std::move(finding));
            }
        }
    }

    data::clsDataRecordSet& recordSet_;
    const ClassificationRequest& request_;
    NominalVolume nominal_;
    ImpossibleData impossible_;
    const LocationNamer& nameOf_;
    ClassificationReport report_;
    std::map<std::int32_t, LocationResult> locations_;
    std::map<std::int32_t, std::size_t> smallSamples_;
    std::map<std::int32_t, std::size_t> shortSamples_;
    bool datesSeen_ = false;
};

} // namespace

double MinimumSampleLitres(double limitAtLargestSize) {
    return std::max(kExpectedParticlesAtLimit / limitAtLargestSize * kLitresPerCubicMetre,
                    kLeastSampleLitres);
}

ClassificationOutcome Classify(data::clsDataRecordSet& recordSet,
                               const ClassificationRequest& request, const LocationNamer& nameOf) {
    Plan plan;
    std::string refusal = RefusalForPlan(request, recordSet, plan);
    if (!refusal.empty()) {
        return {std::nullopt, std::move(refusal)};
    }
    return Classifier(recordSet, request, std::move(plan), nameOf).Run();
}

} // namespace kestrix::cleanroom
