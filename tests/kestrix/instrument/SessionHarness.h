#pragma once

// Drives the sessions as a wizard would, against kestrix-sim on a pseudo-terminal: prompts that
// record every notice and answer questions from a script, from the event loop as a window's
// box would, and waits on the Qt event loop.

#include "SimProcess.h"
#include "kestrix/instrument/DownloadSession.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::test {

struct ShownMessage {
    instrument::MessageIcon icon;
    std::string title;
    std::string text;
};

class RecordingPrompts {
public:
    void Attach(instrument::DownloadSession& session);

    std::deque<bool> answers;        // a question without an answer left is answered No
    bool leaveQuestionsOpen = false; // the test answers with AnswerQuestion itself
    std::vector<ShownMessage> questions;
    std::vector<ShownMessage> messages;
};

enum class IdentifyOutcome { Identified, NotFound, Lost, Refused };

// A QCoreApplication for the whole test program.
void EnsureApplication();

// A scenario written to a temporary file for --scenario.
class ScenarioFile {
public:
    explicit ScenarioFile(const std::string& json);
    ~ScenarioFile();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// One simulated instrument bound to a port number.
class SimulatedInstrument {
public:
    SimulatedInstrument(const std::vector<std::string>& arguments, int port);
    bool Ready() const { return ready_; }
    sim::test::SimProcess& Process() { return process_; }

private:
    sim::test::SimProcess process_;
    bool ready_;
};

class SessionHarness {
public:
    SessionHarness();
    ~SessionHarness();

    IdentifyOutcome Identify(int port, int address);
    // Runs the event loop until the condition holds.
    static void WaitFor(const std::function<bool()>& condition);
    // Runs the event loop for a while, as a modal box would.
    static void RunFor(int milliseconds);
    instrument::DownloadOutcome Download();
    // A press of the button at the first progress of the record phase.
    void PressAtFirstRecord(instrument::WizardButton button) { pressAtRecord_ = button; }

    RecordingPrompts prompts;
    instrument::DownloadSession& Session() { return *session_; }
    std::vector<std::string> fastCommands;
    std::vector<instrument::WizardButton> carriedOut;

private:
    std::unique_ptr<instrument::DownloadSession> session_;
    std::optional<instrument::WizardButton> pressAtRecord_;
};

} // namespace kestrix::test
