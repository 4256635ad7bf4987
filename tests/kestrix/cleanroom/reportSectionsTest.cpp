#include "kestrix/cleanroom/reportSections.h"

#include "WorkedExample.h"
#include "kestrix/cleanroom/reportFigures.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::cleanroom::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

ClassificationReport HandReport(int isoClass, double area) {
    const auto set = MakeHandRecordSet();
    ClassificationRequest request = Iso7Request();
    request.target.isoClass = isoClass;
    request.areaSquareMetres = area;
    return *ClassifyNamed(*set, request).report;
}

const ReportSection* Section(const ReportDocument& document, const std::string& title) {
    const auto it = std::find_if(document.sections.begin(), document.sections.end(),
                                 [&](const ReportSection& s) { return s.title == title; });
    return it == document.sections.end() ? nullptr : &*it;
}

std::vector<std::string> LineTexts(const ReportSection& section) {
    std::vector<std::string> texts;
    for (const ReportBlock& block : section.blocks) {
        if (const auto* line = std::get_if<ReportLine>(&block)) {
            texts.push_back(line->text);
        }
    }
    return texts;
}

TEST(ReportDocument, VerdictAndLocationsRequiredFollowTheAreaAndTheLimits) {
    struct Case {
        int isoClass;
        double area;
        std::string verdict;
        std::string locations;
    };
    const Case cases[] = {
        {7, 5.0, "Verdict: FAIL", "3 required by ISO 14644-1:2015 Table A.1, 3 sampled"},
        {8, 5.0, "Verdict: PASS", "3 required by ISO 14644-1:2015 Table A.1, 3 sampled"},
        {8, 10.0, "Verdict: NOT CLASSIFIED", "5 required by ISO 14644-1:2015 Table A.1, 3 sampled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.verdict + " " + std::to_string(c.area));
        const ReportDocument document = BuildReportDocument(HandReport(c.isoClass, c.area));
        EXPECT_EQ(LineTexts(*Section(document, "Summary")).front(), c.verdict);
        EXPECT_THAT(LineTexts(*Section(document, "Method")),
                    Contains("Sampling locations: " + c.locations));
    }
}

TEST(ReportDocument, TheMethodStatesTheCalibrationAndWarnsWhenItIsUnknownOrPastDue) {
    struct Case {
        std::string calibration;
        std::string warning;
        std::vector<std::string> lines;
    };
    const std::string known = "certificate C-2, calibrated 2026-01-10, due 2027-01-10";
    const std::string due = "The instrument's calibration (certificate C-2) was due on 2027-01-10.";
    const Case cases[] = {
        {"", "", {"Calibration: no calibration known."}},
        {known, "", {"Calibration: " + known}},
        {known, due, {"Calibration: " + known, "Warning: " + due}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calibration + c.warning);
        ClassificationReport report = HandReport(8, 5.0);
        report.calibration = c.calibration;
        report.calibrationWarning = c.warning;
        const std::vector<std::string> lines =
            LineTexts(*Section(BuildReportDocument(report), "Method"));
        const auto first = std::find(lines.begin(), lines.end(), c.lines.front());
        ASSERT_NE(first, lines.end());
        EXPECT_EQ(std::vector<std::string>(first, first + c.lines.size()), c.lines);
        EXPECT_EQ(*(first + c.lines.size()), "Departures from the method:");
    }
}

TEST(ReportDocument, ThePlanShowsTheLocationsWithCoordinatesColouredByResult) {
    ClassificationReport report = HandReport(7, 5.0);
    EXPECT_EQ(Section(BuildReportDocument(report), "Sampling locations"), nullptr);

    report.roomPlan.locations = {{1, {0.5, 0.5}}, {3, {3.5, 2.0}}, {9, {1.0, 1.0}}};
    const ReportDocument document = BuildReportDocument(report);
    std::vector<std::string> titles;
    for (const ReportSection& section : document.sections) {
        titles.push_back(section.title);
    }
    EXPECT_THAT(titles,
                ElementsAre("Summary", "Identification", "Method", "Results", "Sampling locations",
                            "Records left out and data checks", "Signatures"));
    const ReportSection& plan = *Section(document, "Sampling locations");
    const auto* drawing = std::get_if<RoomPlanDrawing>(&plan.blocks[1]);
    ASSERT_NE(drawing, nullptr);
    // Without the room's size the plan reaches just past the farthest location.
    EXPECT_DOUBLE_EQ(drawing->width, 4.0);
    EXPECT_DOUBLE_EQ(drawing->length, 2.5);
    ASSERT_EQ(drawing->items.size(), 2U);
    EXPECT_EQ(drawing->items[0].location, 1);
    EXPECT_TRUE(drawing->items[0].passed);
    EXPECT_EQ(drawing->items[1].location, 3);
    EXPECT_DOUBLE_EQ(drawing->items[1].point.x, 3.5);
    EXPECT_FALSE(drawing->items[1].passed);
    EXPECT_THAT(LineTexts(plan), Contains("Warning: no coordinates for location(s) 2."));
}

TEST(ReportDocument, ChartsUseALogScaleOnlyWhereTheRangeNeedsIt) {
    struct Case {
        std::vector<double> means;
        double limit;
        bool logScale;
    };
    const Case cases[] = {
        {{10, 90}, 50, false},
        {{1, 1'000}, 500, true},
        {{0, 50}, 3'520, false}, // a zero leaves no mark either way
        {{0, 5'000}, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        ClassificationReport report;
        report.sizes = {{0.5, 1}};
        report.limits = {c.limit};
        for (const double mean : c.means) {
            LocationResult location;
            location.means = {mean};
            location.withinLimit = {mean <= c.limit};
            report.locations.push_back(location);
        }
        const ReportSection results = ResultsSection(report);
        EXPECT_EQ(std::get<ReportChart>(results.blocks[1]).logScale, c.logScale);
    }
}

} // namespace
} // namespace kestrix::cleanroom::testing
