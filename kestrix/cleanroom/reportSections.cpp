#include "kestrix/cleanroom/reportSections.h"

#include "kestrix/cleanroom/reportFigures.h"
#include "kestrix/cleanroom/reportJson.h"
#include "kestrix/cleanroom/reportTexts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kestrix::cleanroom {

namespace {

constexpr const char* kIsoStandard = "ISO 14644-1:2015";
constexpr const char* kGmpGuide = "EU GMP Annex 1 (2022)";
constexpr int kSignatureRows = 3;

ReportLine Line(std::string text) {
    return {std::move(text), LineStyle::Plain};
}

ReportLine Warning(std::string text) {
    return {"Warning: " + std::move(text), LineStyle::Warning};
}

// The item, or a warning that it was not given.
ReportLine Given(const std::string& label, const std::string& value, const std::string& missing) {
    return value.empty() ? Warning(missing + " not given.") : Line(label + ": " + value);
}

std::string SizesText(const ClassificationReport& report) {
    std::string text;
    for (const ConsideredSize& size : report.sizes) {
        text += (text.empty() ? "" : ", ") + SizeText(size.micrometres);
    }
    return text;
}

std::string DatesText(const ClassificationReport& report) {
    const std::string first = ReportDateTime(report.firstSample).substr(0, 10);
    const std::string last = ReportDateTime(report.lastSample).substr(0, 10);
    return first == last ? first : first + " to " + last;
}

ReportSection Summary(const ClassificationReport& report) {
    const Verdict verdict = ReportVerdict(report);
    const LineStyle style = verdict == Verdict::Pass ? LineStyle::Pass : LineStyle::Fail;
    return {"Summary",
            {ReportLine{"Verdict: " + VerdictText(verdict), style},
             Line((report.grade.has_value() ? "Grade: " : "Class: ") + report.targetName),
             Line("Occupancy state: " + StateText(report.state)),
             Line("Considered sizes: " + SizesText(report)),
             Line("Date of test: " + DatesText(report))}};
}

ReportSection Identification(const ClassificationReport& report) {
    const TestingParty& party = report.party;
    const std::string standards =
        report.grade.has_value() ? std::string(kIsoStandard) + ", " + kGmpGuide : kIsoStandard;
    return {"Identification",
            {Given("Testing organisation", party.organisation, "Testing organisation"),
             Given("Address", party.address, "Address of the testing organisation"),
             Given("Tester", party.tester, "Tester"), Line("Date(s) of test: " + DatesText(report)),
             Line("Standard: " + standards), Given("Room", report.room, "Room"),
             Given("Place in the building", report.roomPlan.building,
                   "Place of the room in the building"),
             Line("Designation: " + report.targetName + " (" + StateText(report.state) + "; " +
                  SizesText(report) + ")")}};
}

double SmallestSampleLitres(const ClassificationReport& report) {
    double smallest = 0;
    bool seen = false;
    for (const LocationResult& location : report.locations) {
        for (const SampleResult& sample : location.samples) {
            smallest = seen ? std::min(smallest, sample.litres) : sample.litres;
            seen = true;
        }
    }
    return smallest;
}

std::string SerialText(std::int32_t serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%09d", serial);
    return text;
}

ReportSection Method(const ClassificationReport& report) {
    ReportSection section{"Method", {}};
    auto& blocks = section.blocks;
    blocks.push_back(Line("Area: " + OneDecimalText(report.areaSquareMetres) + " m²"));
    blocks.push_back(Line("Sampling locations: " + std::to_string(report.minimumLocations) +
                          " required by " + kIsoStandard + " Table A.1, " +
                          std::to_string(report.locations.size()) + " sampled"));
    for (std::size_t i = 0; i < report.sizes.size(); ++i) {
        blocks.push_back(Line("Minimum single-sample volume at " +
                              SizeText(report.sizes[i].micrometres) + ": " +
                              OneDecimalText(MinimumSampleLitres(report.limits[i])) +
                              " L (20 particles at the limit of " +
                              WholeNumberText(report.limits[i]) + " /m³, at least 2 L)"));
    }
    blocks.push_back(
        Line("Smallest sample taken: " + OneDecimalText(SmallestSampleLitres(report)) + " L"));
    blocks.push_back(Line("Instrument: " + report.instrumentModel + ", serial " +
                          SerialText(report.instrumentSerial) + ", flow rate " +
                          OneDecimalText(report.flowLitresPerMinute) + " L/min"));
    if (report.calibration.empty()) {
        blocks.push_back(ReportLine{"Calibration: no calibration known.", LineStyle::Warning});
    } else {
        blocks.push_back(Line("Calibration: " + report.calibration));
    }
    if (!report.calibrationWarning.empty()) {
        blocks.push_back(Warning(report.calibrationWarning));
    }
    blocks.push_back(Line("Departures from the method:"));
    for (const std::string& check : report.checks) {
        blocks.push_back(Warning(check));
    }
    if (report.checks.empty()) {
        blocks.push_back(Line("None."));
    }
    return section;
}

ReportSection LeftOutAndChecks(const ClassificationReport& report) {
    ReportSection section{"Records left out and data checks", {Line("Records left out:")}};
    for (const LeftOutRecord& record : report.leftOut) {
        section.blocks.push_back(Line(LeftOutLine(record)));
    }
    if (report.leftOut.empty()) {
        section.blocks.push_back(Line("None."));
    }
    section.blocks.push_back(Line("Data checks:"));
    for (const DataFinding& finding : report.findings) {
        section.blocks.push_back(Line("Record " + std::to_string(finding.recordIndex + 1) + " (" +
                                      FindingKindName(finding.kind) + "): " + finding.message));
    }
    if (report.findings.empty()) {
        section.blocks.push_back(Line("None."));
    }
    return section;
}

ReportSection PaperSignatures() {
    return {"Signatures",
            {SignatureBlock{{"Printed name", "Signature", "Date", "Meaning"}, kSignatureRows}}};
}

ReportSection ElectronicSignatures(const ClassificationReport& report) {
    ReportTable table{"", {"Printed name", "User", "Date and time", "Meaning", "Comment"}, {}, {}};
    for (const ReportSignature& signature : report.signatures) {
        table.rows.push_back({signature.printedName, signature.user, signature.time,
                              signature.meaning, signature.comment});
        table.rowPassed.emplace_back();
    }
    return {"Signatures",
            {Line("Signed electronically: each signature below was made over the report file "
                  "with SHA-256 " +
                  report.signedSha256 +
                  ", after its signer gave their password again. This copy was written "
                  "afterwards to show them; kestrix-cli archive verify-file tells whether a "
                  "file is the signed one or this copy."),
             std::move(table)}};
}

ReportSection Signatures(const ClassificationReport& report) {
    return report.signatures.empty() ? PaperSignatures() : ElectronicSignatures(report);
}

} // namespace

Verdict ReportVerdict(const ClassificationReport& report) {
    if (!report.passed) {
        return Verdict::Fail;
    }
    return static_cast<std::int32_t>(report.locations.size()) < report.minimumLocations
               ? Verdict::NotClassified
               : Verdict::Pass;
}

std::string VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return "PASS";
    case Verdict::Fail:
        return "FAIL";
    case Verdict::NotClassified:
        return "NOT CLASSIFIED";
    }
    return {};
}

std::string VerdictWord(Verdict verdict) {
    std::string word = VerdictText(verdict);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

std::string SummaryText(const ClassificationReport& report) {
    return VerdictWord(ReportVerdict(report)) + ": " + report.targetName + ", " +
           std::to_string(report.locations.size()) + " location(s), " +
           std::to_string(report.checks.size()) + " check warning(s)";
}

ReportDocument BuildReportDocument(const ClassificationReport& report) {
    ReportDocument document{kReportTitle, report.room, ReportId(report), report.archiveHead, {}};
    document.sections = {Summary(report), Identification(report), Method(report),
                         ResultsSection(report)};
    if (std::optional<ReportSection> locations = LocationsSection(report)) {
        document.sections.push_back(std::move(*locations));
    }
    document.sections.push_back(LeftOutAndChecks(report));
    document.sections.push_back(Signatures(report));
    return document;
}

} // namespace kestrix::cleanroom
