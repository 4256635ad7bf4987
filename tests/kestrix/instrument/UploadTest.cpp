// The location-name upload against kestrix-sim: what reaches the instrument's name registers,
// read back from its state dump, and what stops an upload before anything is written.

#include "SessionHarness.h"
#include "kestrix/instrument/UploadSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kestrix::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr int kPort = 8;

std::vector<std::string> MyNames(std::vector<std::string> firstNames) {
    firstNames.resize(1000);
    return firstNames;
}

std::vector<std::string> InstrumentNames(sim::test::SimProcess& process) {
    process.Stop();
    return nlohmann::json::parse(process.StateText())["location_names"]
        .get<std::vector<std::string>>();
}

class Upload : public ::testing::Test {
protected:
    Upload() {
        EnsureApplication();
        QObject::connect(&session_, &instrument::UploadSession::NoticeShown,
                         [this](instrument::MessageIcon, const std::string& title,
                                const std::string&) { notices_.push_back(title); });
        QObject::connect(&session_, &instrument::UploadSession::QuestionAsked,
                         [this](const std::string& title, const std::string&) {
                             questions_.push_back(title);
                             const bool answer = !answers_.empty() && answers_.front();
                             if (!answers_.empty()) {
                                 answers_.pop_front();
                             }
                             QTimer::singleShot(
                                 0, &session_, [this, answer] { session_.AnswerQuestion(answer); });
                         });
        QObject::connect(
            &session_, &instrument::UploadSession::ButtonCarriedOut,
            [this](instrument::WizardButton button) { carriedOut_.push_back(button); });
    }
    ~Upload() override { session_.CloseConnections(); }

    void Connect(const std::vector<std::string>& arguments) {
        sim_ = std::make_unique<SimulatedInstrument>(arguments, kPort);
        ASSERT_TRUE(sim_->Ready());
        std::optional<int> count;
        QObject context;
        QObject::connect(&session_, &instrument::UploadSession::NameCountShown, &context,
                         [&count](int shown, bool) { count = shown; });
        ASSERT_TRUE(session_.StartIdentification(kPort, 1));
        harness_.WaitFor([&] { return count.has_value(); });
    }

    instrument::UploadOutcome Run(const std::vector<std::string>& names) {
        std::optional<instrument::UploadOutcome> outcome;
        QObject context;
        QObject::connect(&session_, &instrument::UploadSession::UploadEnded, &context,
                         [&](instrument::UploadOutcome ended) { outcome = ended; });
        session_.StartUpload(names);
        harness_.WaitFor([&] { return outcome.has_value(); });
        return *outcome;
    }

    std::vector<std::string> Names() { return InstrumentNames(sim_->Process()); }

    SessionHarness harness_;
    instrument::UploadSession session_;
    std::unique_ptr<SimulatedInstrument> sim_;
    std::vector<std::string> notices_;
    std::vector<std::string> questions_;
    std::deque<bool> answers_;
    std::vector<instrument::WizardButton> carriedOut_;
};

const std::vector<std::string> kThreeNames = {"HOME", "LOBBY", "LAB_2", "ROOM_3", "UNUSED"};

TEST_F(Upload, WritesTheFirstCountNamesSpaceFilled) {
    ScenarioFile scenario(R"({"preset": "standard", "location_names": ["A", "B", "C"]})");
    Connect({"--scenario", scenario.Path()});
    ASSERT_EQ(session_.NameCount(), 3);
    EXPECT_EQ(Run(MyNames(kThreeNames)), instrument::UploadOutcome::Finished);
    EXPECT_EQ(session_.View().progressText, "3/3");
    EXPECT_TRUE(session_.View().doneShown);
    EXPECT_THAT(Names(), ElementsAre("LOBBY   ", "LAB_2   ", "ROOM_3  "));
    EXPECT_TRUE(notices_.empty());
}

// The simulator reads the names back in its own byte order: they only come out right when the
// session wrote them in the order that model expects.
TEST_F(Upload, EachModelGetsItsByteOrder) {
    const struct {
        const char* preset;
        bool highFirst;
    } cases[] = {{"standard", true}, {"swapped-names", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        Connect({"--preset", c.preset});
        EXPECT_EQ(session_.IsHighFirst(), c.highFirst);
        std::vector<std::string> names = {"HOME", "LOBBY", "LAB"};
        for (int i = 3; i <= session_.NameCount(); ++i) {
            names.push_back("N" + std::to_string(i));
        }
        ASSERT_EQ(Run(MyNames(names)), instrument::UploadOutcome::Finished);
        const std::vector<std::string> written = Names();
        ASSERT_GE(written.size(), 2U);
        EXPECT_EQ(written[0], "LOBBY   ");
        EXPECT_EQ(written[1], "LAB     ");
    }
}

TEST_F(Upload, ABadNameStopsBeforeAnyWrite) {
    const struct {
        std::vector<std::string> names;
        instrument::UploadOutcome outcome;
        const char* title;
    } cases[] = {
        {{"home", "A", "B", "C", "D", "E"},
         instrument::UploadOutcome::InvalidName,
         "Invalid Location Name Found"},
        {{"HOME", "A", "B", "C", "D", "lab"},
         instrument::UploadOutcome::InvalidName,
         "Invalid Location Name Found"},
        {{"A", "B", "C", "D", "E", "A"},
         instrument::UploadOutcome::RepeatedName,
         "Repeated Location Names"},
    };
    for (const auto& c : cases) {
        notices_.clear();
        Connect({"--preset", "standard"});
        EXPECT_EQ(Run(MyNames(c.names)), c.outcome);
        EXPECT_THAT(notices_, ElementsAre(c.title));
        EXPECT_THAT(Names(), ElementsAre("LOBBY", "CLEAN_1", "CLEAN_2", "GOWNING", "STORE"));
    }
}

TEST_F(Upload, ABusyInstrumentIsMadeIdleFirst) {
    Connect({"--preset", "busy"});
    EXPECT_EQ(Run(MyNames({"HOME", "A", "B", "C", "D", "E"})), instrument::UploadOutcome::Finished);
    sim_->Process().Stop();
    const auto state = nlohmann::json::parse(sim_->Process().StateText());
    EXPECT_FALSE(state["busy"].get<bool>());
    EXPECT_EQ(state["location_names"][4], "E       ");
}

// A write without a good reply (the control's timeout ends it before the watchdog would) asks,
// and Yes writes it again.
TEST_F(Upload, LineFaultsLoseNoName) {
    const struct { const char* option; } cases[] = {{"--drop-every"}, {"--corrupt-every"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        questions_.clear();
        answers_ = {true, true, true, true};
        ScenarioFile scenario(R"({"preset": "standard", "location_names": ["A", "B", "C"]})");
        Connect({"--scenario", scenario.Path(), c.option, "7"});
        EXPECT_EQ(Run(MyNames(kThreeNames)), instrument::UploadOutcome::Finished);
        EXPECT_THAT(questions_, Contains("Cannot Upload Location Names"));
        EXPECT_THAT(Names(), ElementsAre("LOBBY   ", "LAB_2   ", "ROOM_3  "));
    }
}

TEST_F(Upload, AnotherInstrumentSwappedInIsRefused) {
    Connect({"--preset", "standard"});
    SimulatedInstrument other({"--preset", "names-200"}, kPort);
    ASSERT_TRUE(other.Ready());
    ASSERT_TRUE(session_.SetConnection(kPort, 1));
    EXPECT_EQ(Run(MyNames({"HOME", "A", "B", "C", "D", "E"})),
              instrument::UploadOutcome::NotSameInstrument);
    EXPECT_THAT(notices_, ElementsAre("Warning"));
    EXPECT_EQ(InstrumentNames(other.Process())[0], "ROOM_001");
}

TEST_F(Upload, InstrumentsWithoutNamesCannotBeUploadedTo) {
    Connect({"--preset", "legacy-137"});
    EXPECT_FALSE(session_.CanUpload());
}

TEST_F(Upload, CancelDuringTheWritesAsksAndNoLetsItFinish) {
    Connect({"--preset", "standard"});
    answers_ = {false};
    QObject context;
    QObject::connect(&session_, &instrument::UploadSession::UploadProgressChanged, &context,
                     [this](const instrument::UploadView& view) {
                         if (view.value == 1 && questions_.empty()) {
                             session_.PressButton(instrument::WizardButton::Cancel);
                         }
                     });
    EXPECT_EQ(Run(MyNames({"HOME", "A", "B", "C", "D", "E"})), instrument::UploadOutcome::Finished);
    EXPECT_THAT(questions_, ElementsAre("Question"));
    EXPECT_TRUE(carriedOut_.empty());
}

// The retry question is not about a press: a press while it is open is dropped, not kept for
// the write that follows.
TEST_F(Upload, APressWhileTheRetryQuestionIsOpenIsDropped) {
    ScenarioFile scenario(R"({"preset": "standard", "location_names": ["A", "B", "C"]})");
    Connect({"--scenario", scenario.Path(), "--drop-every", "7"});
    answers_ = {true, true, true, true};
    QObject context;
    QObject::connect(&session_, &instrument::UploadSession::QuestionAsked, &context,
                     [this] { session_.PressButton(instrument::WizardButton::Cancel); });
    EXPECT_EQ(Run(MyNames(kThreeNames)), instrument::UploadOutcome::Finished);
    EXPECT_THAT(questions_, Contains("Cannot Upload Location Names"));
    EXPECT_THAT(questions_, Not(Contains("Question")));
    EXPECT_TRUE(carriedOut_.empty());
}

} // namespace
} // namespace kestrix::test
