#include "kestrix/shell/folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

namespace kestrix::shell {
namespace {

constexpr std::string_view kDocumentsKey = "XDG_DOCUMENTS_DIR=";
constexpr std::string_view kHomeVariable = "$HOME";
constexpr const char* kProgramSubfolder = "/Orvenda/Kestrix";

std::string WithoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// Relative values are ignored, as the XDG rules ask.
std::optional<std::string> AbsolutePathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return WithoutTrailingSlashes(value);
}

// An XDG base folder: the variable when it holds an absolute path, else the default below home.
// Hand-written because QStandardPaths (Qt 6.4) takes a relative value and, without HOME, "/".
std::optional<std::string> XdgHome(const char* variable, std::string_view homeDefault) {
    if (auto folder = AbsolutePathFromEnvironment(variable)) {
        return folder;
    }
    if (auto home = AbsolutePathFromEnvironment("HOME")) {
        return *home + std::string(homeDefault);
    }
    return std::nullopt;
}

std::optional<std::string> ConfigHome() {
    return XdgHome("XDG_CONFIG_HOME", "/.config");
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string_view Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// A value of user-dirs.dirs: "$HOME/..." or an absolute path.
std::optional<std::string> ExpandUserDirsValue(std::string_view value) {
    const bool startsWithHome =
        value.starts_with(kHomeVariable) &&
        (value.size() == kHomeVariable.size() || value[kHomeVariable.size()] == '/');
    if (startsWithHome) {
        const auto home = AbsolutePathFromEnvironment("HOME");
        if (!home) {
            return std::nullopt;
        }
        return WithoutTrailingSlashes(*home + std::string(value.substr(kHomeVariable.size())));
    }
    if (value.starts_with('/')) {
        return WithoutTrailingSlashes(std::string(value));
    }
    return std::nullopt;
}

// The file is shell syntax, so a later assignment overrides an earlier one.
std::optional<std::string> DocumentsFromUserDirsFile() {
    const auto configHome = ConfigHome();
    if (!configHome) {
        return std::nullopt;
    }
    std::ifstream file(*configHome + "/user-dirs.dirs");
    std::optional<std::string> documents;
    for (std::string line; std::getline(file, line);) {
        const std::string_view entry = Trimmed(line);
        if (entry.starts_with(kDocumentsKey)) {
            if (auto expanded = ExpandUserDirsValue(Unquoted(entry.substr(kDocumentsKey.size())))) {
                documents = std::move(expanded);
            }
        }
    }
    return documents;
}

std::optional<std::string> DocumentsHome() {
    if (auto documents = AbsolutePathFromEnvironment("XDG_DOCUMENTS_DIR")) {
        return documents;
    }
    if (auto documents = DocumentsFromUserDirsFile()) {
        return documents;
    }
    if (auto home = AbsolutePathFromEnvironment("HOME")) {
        return *home + "/Documents";
    }
    return std::nullopt;
}

} // namespace

std::string GetProgramFolder() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        const auto current = std::filesystem::current_path(error);
        return error ? "." : WithoutTrailingSlashes(current.string());
    }
    return WithoutTrailingSlashes(executable.parent_path().string());
}

std::string GetDataFolder() {
    const auto configHome = ConfigHome();
    return configHome ? *configHome + kProgramSubfolder : GetProgramFolder();
}

std::string GetArchiveFolder() {
    const auto dataHome = XdgHome("XDG_DATA_HOME", "/.local/share");
    return dataHome ? *dataHome + kProgramSubfolder : GetProgramFolder();
}

std::string GetDocumentsFolder() {
    const auto documents = DocumentsHome();
    return documents ? *documents + "/Kestrix" : GetProgramFolder();
}

std::string GetDownloadsFolder() {
    return GetDocumentsFolder() + "/Downloads";
}

std::string GetLocationsFolder() {
    return GetDocumentsFolder() + "/Locations";
}

} // namespace kestrix::shell
