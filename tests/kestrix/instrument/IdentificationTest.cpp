// Identification against kestrix-sim on a pseudo-terminal.

#include "SessionHarness.h"
#include "kestrix/instrument/sessionTexts.h"
#include "tolvex/PortTable.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <gtest/gtest.h>

namespace kestrix::test {
namespace {

constexpr int kPort = 3;

TEST(Identification, AutoDetectFindsTheInstrumentAtAddressOne) {
    SimulatedInstrument sim({"--preset", "standard"}, kPort);
    ASSERT_TRUE(sim.Ready());
    SessionHarness harness;
    ASSERT_EQ(harness.Identify(kPort, 0), IdentifyOutcome::Identified);
    const instrument::InstrumentIdentity& id = harness.Session().Identity();
    EXPECT_EQ(harness.Session().SlaveAddress(), 1);
    EXPECT_EQ(id.modelName, "Velora 3100");
    EXPECT_EQ(id.serialNumber, 12345);
    EXPECT_EQ(harness.Session().SerialNumberText(), "000012345");
    EXPECT_EQ(id.recordCount, 500);
    EXPECT_EQ(id.mapVersion, 145);
    EXPECT_FALSE(id.fastTransfer);
    EXPECT_FLOAT_EQ(id.particleDensity, 2.5F);
    EXPECT_TRUE(harness.prompts.messages.empty());
}

TEST(Identification, AutoDetectScansUpToAHigherAddress) {
    ScenarioFile scenario(R"({"preset": "iaq-fast", "identity": {"address": 3}})");
    SimulatedInstrument sim({"--scenario", scenario.Path()}, kPort);
    ASSERT_TRUE(sim.Ready());
    SessionHarness harness;
    ASSERT_EQ(harness.Identify(kPort, 0), IdentifyOutcome::Identified);
    const instrument::InstrumentIdentity& id = harness.Session().Identity();
    EXPECT_EQ(harness.Session().SlaveAddress(), 3);
    EXPECT_EQ(harness.Session().Progress().value, 99);
    EXPECT_FALSE(harness.Session().Progress().textVisible);
    EXPECT_EQ(id.modelName, "Dastel 9304 IAQ");
    EXPECT_TRUE(id.fastTransfer);
    EXPECT_FLOAT_EQ(id.particleDensity, 1.65F);
    EXPECT_FLOAT_EQ(id.flowRate, 0.1F);
}

// Its replies come after the quick pass has given up on them: the full pass finds it.
TEST(Identification, AutoDetectFindsAnInstrumentThatAnswersAfterFourHundredMilliseconds) {
    ScenarioFile scenario(R"({"preset": "standard", "identity": {"address": 2}})");
    SimulatedInstrument sim({"--scenario", scenario.Path(), "--turnaround", "400"}, kPort);
    ASSERT_TRUE(sim.Ready());
    SessionHarness harness;
    harness.Session().SetScanHints({.lastFound = 0, .quickTimeoutMs = 100});
    ASSERT_EQ(harness.Identify(kPort, 0), IdentifyOutcome::Identified);
    EXPECT_EQ(harness.Session().SlaveAddress(), 2);
}

TEST(Identification, FixedAddressWithNothingThereIsNotFound) {
    SimulatedInstrument sim({"--preset", "standard"}, kPort);
    ASSERT_TRUE(sim.Ready());
    SessionHarness harness;
    bool notFoundShown = false;
    QObject::connect(&harness.Session(), &instrument::DownloadSession::InstrumentNotFound,
                     [&] { notFoundShown = true; });
    EXPECT_EQ(harness.Identify(kPort, 7), IdentifyOutcome::NotFound);
    EXPECT_TRUE(notFoundShown);
    EXPECT_FALSE(harness.Session().IsIdentified());
    EXPECT_FALSE(harness.Session().IsBusy());
    EXPECT_EQ(harness.Session().Progress().value, harness.Session().Progress().maximum);
    EXPECT_TRUE(harness.prompts.messages.empty());
}

TEST(Identification, PortThatDoesNotOpenIsNotFound) {
    SessionHarness harness;
    tolvex::SetPortDevice(kPort, "/nonexistent/ttyNONE");
    EXPECT_EQ(harness.Identify(kPort, 1), IdentifyOutcome::NotFound);
}

TEST(Identification, ChoicesOutOfRangeAreRefusedWithTheirMessage) {
    SessionHarness harness;
    EXPECT_EQ(harness.Identify(33, 1), IdentifyOutcome::Refused);
    EXPECT_EQ(harness.Identify(1, 100), IdentifyOutcome::Refused);
    EXPECT_FALSE(harness.Session().StartIdentification(std::nullopt, 1));
    EXPECT_FALSE(harness.Session().StartIdentification(1, std::nullopt));
    ASSERT_EQ(harness.prompts.messages.size(), 4U);
    EXPECT_EQ(harness.prompts.messages[0].title, "Configuration Error");
    EXPECT_EQ(harness.prompts.messages[0].text, "Your connection settings are invalid!");
    EXPECT_EQ(harness.prompts.messages[2].text, "You must select a COM port!");
    EXPECT_EQ(harness.prompts.messages[3].text, "You must select a communications address!");
}

TEST(Identification, RecordCountAboveThirtyTwoThousandIsUnsigned) {
    ScenarioFile scenario(R"({"preset": "empty", "generate": {"count": 40000}})");
    SimulatedInstrument sim({"--scenario", scenario.Path()}, kPort);
    ASSERT_TRUE(sim.Ready());
    SessionHarness harness;
    ASSERT_EQ(harness.Identify(kPort, 1), IdentifyOutcome::Identified);
    EXPECT_EQ(harness.Session().Identity().recordCount, 40000);
}

TEST(Identification, CancelDuringIdentificationActsAtTheNextCompletionWithoutAQuestion) {
    SimulatedInstrument sim({"--preset", "standard"}, kPort);
    ASSERT_TRUE(sim.Ready());
    SessionHarness harness;
    QObject::connect(&harness.Session(), &instrument::DownloadSession::ConnectProgressChanged,
                     [&] { harness.Session().PressButton(instrument::WizardButton::Cancel); });
    ASSERT_TRUE(harness.Session().StartIdentification(kPort, 1));
    EnsureApplication();
    while (harness.carriedOut.empty()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_EQ(harness.carriedOut.front(), instrument::WizardButton::Cancel);
    EXPECT_FALSE(harness.Session().IsBusy());
    EXPECT_TRUE(harness.prompts.questions.empty());
}

} // namespace
} // namespace kestrix::test
