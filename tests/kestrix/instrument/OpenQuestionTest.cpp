// Questions and notices the user keeps open while the line goes on: the session waits in a
// consistent state and nothing from the line, the control or the watchdog reaches it.

#include "SessionHarness.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/instrument/RequestRunner.h"
#include "tolvex/PortTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kPort = 7;
// Longer than the watchdog's whole budget for one request.
constexpr int kLongerThanTheWatchdog =
    instrument::RequestRunner::kWatchdogMs * (instrument::RequestRunner::kRetries + 1) + 500;
// Longer than kestrix-sim --pace needs for a chunk of 200 records at 115200 bit/s.
constexpr int kLongerThanAChunk = 1500;

class OpenQuestion : public ::testing::Test {
protected:
    void Connect(const std::vector<std::string>& arguments) {
        sim_ = std::make_unique<SimulatedInstrument>(arguments, kPort);
        ASSERT_TRUE(sim_->Ready());
        ASSERT_EQ(harness_.Identify(kPort, 1), IdentifyOutcome::Identified);
    }
    // Starts the download with Cancel pressed at the first record and waits for the question.
    void AskAtFirstRecord() {
        harness_.prompts.leaveQuestionsOpen = true;
        harness_.PressAtFirstRecord(instrument::WizardButton::Cancel);
        QObject::connect(&harness_.Session(), &instrument::DownloadSession::DownloadEnded,
                         [this](instrument::DownloadOutcome outcome) { outcome_ = outcome; });
        harness_.Session().StartDownload();
        harness_.WaitFor([this] { return !harness_.prompts.questions.empty(); });
    }

    SessionHarness harness_;
    std::unique_ptr<SimulatedInstrument> sim_;
    std::optional<instrument::DownloadOutcome> outcome_;
};

TEST_F(OpenQuestion, WaitsPastTheWatchdogAndGoesOnWhenAnsweredNo) {
    ScenarioFile scenario(R"({"preset": "standard", "generate": {"count": 6}})");
    Connect({"--scenario", scenario.Path()});
    AskAtFirstRecord();
    SessionHarness::RunFor(kLongerThanTheWatchdog);
    instrument::DownloadSession& session = harness_.Session();
    EXPECT_EQ(session.State(), instrument::SessionState::Asking);
    EXPECT_TRUE(session.IsBusy());
    EXPECT_FALSE(outcome_.has_value());
    EXPECT_TRUE(harness_.prompts.messages.empty());
    // A second press meanwhile belongs to the question already asked.
    session.PressButton(instrument::WizardButton::Prev);
    session.AnswerQuestion(false);
    harness_.WaitFor([this] { return outcome_.has_value(); });
    EXPECT_EQ(*outcome_, instrument::DownloadOutcome::Finished);
    EXPECT_EQ(session.GetDataRecordSet()->RecordCount(), 6);
    EXPECT_TRUE(harness_.carriedOut.empty());
    EXPECT_EQ(harness_.prompts.questions.size(), 1U);
}

TEST_F(OpenQuestion, AnsweredYesLeavesNothingRunning) {
    ScenarioFile scenario(R"({"preset": "standard", "generate": {"count": 6}})");
    Connect({"--scenario", scenario.Path()});
    AskAtFirstRecord();
    harness_.Session().AnswerQuestion(true);
    ASSERT_EQ(outcome_, instrument::DownloadOutcome::Cancelled);
    EXPECT_THAT(harness_.carriedOut, ElementsAre(instrument::WizardButton::Cancel));
    SessionHarness::RunFor(kLongerThanTheWatchdog);
    EXPECT_EQ(harness_.Session().State(), instrument::SessionState::Identified);
    EXPECT_TRUE(harness_.prompts.messages.empty());
    // A late answer changes nothing.
    harness_.Session().AnswerQuestion(false);
    EXPECT_FALSE(harness_.Session().IsBusy());
}

TEST_F(OpenQuestion, YesCarriesOutThePressThatAskedNotALaterOne) {
    ScenarioFile scenario(R"({"preset": "standard", "generate": {"count": 6}})");
    Connect({"--scenario", scenario.Path()});
    AskAtFirstRecord();
    harness_.Session().PressButton(instrument::WizardButton::Prev);
    harness_.Session().AnswerQuestion(true);
    EXPECT_EQ(outcome_, instrument::DownloadOutcome::Cancelled);
    EXPECT_THAT(harness_.carriedOut, ElementsAre(instrument::WizardButton::Cancel));
}

// The instrument goes on sending the chunk it was asked for while the wizard shows a box
// after the press; the bytes must not reach the session that was left.
TEST_F(OpenQuestion, FastChunkStillArrivingBehindABoxReachesNothing) {
    Connect({"--preset", "iaq-fast", "--pace"});
    harness_.PressAtFirstRecord(instrument::WizardButton::Prev);
    instrument::DownloadSession& session = harness_.Session();
    bool boxOpen = false;
    int signalsBehindTheBox = 0;
    std::vector<instrument::SessionState> statesBehindTheBox;
    QObject::connect(&session, &instrument::DownloadSession::ButtonCarriedOut, [&] {
        boxOpen = true;
        SessionHarness::RunFor(kLongerThanAChunk);
        boxOpen = false;
        statesBehindTheBox.push_back(session.State());
    });
    const auto countBehindTheBox = [&] { signalsBehindTheBox += boxOpen ? 1 : 0; };
    QObject::connect(&session, &instrument::DownloadSession::DownloadProgressChanged,
                     countBehindTheBox);
    QObject::connect(&session, &instrument::DownloadSession::BusyChanged, countBehindTheBox);
    QObject::connect(&session, &instrument::DownloadSession::DownloadEnded, countBehindTheBox);
    QObject::connect(&session, &instrument::DownloadSession::FastCommandSent, countBehindTheBox);
    ASSERT_EQ(harness_.Download(), instrument::DownloadOutcome::Cancelled);
    EXPECT_THAT(statesBehindTheBox, ElementsAre(instrument::SessionState::Identified));
    EXPECT_EQ(signalsBehindTheBox, 0);
    EXPECT_FALSE(session.WasDataDownloaded());
    EXPECT_TRUE(harness_.prompts.messages.empty());
    EXPECT_EQ(harness_.Identify(kPort, 1), IdentifyOutcome::Identified);
}

TEST_F(OpenQuestion, FastPortThatDoesNotOpenIsSaidAtOnce) {
    ScenarioFile scenario(R"({"preset": "iaq-fast", "generate": {"count": 20}})");
    Connect({"--scenario", scenario.Path()});
    // The Modbus connection stays open on the old device until the switch.
    tolvex::SetPortDevice(kPort, "/nonexistent/ttyFAST");
    EXPECT_EQ(harness_.Download(), instrument::DownloadOutcome::FastPortNotOpened);
    EXPECT_TRUE(harness_.fastCommands.empty());
    ASSERT_EQ(harness_.prompts.messages.size(), 1U);
    EXPECT_EQ(harness_.prompts.messages[0].title, "Warning");
    EXPECT_THAT(harness_.prompts.messages[0].text, HasSubstr("/nonexistent/ttyFAST"));
    EXPECT_THAT(harness_.prompts.messages[0].text, HasSubstr("No such file or directory"));
    EXPECT_FALSE(harness_.Session().IsBusy());
    EXPECT_FALSE(harness_.Session().WasDataDownloaded());
}

} // namespace
} // namespace kestrix::test
