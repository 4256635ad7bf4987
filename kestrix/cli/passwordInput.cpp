#include "kestrix/cli/passwordInput.h"

#include "kestrix/archive/sessionPassword.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace kestrix::cli {

namespace {

// One line up to its end; the line ending is not part of the password.
bool ReadLine(int descriptor, std::string& line) {
    char c = 0;
    ssize_t got = 0;
    while ((got = ::read(descriptor, &c, 1)) == 1 && c != '\n') {
        line += c;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return got >= 0 && (got == 1 || !line.empty());
}

std::optional<std::string> ReadFromTerminal(const std::string& prompt, std::string& problem) {
    const int terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios shown{};
    if (terminal < 0 || ::tcgetattr(terminal, &shown) != 0) {
        if (terminal >= 0) {
            ::close(terminal);
        }
        problem = "there is no terminal to ask for the password on: give it on standard input "
                  "with --password-stdin";
        return std::nullopt;
    }
    termios hidden = shown;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(terminal, TCSAFLUSH, &hidden);
    const std::string asked = prompt + ": ";
    const bool written = ::write(terminal, asked.data(), asked.size()) >= 0;
    std::string password;
    const bool read = written && ReadLine(terminal, password);
    ::tcsetattr(terminal, TCSAFLUSH, &shown);
    static_cast<void>(::write(terminal, "\n", 1));
    ::close(terminal);
    if (!read) {
        problem = "no password was entered";
        return std::nullopt;
    }
    return password;
}

} // namespace

std::optional<std::string> ReadPassword(bool fromStdin, const std::string& prompt,
                                        std::string& problem) {
    if (!fromStdin) {
        return ReadFromTerminal(prompt, problem);
    }
    std::string password;
    if (!ReadLine(STDIN_FILENO, password)) {
        problem = "standard input gave no password";
        return std::nullopt;
    }
    return password;
}

void AskArchivePasswordsOnTheTerminal() {
    archive::SetSessionPasswordPrompt([](const std::string& place, bool refused) {
        const std::string prompt = "Password for the archive " + place;
        std::string problem;
        return ReadPassword(false, refused ? "The server refused it. " + prompt : prompt, problem);
    });
}

} // namespace kestrix::cli
