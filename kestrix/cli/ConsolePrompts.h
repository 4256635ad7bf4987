#pragma once

// The session's message boxes on stderr. Nobody is there to answer a question: it is answered
// No at once, through the same call a window makes.

#include "kestrix/instrument/DensitySession.h"
#include "kestrix/instrument/DownloadSession.h"
#include "kestrix/instrument/UploadSession.h"

namespace kestrix::cli {

void AnswerOnConsole(DownloadSession& session);
void AnswerOnConsole(DensitySession& session);
void AnswerOnConsole(UploadSession& session);

// The text with its CR LF line breaks as plain new lines.
std::string ConsoleLines(const std::string& text);

} // namespace kestrix::cli
