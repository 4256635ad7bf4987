#include "kestrix/archive/archiveSettings.h"

#include "kestrix/shell/folders.h"
#include "kestrix/shell/iniFile.h"

#include <QUrl>

namespace kestrix::archive {

namespace {
constexpr const char* kSection = "archive";
constexpr std::size_t kUrlMaxLength = 1024;
} // namespace

ArchiveSettings ReadArchiveSettings(const std::string& configPath) {
    IniFile file(configPath);
    file.Load();
    ArchiveSettings settings;
    settings.enabled = file.GetInt(kSection, "enabled", 1) != 0;
    settings.url = file.GetString(kSection, "url", "", kUrlMaxLength);
    settings.sqlitePath = modUtils::GetDataFolder() + "/" + kArchiveFileName;
    return settings;
}

std::string ArchivePlace(const ArchiveSettings& settings) {
    if (!settings.enabled) {
        return "switched off";
    }
    if (settings.url.empty()) {
        return settings.sqlitePath;
    }
    return QUrl(QString::fromStdString(settings.url)).toString(QUrl::RemovePassword).toStdString();
}

} // namespace kestrix::archive
