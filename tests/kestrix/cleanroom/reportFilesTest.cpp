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

TEST_F(ReportFiles, HtmlShowsTheTableVerdictAndSignatures) {
    const std::string html = Contents(Saved("report.html"));
    for (const char* text :
         {"Cleanroom Classification Report", "Room: Fill room 2", "Classification: ISO Class 7",
          "Corridor", "3,100", "2,930", "Verdict: FAIL", "Tested by", "Reviewed by"}) {
        EXPECT_THAT(html, HasSubstr(text));
    }
}

TEST_F(ReportFiles, PdfIsPrintedLikeTheTable) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        SKIP_OR_FAIL_WITHOUT_PEER("pdftotext is not installed");
    }
    const std::string path = Saved("report.pdf");
    QProcess reader;
    reader.start("pdftotext", {QString::fromStdString(path), "-"});
    reader.waitForFinished(-1);
    const std::string text = reader.readAllStandardOutput().toStdString();
    // The text comes back with ligatures ("fi" as one character), so words without them.
    for (const char* expected : {"Cleanroom", "Instrument Serial #: 000004711", "Corridor",
                                 "Verdict: FAIL", "Reviewed by", "Page 1"}) {
        EXPECT_THAT(text, HasSubstr(expected));
    }
}

TEST_F(ReportFiles, AnUnknownEndingIsRefused) {
    EXPECT_THAT(SaveReport(report_, folder_.filePath("report.txt").toStdString()),
                HasSubstr(".pdf, .html, .htm or .json"));
}

} // namespace
} // namespace kestrix::cleanroom::testing
