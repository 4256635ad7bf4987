#pragma once

// Classifying a room from the records of its sampling locations: per location the samples'
// concentrations at each considered size, their mean against the limit, the cleanest whole
// ISO class the location meets; the checks the sampling plan must pass; and the verdict.

#include "kestrix/base/dateTime.h"
#include "kestrix/cleanroom/ClassificationTarget.h"
#include "kestrix/cleanroom/RoomDescription.h"
#include "kestrix/cleanroom/consideredSizes.h"
#include "kestrix/cleanroom/dataChecks.h"
#include "kestrix/cleanroom/testingParty.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::cleanroom {

struct ClassificationRequest {
    ClassificationTarget target;
    double areaSquareMetres = 0;
    std::vector<double> sizes; // empty: the target's default sizes
    std::string room;
    std::vector<std::int32_t> locations; // empty: every location in the records
};

struct SampleResult {
    std::int32_t recordIndex = 0;
    base::DateTime timeStamp = 0;
    double litres = 0;
    std::vector<double> perCubicMetre; // per considered size
};

struct LocationResult {
    std::int32_t locationId = 0;
    std::string name;
    std::vector<SampleResult> samples;
    double totalLitres = 0;
    std::vector<double> means; // per considered size
    std::vector<bool> withinLimit;
    bool passed = false;
    std::optional<int> cleanestIsoClass;
};

struct LeftOutRecord {
    std::int32_t recordIndex = 0;
    std::int32_t locationId = 0;
    std::string reason;
};

// An electronic signature as a signed copy of the report prints it.
struct ReportSignature {
    std::string printedName;
    std::string user;
    std::string time; // with its time zone
    std::string meaning;
    std::string comment;
};

struct ClassificationReport {
    std::string room;
    double areaSquareMetres = 0;
    std::string targetName;
    std::optional<GmpGrade> grade; // set for an EU GMP grade
    CleanroomState state = CleanroomState::AtRest;
    std::vector<ConsideredSize> sizes;
    std::vector<double> limits; // per considered size, particles/m³
    double minimumSampleLitres = 0;
    std::int32_t minimumLocations = 0;
    std::string instrumentModel;
    std::int32_t instrumentSerial = 0;
    double flowLitresPerMinute = 0;
    base::DateTime firstSample = 0;
    base::DateTime lastSample = 0;
    std::vector<LocationResult> locations;
    std::vector<std::string> checks;
    std::vector<LeftOutRecord> leftOut;
    std::vector<DataFinding> findings;
    bool passed = false;
    // The download archive's chain head, "event N sha256:HEX": the records' own when they came
    // from or went into the archive, or the archive's when the report was written; empty
    // without an archive.
    std::string archiveHead;
    // The instrument's calibration as the archive knows it ("certificate C, calibrated D, due D"),
    // empty when none is known, and the warning when it was due before the test.
    std::string calibration;
    std::string calibrationWarning;
    // What the caller knows beyond the records, for the report's identification and plan.
    TestingParty party;
    RoomDescription roomPlan;
    // On a signed copy: its electronic signatures and the SHA-256 of the file they signed.
    std::vector<ReportSignature> signatures;
    std::string signedSha256;
};

struct ClassificationOutcome {
    std::optional<ClassificationReport> report;
    std::string refusal; // why there is no report
};

using LocationNamer = std::function<std::string(std::int32_t locationId)>;

// The minimum volume of one sample: 20 particles expected at the limit of the largest
// considered size, and never under 2 litres.
double MinimumSampleLitres(double limitAtLargestSize);

// Refuses when a location has no usable record left. Moves no record cursor of the set.
ClassificationOutcome Classify(data::clsDataRecordSet& recordSet,
                               const ClassificationRequest& request, const LocationNamer& nameOf);

} // namespace kestrix::cleanroom
