#include "kestrix/archive/archiveSettings.h"

#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/folders.h"

#include <QFileInfo>
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
    // Beside the configuration, which is the data folder unless another file was named: a
    // second configuration (a test, another site) gets an archive of its own.
    const QFileInfo config(QString::fromStdString(configPath));
    const QString folder =
        configPath.empty() ? QString::fromStdString(shell::GetDataFolder()) : config.absolutePath();
    settings.sqlitePath = (folder + "/" + kArchiveFileName).toStdString();
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
