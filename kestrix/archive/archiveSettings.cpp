#include "kestrix/archive/archiveSettings.h"

#include "kestrix/archive/archiveMove.h"
#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/folders.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <optional>
#include <utility>

namespace kestrix::archive {

namespace {

constexpr const char* kSection = "archive";
constexpr std::size_t kUrlMaxLength = 1024;
constexpr std::size_t kPathMaxLength = 4096;
constexpr std::size_t kFlagMaxLength = 16;

std::optional<bool> ParseFlag(const std::string& text) {
    static constexpr std::array<std::pair<const char*, bool>, 8> kSpellings = {{{"1", true},
                                                                                {"0", false},
                                                                                {"true", true},
                                                                                {"false", false},
                                                                                {"yes", true},
                                                                                {"no", false},
                                                                                {"on", true},
                                                                                {"off", false}}};
    const QString value = QString::fromStdString(text).trimmed().toLower();
    for (const auto& [spelling, flag] : kSpellings) {
        if (value == QLatin1String(spelling)) {
            return flag;
        }
    }
    return std::nullopt;
}

// Whole seconds up to a day: the wait is passed on in milliseconds as an int.
std::optional<int> ParseLockTimeout(const std::string& text) {
    bool ok = false;
    const int seconds = QString::fromStdString(text).trimmed().toInt(&ok);
    if (!ok || seconds < 0 || seconds > kMaxLockTimeoutSeconds) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace

ArchiveSettings ReadArchiveSettings(const std::string& configPath) {
    IniFile file(configPath);
    file.Load();
    ArchiveSettings settings;
    const std::string enabled = file.GetString(kSection, "enabled", "1", kFlagMaxLength);
    if (const std::optional<bool> flag = ParseFlag(enabled)) {
        settings.enabled = *flag;
    } else {
        settings.enabled = false;
        settings.problem =
            "[archive] enabled=" + enabled + " is none of 1/0, true/false, yes/no, on/off";
    }
    const std::string timeout = file.GetString(
        kSection, "lock_timeout", std::to_string(kDefaultLockTimeoutSeconds), kFlagMaxLength);
    if (const std::optional<int> seconds = ParseLockTimeout(timeout)) {
        settings.lockTimeoutSeconds = *seconds;
    } else if (settings.problem.empty()) {
        settings.problem = "[archive] lock_timeout=" + timeout +
                           " is not a number of seconds from 0 to " +
                           std::to_string(kMaxLockTimeoutSeconds);
    }
    settings.url = file.GetString(kSection, "url", "", kUrlMaxLength);
    // A relative path is taken from the configuration's folder.
    const QFileInfo config(QString::fromStdString(configPath));
    const QDir folder(configPath.empty() ? QString::fromStdString(shell::GetDataFolder())
                                         : config.absolutePath());
    const std::string path = file.GetString(kSection, "path", "", kPathMaxLength);
    settings.defaultFile = path.empty();
    settings.sqlitePath = path.empty()
                              ? DefaultArchivePath(configPath)
                              : folder.absoluteFilePath(QString::fromStdString(path)).toStdString();
    return settings;
}

std::string ArchivePlace(const ArchiveSettings& settings) {
    if (!settings.enabled) {
        return "switched off";
    }
    return settings.url.empty() ? settings.sqlitePath : UrlWithoutPassword(settings.url);
}

std::string UrlWithoutPassword(const std::string& url) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t at = url.rfind('@');
    if (at == std::string::npos || at < start) {
        return url;
    }
    const std::size_t colon = url.find(':', start);
    if (colon == std::string::npos || colon > at) {
        return url;
    }
    return url.substr(0, colon + 1) + "***" + url.substr(at);
}

} // namespace kestrix::archive
