#pragma once

// How a session shows its message boxes: the wizard answers with real boxes, the command line
// and the tests with their own.

#include <string>

namespace kestrix {

enum class MessageIcon { Information, Warning, Error };

class SessionPrompts {
public:
    virtual ~SessionPrompts() = default;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
    virtual void Inform(MessageIcon icon, const std::string& title, const std::string& text) = 0;
};

} // namespace kestrix
