#pragma once

// What the disc menu shows: up to six links read from the [Content] section of a Setup.ini.

#include <QString>
#include <array>

namespace setup {

struct SetupLink {
    QString text;     // empty: the link and its icon are hidden
    QString icon;     // icon file, resolved against the Setup.ini's folder
    QString file;     // program, document, folder or web address, resolved the same way
    QString fileArgs; // a program's arguments as one command line
};

inline constexpr int kLinkCount = 6;
using SetupLinks = std::array<SetupLink, kLinkCount>;

inline const QString kSetupFileName = QStringLiteral("Setup.ini");

// The Setup.ini of the current folder, else the one of the program's folder (a menu started
// from a file manager does not start in its disc's folder); empty when neither has one.
QString FindSetupFile(const QString& currentFolder, const QString& programFolder);

// Links 1..6 of the file; a missing file, section or key reads as empty. Each value is at most
// 255 characters; relative paths are taken relative to the file's own folder.
SetupLinks ReadSetupContent(const QString& iniPath);

// A value that names a web address or another scheme rather than a file.
bool IsUrl(const QString& value);

} // namespace setup
