// Downloads against kestrix-sim on a pseudo-terminal: every map version, both transports, the
// faults on the line, the outcomes and the record-set file.

#include "SessionHarness.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/instrument/sessionTexts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace kestrix::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kPort = 5;

// A simulated instrument identified at address 1, ready for the download.
class Download : public ::testing::Test {
protected:
    void Connect(const std::vector<std::string>& arguments) {
        sim_ = std::make_unique<SimulatedInstrument>(arguments, kPort);
        ASSERT_TRUE(sim_->Ready());
        ASSERT_EQ(harness_.Identify(kPort, 1), IdentifyOutcome::Identified);
    }
    void ConnectScenario(const std::string& json, std::vector<std::string> faults = {}) {
        scenario_ = std::make_unique<ScenarioFile>(json);
        faults.insert(faults.begin(), {"--scenario", scenario_->Path()});
        Connect(faults);
    }
    data::clsDataRecordSet& Result() { return *harness_.Session().GetDataRecordSet(); }

    SessionHarness harness_;
    std::unique_ptr<ScenarioFile> scenario_;
    std::unique_ptr<SimulatedInstrument> sim_;
};

TEST_F(Download, MapVersion137ReadsInputBlocksShortRecordsAndNoNames) {
    Connect({"--preset", "legacy-137"});
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    data::clsDataRecordSet& set = Result();
    EXPECT_EQ(set.RecordCount(), 40);
    EXPECT_EQ(set.GetSensorName(), "Pirrow 32");
    EXPECT_FALSE(set.HasLocationNames());
    ASSERT_GT(set.GetPartChanCount(), 0);
    for (std::int16_t c = 0; c < set.GetPartChanCount(); ++c) {
        EXPECT_EQ(set.GetPartChanHighThreshold(c), 0);
        EXPECT_FALSE(set.GetPartChanAlarm(c));
    }
    EXPECT_EQ(set.GetPartChanType(0), "0.3");
    EXPECT_EQ(set.GetSampleTimeUnits(), "s");
    EXPECT_GT(set.GetAnalogChanCount(), 0);
    const instrument::DownloadView& view = harness_.Session().View();
    EXPECT_EQ(view.progress.text, "Done");
    EXPECT_EQ(view.ShownText(), sessionTexts::DoneLabelText());
    EXPECT_EQ(view.cancelCaption, "&Close");
    EXPECT_TRUE(harness_.fastCommands.empty());
}

TEST_F(Download, MapVersion138ReadsHoldingBlocksEnableWordsAndNames) {
    Connect({"--preset", "swapped-names"});
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    data::clsDataRecordSet& set = Result();
    EXPECT_EQ(set.RecordCount(), 20);
    ASSERT_TRUE(set.HasLocationNames());
    EXPECT_EQ(set.GetLocationName(0), "LOC000");
    EXPECT_EQ(set.GetLocationName(3), "LOC003");
    EXPECT_EQ(harness_.Session().View().progress.maximum, 22);
    EXPECT_EQ(harness_.Session().View().progress.text, "Done");
}

TEST_F(Download, MapVersion145WithoutFastTransferUsesModbusRecordByRecord) {
    ConnectScenario(R"({"preset": "standard", "generate": {"count": 12}})");
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    data::clsDataRecordSet& set = Result();
    EXPECT_EQ(set.RecordCount(), 12);
    EXPECT_EQ(set.GetLocationName(1), "LOBBY");
    EXPECT_EQ(set.GetLocationName(5), "STORE");
    EXPECT_EQ(set.GetLocationName(6), "LOC006");
    EXPECT_TRUE(harness_.fastCommands.empty());
}

TEST_F(Download, FastTransferOf450RecordsGoesInThreeChunks) {
    Connect({"--preset", "iaq-fast"});
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    EXPECT_THAT(harness_.fastCommands,
                ElementsAre("<gr0000,0200>", "<gr0200,0200>", "<gr0400,0050>"));
    data::clsDataRecordSet& set = Result();
    EXPECT_EQ(set.RecordCount(), 450);
    EXPECT_FLOAT_EQ(set.GetParticleDensity(), 1.65F);
    EXPECT_EQ(set.GetLocationName(2), "HALL");
    for (std::int32_t i = 0; i < set.RecordCount(); ++i) {
        ASSERT_GE(set.Record(i)->GetLocationID(), 1) << "record " << i;
    }
    EXPECT_EQ(harness_.Session().View().progress.value, 453);
    // Back on Modbus afterwards: the same session identifies again.
    EXPECT_EQ(harness_.Identify(kPort, 1), IdentifyOutcome::Identified);
}

TEST_F(Download, FastTransferAndModbusGiveTheSameRecords) {
    const std::string generate = R"("generate": {"count": 30, "seed": 9})";
    ConnectScenario(R"({"preset": "iaq-fast", )" + generate + "}");
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    const auto fast = harness_.Session().GetDataRecordSet();
    SessionHarness modbus;
    ScenarioFile slowScenario(R"({"preset": "iaq-fast", "identity": {"fast_transfer": false}, )" +
                              generate + "}");
    SimulatedInstrument slow({"--scenario", slowScenario.Path()}, kPort + 1);
    ASSERT_TRUE(slow.Ready());
    ASSERT_EQ(modbus.Identify(kPort + 1, 1), IdentifyOutcome::Identified);
    ASSERT_EQ(modbus.Download(), instrument::DownloadOutcome::Finished);
    const auto viaModbus = modbus.Session().GetDataRecordSet();
    ASSERT_EQ(fast->RecordCount(), viaModbus->RecordCount());
    ASSERT_EQ(fast->GetPartChanCount(), viaModbus->GetPartChanCount());
    for (std::int32_t i = 0; i < fast->RecordCount(); ++i) {
        const data::clsDataRecord expected = *viaModbus->Record(i);
        const data::clsDataRecord* got = fast->Record(i);
        EXPECT_DOUBLE_EQ(got->GetTimeStamp(), expected.GetTimeStamp());
        EXPECT_EQ(got->GetSampleTimeValue(), expected.GetSampleTimeValue());
        for (std::int16_t c = 0; c < fast->GetPartChanCount(); ++c) {
            EXPECT_EQ(got->GetPartChanValue(c, true), expected.GetPartChanValue(c, true));
        }
        for (std::int16_t c = 0; c < fast->GetAnalogChanCount() && c < 4; ++c) {
            EXPECT_NEAR(got->GetAnalogChanValue(c), expected.GetAnalogChanValue(c),
                        0.051); // half a raw step of the coarsest input
        }
    }
}

TEST_F(Download, BusyInstrumentIsMadeIdleFirst) {
    ConnectScenario(R"({"preset": "busy", "generate": {"count": 4}})");
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    EXPECT_EQ(Result().RecordCount(), 4);
    ASSERT_EQ(sim_->Process().Stop(), 0);
    EXPECT_THAT(sim_->Process().StateText(), HasSubstr("\"busy\": false"));
}

TEST_F(Download, DroppedAndCorruptedRepliesAreRepeatedByTheWatchdog) {
    ConnectScenario(R"({"preset": "standard", "generate": {"count": 5}})",
                    {"--drop-every", "9", "--corrupt-every", "13"});
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    EXPECT_EQ(Result().RecordCount(), 5);
    EXPECT_TRUE(harness_.prompts.messages.empty());
}

// Identification, twelve requests before the records and the switch make the first chunk the
// fourteenth answer.
TEST_F(Download, CorruptedFastChunkIsRequestedAgain) {
    ConnectScenario(R"({"preset": "iaq-fast", "generate": {"count": 250}})",
                    {"--corrupt-every", "14"});
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    EXPECT_EQ(Result().RecordCount(), 250);
    EXPECT_GT(harness_.fastCommands.size(), 2U);
    EXPECT_EQ(harness_.fastCommands.back(), "<gr0200,0050>");
}

TEST_F(Download, ThreeFailuresGiveLostCommunication) {
    ConnectScenario(R"({"preset": "standard", "generate": {"count": 5}})");
    sim_->Process().Stop();
    bool backToChoice = false;
    QObject::connect(&harness_.Session(), &instrument::DownloadSession::CommunicationLost,
                     [&] { backToChoice = true; });
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::LostCommunication);
    EXPECT_TRUE(backToChoice);
    ASSERT_EQ(harness_.prompts.messages.size(), 1U);
    EXPECT_EQ(harness_.prompts.messages[0].title, "Warning");
    EXPECT_EQ(harness_.prompts.messages[0].text, sessionTexts::LostCommunicationText());
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
}

TEST_F(Download, LineHungUpInMidDownloadHandsOutNoRecordSet) {
    ConnectScenario(R"({"preset": "standard", "generate": {"count": 30}})",
                    {"--hang-up-after", "25"});
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::LostCommunication);
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
    EXPECT_EQ(harness_.Session().GetDataRecordSet(), nullptr);
    EXPECT_GT(harness_.Session().RecordsDone(), 0);
}

TEST_F(Download, InstrumentChangedSinceIdentificationIsRefused) {
    Connect({"--preset", "legacy-137"});
    SimulatedInstrument other({"--preset", "swapped-names"}, kPort);
    ASSERT_TRUE(other.Ready());
    ASSERT_TRUE(harness_.Session().SetConnection(kPort, 1));
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::NotSameInstrument);
    ASSERT_EQ(harness_.prompts.messages.size(), 1U);
    EXPECT_EQ(harness_.prompts.messages[0].icon, instrument::MessageIcon::Information);
    EXPECT_EQ(harness_.prompts.messages[0].title, "Warning");
    EXPECT_EQ(harness_.prompts.messages[0].text, sessionTexts::NotSameInstrumentText());
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
}

TEST_F(Download, NoRecordsAtEntryRequestsNothing) {
    Connect({"--preset", "empty"});
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::NoData);
    const instrument::DownloadView& view = harness_.Session().View();
    EXPECT_EQ(view.ShownText(), sessionTexts::NoDataLabelText());
    EXPECT_EQ(view.cancelCaption, "&Close");
    EXPECT_FALSE(harness_.Session().IsBusy());
    EXPECT_TRUE(harness_.prompts.messages.empty());
}

TEST_F(Download, RecordsClearedSinceIdentificationGiveNoData) {
    Connect({"--preset", "standard"});
    ScenarioFile cleared(R"({"preset": "empty", "identity": {"serial": 12345}})");
    SimulatedInstrument same({"--scenario", cleared.Path()}, kPort);
    ASSERT_TRUE(same.Ready());
    ASSERT_TRUE(harness_.Session().SetConnection(kPort, 1));
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::NoData);
    EXPECT_EQ(harness_.Session().Identity().recordCount, 0);
    ASSERT_EQ(harness_.prompts.messages.size(), 1U);
    EXPECT_EQ(harness_.prompts.messages[0].title, "Information");
    EXPECT_EQ(harness_.prompts.messages[0].text, sessionTexts::NoDataNoticeText());
    EXPECT_EQ(harness_.Session().View().progress.text, "Done");
}

// Channels without a sample time unit: the record set cannot be initialised.
std::string ScenarioWithoutSampleTimeUnit() {
    std::string channels = R"({"tag": "TIME", "unit": "s", "enabled": true}, )"
                           R"({"tag": "STIM", "unit": "", "enabled": true}, {}, {}, )"
                           R"({"tag": "0.3", "unit": "#", "enabled": true})";
    for (int c = 5; c < 36; ++c) {
        channels += ", {}";
    }
    return R"({"preset": "standard", "channels": [)" + channels + R"(], "generate": {"count": 3}})";
}

TEST_F(Download, RecordSetThatCannotBeInitialisedIsADecodingError) {
    ConnectScenario(ScenarioWithoutSampleTimeUnit());
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::DecodingError);
    ASSERT_EQ(harness_.prompts.messages.size(), 1U);
    EXPECT_EQ(harness_.prompts.messages[0].icon, instrument::MessageIcon::Error);
    EXPECT_EQ(harness_.prompts.messages[0].title, "Internal Error");
    EXPECT_EQ(harness_.prompts.messages[0].text, "Error downloading data!");
    EXPECT_EQ(harness_.Session().View().progress.text, "Error!");
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
    EXPECT_FALSE(harness_.Session().IsBusy());
}

TEST_F(Download, CancelAnsweredNoLetsTheDownloadGoOn) {
    ConnectScenario(R"({"preset": "standard", "generate": {"count": 6}})");
    harness_.prompts.answers = {false};
    harness_.PressAtFirstRecord(instrument::WizardButton::Cancel);
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    ASSERT_EQ(harness_.prompts.questions.size(), 1U);
    EXPECT_EQ(harness_.prompts.questions[0].title, "Question");
    EXPECT_EQ(harness_.prompts.questions[0].text, sessionTexts::CancelDownloadQuestion());
    EXPECT_TRUE(harness_.carriedOut.empty());
    EXPECT_EQ(Result().RecordCount(), 6);
}

TEST_F(Download, CancelAnsweredYesDiscardsEverything) {
    ConnectScenario(R"({"preset": "standard", "generate": {"count": 6}})");
    harness_.prompts.answers = {true};
    harness_.PressAtFirstRecord(instrument::WizardButton::Cancel);
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Cancelled);
    EXPECT_THAT(harness_.carriedOut, ElementsAre(instrument::WizardButton::Cancel));
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
    EXPECT_FALSE(harness_.Session().IsBusy());
}

TEST_F(Download, CancelDuringTheFastTransferActsWithoutAQuestion) {
    Connect({"--preset", "iaq-fast"});
    harness_.PressAtFirstRecord(instrument::WizardButton::Cancel);
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Cancelled);
    EXPECT_TRUE(harness_.prompts.questions.empty());
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
    // The Modbus connection is back.
    EXPECT_EQ(harness_.Identify(kPort, 1), IdentifyOutcome::Identified);
}

TEST_F(Download, RecordSetFileReadsBackIdentical) {
    ConnectScenario(R"({"preset": "iaq-fast", "generate": {"count": 40}})");
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Finished);
    std::stringstream first;
    data::WriteRecordSetJson(Result(), first);
    std::istringstream in(first.str());
    const data::RecordSetReadResult read = data::ReadRecordSetJson(in);
    ASSERT_TRUE(read.recordSet) << read.error;
    std::stringstream second;
    data::WriteRecordSetJson(*read.recordSet, second);
    EXPECT_EQ(second.str(), first.str());
    EXPECT_EQ(read.recordSet->RecordCount(), 40);
    EXPECT_EQ(read.recordSet->GetLocationName(1), "OFFICE");
}

} // namespace
} // namespace kestrix::test
