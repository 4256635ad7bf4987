#include "kestrix/cli/ConsolePrompts.h"

#include "kestrix/cli/cliMessages.h"

namespace kestrix::cli {

std::string ConsoleLines(const std::string& text) {
    std::string lines;
    for (const char c : text) {
        if (c != '\r') {
            lines.push_back(c);
        }
    }
    return lines;
}

void AnswerOnConsole(instrument::SessionCore& session) {
    QObject::connect(
        &session, &instrument::SessionCore::NoticeShown, &session,
        [](instrument::MessageIcon, const std::string& title, const std::string& text) {
            ReportNote(title + ": " + ConsoleLines(text));
        });
    QObject::connect(&session, &instrument::SessionCore::QuestionAsked, &session,
                     [&session](const std::string& title, const std::string& text) {
                         ReportNote(title + ": " + ConsoleLines(text) + " (answered No)");
                         session.AnswerQuestion(false);
                     });
}

} // namespace kestrix::cli
