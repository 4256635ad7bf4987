// The density session against kestrix-sim on a pseudo-terminal: register 43 read whatever the
// map version, the write, what is refused before anything is written, presses during the write,
// another instrument and a silent line.

#include "SessionHarness.h"
#include "kestrix/instrument/DensitySession.h"
#include "kestrix/instrument/sessionTexts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::test {
namespace {

using ::testing::HasSubstr;

constexpr int kPort = 9;

std::string IaqScenario(int densityX1000, int mapVersion = 145) {
    return R"({"preset": "iaq-fast", "identity": {"density_x1000": )" +
           std::to_string(densityX1000) + R"(, "map_version": )" + std::to_string(mapVersion) +
           "}}";
}

class Density : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        session_ = std::make_unique<instrument::DensitySession>();
        QObject::connect(session_.get(), &instrument::DensitySession::NoticeShown,
                         [this](instrument::MessageIcon icon, const std::string& title,
                                const std::string& text) {
                             notices_.push_back({icon, title, text});
                         });
        QObject::connect(
            session_.get(), &instrument::DensitySession::ButtonCarriedOut,
            [this](instrument::WizardButton button) { carriedOut_.push_back(button); });
        QObject::connect(session_.get(), &instrument::DensitySession::IdentityShown,
                         [this] { identified_ = true; });
        QObject::connect(session_.get(), &instrument::DensitySession::WriteEnded,
                         [this](instrument::DensityOutcome outcome) { outcome_ = outcome; });
    }
    void TearDown() override { session_->CloseConnections(); }

    void Start(const std::string& json) {
        scenario_ = std::make_unique<ScenarioFile>(json);
        sim_ = std::make_unique<SimulatedInstrument>(
            std::vector<std::string>{"--scenario", scenario_->Path()}, kPort);
        ASSERT_TRUE(sim_->Ready());
        Identify();
    }
    void Identify() {
        identified_ = false;
        ASSERT_TRUE(session_->StartIdentification(kPort, 1));
        SessionHarness::WaitFor([this] { return identified_; });
    }
    instrument::DensityOutcome Write(double density) {
        outcome_.reset();
        EXPECT_TRUE(session_->StartWrite(density));
        SessionHarness::WaitFor([this] { return outcome_.has_value(); });
        return *outcome_;
    }
    // What the simulator keeps, as it says when it stops.
    std::string StoppedState() {
        sim_->Process().Stop();
        return sim_->Process().StateText();
    }

    std::unique_ptr<instrument::DensitySession> session_;
    std::unique_ptr<ScenarioFile> scenario_;
    std::unique_ptr<SimulatedInstrument> sim_;
    std::vector<ShownMessage> notices_;
    std::vector<instrument::WizardButton> carriedOut_;
    std::optional<instrument::DensityOutcome> outcome_;
    bool identified_ = false;
};

TEST_F(Density, Register43IsReadWhateverTheMapVersion) {
    for (const int mapVersion : {137, 145}) {
        Start(IaqScenario(2500, mapVersion));
        EXPECT_EQ(session_->DensityRegister(), 2500) << mapVersion;
        EXPECT_TRUE(session_->IsIaq());
    }
}

TEST_F(Density, WritesTheDensityTimesAThousandAndReadsItBack) {
    Start(IaqScenario(2500));
    for (const auto& [density, thousandths] :
         {std::pair{1.2, 1200}, {0.001, 1}, {65.535, 65535}, {9.999, 9999}}) {
        ASSERT_EQ(Write(density), instrument::DensityOutcome::Written) << density;
        identified_ = false;
        session_->ReadIdentityAgain();
        SessionHarness::WaitFor([this] { return identified_; });
        EXPECT_EQ(session_->DensityRegister(), thousandths) << density;
    }
    EXPECT_TRUE(notices_.empty());
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 9999"));
}

TEST_F(Density, RefusalsComeBeforeAnythingIsWritten) {
    Start(IaqScenario(2500));
    const struct {
        double density;
        const char* text;
    } refused[] = {{0.0005, "cannot be zero"}, {0.0, "cannot be zero"}, {65.536, "65.535"}};
    for (const auto& c : refused) {
        notices_.clear();
        EXPECT_FALSE(session_->StartWrite(c.density));
        EXPECT_FALSE(session_->IsBusy());
        ASSERT_EQ(notices_.size(), 1U);
        EXPECT_EQ(notices_[0].title, "Configuration Error");
        EXPECT_THAT(notices_[0].text, HasSubstr(c.text));
    }
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 2500"));
}

TEST_F(Density, AnInstrumentThatIsNotIaqCannotBeWritten) {
    Start(
        R"({"preset": "standard", "identity": {"model_name": "Dastel 9304", "density_x1000": 700}})");
    EXPECT_FALSE(session_->IsIaq());
    EXPECT_FALSE(session_->StartWrite(1.2));
    ASSERT_EQ(notices_.size(), 1U);
    EXPECT_THAT(notices_[0].text, HasSubstr("This is not an IAQ instrument."));
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 700"));
}

TEST_F(Density, PressesDuringTheWriteAreDroppedAndTheWriteCompletes) {
    Start(IaqScenario(2500));
    outcome_.reset();
    ASSERT_TRUE(session_->StartWrite(1.5));
    session_->PressButton(instrument::WizardButton::Cancel);
    SessionHarness::WaitFor([this] { return outcome_.has_value(); });
    EXPECT_EQ(*outcome_, instrument::DensityOutcome::Written);
    EXPECT_TRUE(carriedOut_.empty());
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 1500"));
}

TEST_F(Density, AnotherInstrumentAttachedBeforeTheWriteIsRefused) {
    Start(IaqScenario(2500));
    ScenarioFile otherScenario(
        R"({"preset": "iaq-fast", "identity": {"serial": 4711, "density_x1000": 800}})");
    SimulatedInstrument other({"--scenario", otherScenario.Path()}, kPort);
    ASSERT_TRUE(other.Ready());
    ASSERT_TRUE(session_->SetConnection(kPort, 1));
    EXPECT_EQ(Write(1.2), instrument::DensityOutcome::NotSameInstrument);
    ASSERT_EQ(notices_.size(), 1U);
    EXPECT_EQ(notices_[0].title, "Warning");
    EXPECT_EQ(notices_[0].text, sessionTexts::NotSameInstrumentText());
    other.Process().Stop();
    EXPECT_THAT(other.Process().StateText(), HasSubstr("\"density_x1000\": 800"));
}

TEST_F(Density, ASilentLineEndsInLostCommunication) {
    Start(IaqScenario(2500));
    bool lost = false;
    QObject::connect(session_.get(), &instrument::DensitySession::CommunicationLost,
                     [&] { lost = true; });
    sim_->Process().Stop();
    EXPECT_EQ(Write(1.2), instrument::DensityOutcome::LostCommunication);
    EXPECT_TRUE(lost);
    ASSERT_EQ(notices_.size(), 1U);
    EXPECT_EQ(notices_[0].text, sessionTexts::LostCommunicationText());
    EXPECT_FALSE(session_->IsBusy());
}

} // namespace
} // namespace kestrix::test
