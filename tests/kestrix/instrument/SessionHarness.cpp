#include "SessionHarness.h"

#include "tolvex/PortTable.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace kestrix::test {

namespace {

// A guard against a session that never ends, not a measure of speed.
constexpr int kHangGuardMs = 120000;

void RunUntil(const std::function<bool()>& condition) {
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(kHangGuardMs);
    while (!condition() && guard.isActive()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!condition()) {
        throw std::runtime_error("the session never ended");
    }
}

template <typename Result>
Result RunUntil(std::optional<Result>& result) {
    RunUntil([&] { return result.has_value(); });
    return *result;
}

} // namespace

void RecordingPrompts::Attach(instrument::DownloadSession& session) {
    QObject::connect(
        &session, &instrument::DownloadSession::NoticeShown,
        [this](instrument::MessageIcon icon, const std::string& title, const std::string& text) {
            messages.push_back({icon, title, text});
        });
    QObject::connect(&session, &instrument::DownloadSession::QuestionAsked,
                     [this, &session](const std::string& title, const std::string& text) {
                         questions.push_back({instrument::MessageIcon::Information, title, text});
                         if (leaveQuestionsOpen) {
                             return;
                         }
                         const bool answer = !answers.empty() && answers.front();
                         if (!answers.empty()) {
                             answers.pop_front();
                         }
                         QTimer::singleShot(0, &session,
                                            [&session, answer] { session.AnswerQuestion(answer); });
                     });
}

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "kestrix_instrument_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        new QCoreApplication(argc, argv);
    }
}

ScenarioFile::ScenarioFile(const std::string& json) {
    char pattern[] = "/tmp/kestrix_scenario_XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0) {
        throw std::runtime_error("cannot make a scenario file");
    }
    ::close(fd);
    path_ = pattern;
    std::ofstream(path_) << json;
}

ScenarioFile::~ScenarioFile() {
    ::unlink(path_.c_str());
}

SimulatedInstrument::SimulatedInstrument(const std::vector<std::string>& arguments, int port)
    : process_(arguments), ready_(process_.WaitReady()) {
    tolvex::SetPortDevice(port, process_.Link());
}

SessionHarness::SessionHarness() {
    EnsureApplication();
    session_ = std::make_unique<instrument::DownloadSession>();
    prompts.Attach(*session_);
    QObject::connect(session_.get(), &instrument::DownloadSession::FastCommandSent,
                     [this](const std::string& command) { fastCommands.push_back(command); });
    QObject::connect(session_.get(), &instrument::DownloadSession::ButtonCarriedOut,
                     [this](instrument::WizardButton button) { carriedOut.push_back(button); });
    QObject::connect(session_.get(), &instrument::DownloadSession::DownloadProgressChanged, [this] {
        if (pressAtRecord_ && session_->RecordsDone() > 0) {
            session_->PressButton(*pressAtRecord_);
            pressAtRecord_.reset();
        }
    });
}

SessionHarness::~SessionHarness() {
    session_->CloseConnections();
}

void SessionHarness::WaitFor(const std::function<bool()>& condition) {
    RunUntil(condition);
}

void SessionHarness::RunFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

IdentifyOutcome SessionHarness::Identify(int port, int address) {
    std::optional<IdentifyOutcome> outcome;
    instrument::DownloadSession* session = session_.get();
    QObject context;
    QObject::connect(session, &instrument::DownloadSession::IdentityShown, &context,
                     [&] { outcome = IdentifyOutcome::Identified; });
    QObject::connect(session, &instrument::DownloadSession::InstrumentNotFound, &context,
                     [&] { outcome = IdentifyOutcome::NotFound; });
    QObject::connect(session, &instrument::DownloadSession::CommunicationLost, &context,
                     [&] { outcome = IdentifyOutcome::Lost; });
    if (!session->StartIdentification(port, address)) {
        return IdentifyOutcome::Refused;
    }
    return RunUntil(outcome);
}

instrument::DownloadOutcome SessionHarness::Download() {
    std::optional<instrument::DownloadOutcome> outcome;
    QObject context;
    QObject::connect(session_.get(), &instrument::DownloadSession::DownloadEnded, &context,
                     [&](instrument::DownloadOutcome ended) { outcome = ended; });
    session_->StartDownload();
    return RunUntil(outcome);
}

} // namespace kestrix::test
