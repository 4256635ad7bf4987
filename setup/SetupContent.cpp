#include "setup/SetupContent.h"

#include "kestrix/ini/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace setup {
namespace {

constexpr std::string_view kSection = "Content";
constexpr std::size_t kValueBuffer = 256;

QString ReadValue(const kestrix::IniFile& ini, int link, const char* field) {
    const std::string key = "Link" + std::to_string(link) + field;
    return QString::fromStdString(ini.GetString(kSection, key, "", kValueBuffer));
}

QString ResolvePath(const QDir& folder, const QString& value) {
    if (value.isEmpty() || IsUrl(value)) {
        return value;
    }
    return QDir::cleanPath(folder.absoluteFilePath(value));
}

} // namespace

QString FindSetupFile(const QString& currentFolder, const QString& programFolder) {
    for (const QString& folder : {currentFolder, programFolder}) {
        const QFileInfo candidate(QDir(folder), kSetupFileName);
        if (candidate.isFile()) {
            return candidate.absoluteFilePath();
        }
    }
    return {};
}

SetupLinks ReadSetupContent(const QString& iniPath) {
    SetupLinks links;
    if (iniPath.isEmpty()) {
        return links;
    }
    kestrix::IniFile ini(iniPath.toStdString());
    ini.Load();
    const QDir folder = QFileInfo(iniPath).absoluteDir();
    for (int n = 1; n <= kLinkCount; ++n) {
        SetupLink& link = links[static_cast<std::size_t>(n - 1)];
        link.text = ReadValue(ini, n, "Text");
        link.icon = ResolvePath(folder, ReadValue(ini, n, "Icon"));
        link.file = ResolvePath(folder, ReadValue(ini, n, "File"));
        link.fileArgs = ReadValue(ini, n, "FileArgs");
    }
    return links;
}

bool IsUrl(const QString& value) {
    return value.contains(QLatin1String("://")) || value.startsWith(QLatin1String("mailto:"));
}

} // namespace setup
