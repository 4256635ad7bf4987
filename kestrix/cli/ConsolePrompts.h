#pragma once

// The session's message boxes on stderr. Nobody is there to answer a question: it is answered
// No at once, through the same call a window makes.

#include "kestrix/instrument/SessionCore.h"

namespace kestrix::cli {

void AnswerOnConsole(instrument::SessionCore& session);

// The text with its CR LF line breaks as plain new lines.
std::string ConsoleLines(const std::string& text);

} // namespace kestrix::cli
