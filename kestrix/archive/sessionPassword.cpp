#include "kestrix/archive/sessionPassword.h"

#include <map>
#include <mutex>

namespace kestrix::archive {

namespace {

struct SessionLogins {
    std::mutex mutex;
    PasswordPrompt prompt;
    std::map<std::string, std::string> passwords;
};

SessionLogins& Logins() {
    static SessionLogins logins;
    return logins;
}

} // namespace

void SetSessionPasswordPrompt(PasswordPrompt prompt) {
    const std::lock_guard lock(Logins().mutex);
    Logins().prompt = std::move(prompt);
}

std::optional<std::string> AskSessionPassword(const std::string& place, bool refused) {
    PasswordPrompt prompt;
    {
        const std::lock_guard lock(Logins().mutex);
        prompt = Logins().prompt;
    }
    // Asked without the lock: the user may take minutes, and other connections go on meanwhile.
    return prompt ? prompt(place, refused) : std::nullopt;
}

std::optional<std::string> SessionPassword(const std::string& place) {
    const std::lock_guard lock(Logins().mutex);
    const auto found = Logins().passwords.find(place);
    return found == Logins().passwords.end() ? std::nullopt : std::optional(found->second);
}

void KeepSessionPassword(const std::string& place, const std::string& password) {
    const std::lock_guard lock(Logins().mutex);
    Logins().passwords[place] = password;
}

void ForgetSessionPassword(const std::string& place) {
    const std::lock_guard lock(Logins().mutex);
    Logins().passwords.erase(place);
}

} // namespace kestrix::archive
