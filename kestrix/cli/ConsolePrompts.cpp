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

void AnswerOnConsole(DownloadSession& session) {
    QObject::connect(&session, &DownloadSession::NoticeShown, &session,
                     [](MessageIcon, const std::string& title, const std::string& text) {
                         ReportNote(title + ": " + ConsoleLines(text));
                     });
    QObject::connect(&session, &DownloadSession::QuestionAsked, &session,
                     [&session](const std::string& title, const std::string& text) {
                         ReportNote(title + ": " + ConsoleLines(text) + " (answered No)");
                         session.AnswerQuestion(false);
                     });
}

} // namespace kestrix::cli
