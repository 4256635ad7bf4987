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

bool ConsolePrompts::AskYesNo(const std::string& title, const std::string& text) {
    ReportNote(title + ": " + ConsoleLines(text) + " (answered No)");
    return false;
}

void ConsolePrompts::Inform(MessageIcon, const std::string& title, const std::string& text) {
    ReportNote(title + ": " + ConsoleLines(text));
}

} // namespace kestrix::cli
