#pragma once

// The sessions' message boxes on stderr. Nobody is there to answer a question: it is answered No.

#include "kestrix/instrument/SessionPrompts.h"

namespace kestrix::cli {

class ConsolePrompts : public SessionPrompts {
public:
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void Inform(MessageIcon icon, const std::string& title, const std::string& text) override;
};

// The text with its CR LF line breaks as plain new lines.
std::string ConsoleLines(const std::string& text);

} // namespace kestrix::cli
