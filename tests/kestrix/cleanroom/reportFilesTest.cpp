#include "kestrix/cleanroom/reportFiles.h"

#include "WorkedExample.h"
#include "support/MissingPeer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace kestrix::cleanroom::testing {
namespace {

using ::testing::HasSubstr;

class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        set_ = MakeHandRecordSet();
        report_ = *ClassifyNamed(*set_, Iso7Request()).report;
    }

    std::string Saved(const std::string& name) {
        const std::string path = folder_.filePath(QString::fromStdString(name)).toStdString();
        const std::string error = SaveReport(report_, path);
        EXPECT_EQ(error, "");
        return path;
    }

    static std::string Contents(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    QTemporaryDir folder_;
    std::unique_ptr<data::clsDataRecordSet> set_;
    ClassificationReport report_;
};

TEST_F(ReportFiles, JsonHoldsTheFieldsOfTheReport) {
    const auto json = nlohmann::json::parse(Contents(Saved("report.json")));
    EXPECT_EQ(json["room"], "Fill room 2");
    EXPECT_EQ(json["area_m2"], 5.0);
    EXPECT_EQ(json["classification"], "ISO Class 7");
    EXPECT_EQ(json["state"], "at rest");
    EXPECT_EQ(json["sizes"][1]["micrometres"], 5.0);
    EXPECT_EQ(json["sizes"][1]["limit_per_m3"], 2'930);
    EXPECT_EQ(json["instrument"]["model"], "Counter 5000");
    EXPECT_EQ(json["instrument"]["serial"], 4711);
    EXPECT_EQ(json["first_sample"], "2024-03-15T12:00:00");
    EXPECT_EQ(json["last_sample"], "2024-03-15T12:05:00");
    EXPECT_EQ(json["verdict"], "fail");
    ASSERT_EQ(json["locations"].size(), 3U);
    const auto& corridor = json["locations"][2];
    EXPECT_EQ(corridor["name"], "Corridor");
    EXPECT_EQ(corridor["mean_per_m3"][1], 3'100.0);
    EXPECT_EQ(corridor["passed"], false);
    EXPECT_EQ(corridor["cleanest_iso_class"], 8);
    EXPECT_EQ(corridor["sample_results"][1]["record"], 6);
}

TEST_F(ReportFiles, HtmlShowsTheSectionsTablesPicturesAndSignatures) {
    const std::string html = Contents(Saved("report.html"));
    for (const char* text :
         {"<h1>Cleanroom Classification Report</h1>", "Room: Fill room 2", "Report ID: KX-",
          "Verdict: FAIL", "Class: ISO Class 7", "Location 3 (Corridor)", "3,100", "2,930",
          "<img src=\"data:image/png;base64,", "Printed name"}) {
        EXPECT_THAT(html, HasSubstr(text));
    }
}

std::string PdfText(const std::string& path) {
    QProcess reader;
    reader.start("pdftotext", {QString::fromStdString(path), "-"});
    reader.waitForFinished(-1);
    return reader.readAllStandardOutput().toStdString();
}

TEST_F(ReportFiles, PdfHoldsEachIdentificationItemOrAWarningForIt) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        SKIP_OR_FAIL_WITHOUT_PEER("pdftotext is not installed");
    }
    struct Case {
        TestingParty party;
        std::string room;
        std::string building;
        std::vector<std::string> said;
    };
    const Case cases[] = {
        {{"Clean Air Services", "1 High Street, Springfield", "A. Tester"},
         "Fill room 2",
         "Building 3, level 1",
         {"Testing organisation: Clean Air Services", "Address: 1 High Street, Springfield",
          "Tester: A. Tester", "Room: Fill room 2", "Place in the building: Building 3, level 1"}},
        {{},
         "",
         "",
         {"Warning: Testing organisation not given.",
          "Warning: Address of the testing organisation not given.", "Warning: Tester not given.",
          "Warning: Room not given.", "Warning: Place of the room in the building not given."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.room);
        report_.party = c.party;
        report_.room = c.room;
        report_.roomPlan.building = c.building;
        const std::string text = PdfText(Saved("report.pdf"));
        std::vector<std::string> said = c.said;
        said.insert(said.end(), {"Date(s) of test: 2024-03-15", "Standard: ISO 14644-1:2015",
                                 "Designation: ISO Class 7 (at rest; 0.5 µm, 5.0 µm)",
                                 "Verdict: FAIL", "Report ID: KX-", "Page 1 of "});
        for (const std::string& expected : said) {
            EXPECT_THAT(text, HasSubstr(expected));
        }
    }
}

TEST_F(ReportFiles, AnUnknownEndingIsRefused) {
    EXPECT_THAT(SaveReport(report_, folder_.filePath("report.txt").toStdString()),
                HasSubstr(".pdf, .html, .htm or .json"));
}

} // namespace
} // namespace kestrix::cleanroom::testing
