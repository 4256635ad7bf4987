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

namespace {

template <typename Session>
void ReportNotices(Session& session) {
    QObject::connect(&session, &Session::NoticeShown, &session,
                     [](MessageIcon, const std::string& title, const std::string& text) {
                         ReportNote(title + ": " + ConsoleLines(text));
                     });
}

template <typename Session>
void AnswerNo(Session& session) {
    ReportNotices(session);
    QObject::connect(&session, &Session::QuestionAsked, &session,
                     [&session](const std::string& title, const std::string& text) {
                         ReportNote(title + ": " + ConsoleLines(text) + " (answered No)");
                         session.AnswerQuestion(false);
                     });
}

} // namespace

void AnswerOnConsole(DownloadSession& session) {
    AnswerNo(session);
}

void AnswerOnConsole(UploadSession& session) {
    AnswerNo(session);
}

void AnswerOnConsole(DensitySession& session) {
    ReportNotices(session);
}

} // namespace kestrix::cli
