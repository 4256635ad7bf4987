#include "kestrix/archive/archiveMove.h"

#include "kestrix/archive/archiveSettings.h"
#include "kestrix/base/atomicFile.h"
#include "kestrix/shell/folders.h"
#include "kestrix/shell/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace kestrix::archive {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunkBytes = 1 << 20;
constexpr const char* kInUse = "another program has it open";
const QString kSqliteBusy = QStringLiteral("5");
const QString kSqliteLocked = QStringLiteral("6");

std::string OlderArchivePath() {
    return shell::GetDataFolder() + "/" + kArchiveFileName;
}

std::string DataFolderArchivePath() {
    return shell::GetArchiveFolder() + "/" + kArchiveFileName;
}

bool IsDefaultConfig(const std::string& configPath) {
    return configPath.empty() ||
           QFileInfo(QString::fromStdString(configPath)).absoluteFilePath() ==
               QFileInfo(QString::fromStdString(startup::ConfigFilePath(""))).absoluteFilePath();
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

ArchiveMove NotMoved(const std::string& from, const std::string& why) {
    return {ArchiveMoveOutcome::kNotMoved,
            "the archive \"" + from + "\" stays where it is for now: " + why};
}

// The copy is flushed and in place before the original goes; an original that cannot be removed
// takes the copy back, so that one archive remains.
std::string CopyAcross(const std::string& from, const std::string& to) {
    std::ifstream source(from, std::ios::binary);
    base::PendingFile target{fs::path(to)};
    if (!target.IsOpen()) {
        return target.Error();
    }
    std::string chunk(kCopyChunkBytes, '\0');
    while (source) {
        source.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        if (!target.Write(
                std::string_view(chunk.data(), static_cast<std::size_t>(source.gcount())))) {
            return target.Error();
        }
    }
    if (!source.eof()) {
        return "cannot read it";
    }
    if (!target.Commit()) {
        return target.Error();
    }
    if (::unlink(from.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(to.c_str());
        return "cannot remove it after copying (" + why + ")";
    }
    base::SyncFolder(fs::path(from).parent_path());
    return {};
}

// Empty when the file moved.
std::string MoveFile(const std::string& from, const std::string& to) {
    std::error_code folderError;
    fs::create_directories(fs::path(to).parent_path(), folderError);
    if (folderError) {
        return "cannot create the data folder (" + folderError.message() + ")";
    }
    int result = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL) { // a file system without the flag; `to` was checked
        result = ::rename(from.c_str(), to.c_str());
    }
    if (result != 0) {
        return errno == EXDEV ? CopyAcross(from, to) : std::string(std::strerror(errno));
    }
    base::SyncFolder(fs::path(to).parent_path());
    base::SyncFolder(fs::path(from).parent_path());
    return {};
}

bool IsBusy(const QSqlError& error) {
    return error.nativeErrorCode() == kSqliteBusy || error.nativeErrorCode() == kSqliteLocked;
}

// Folds the write-ahead log into the file, which SQLite allows only while no other connection
// has it open, and keeps everybody out until the file has moved.
std::string MoveExclusively(QSqlDatabase& database, const std::string& from,
                            const std::string& to) {
    QSqlQuery query(database);
    const bool folded = query.exec("PRAGMA journal_mode=DELETE") && query.next() &&
                        query.value(0).toString().compare("delete", Qt::CaseInsensitive) == 0;
    if (!folded || !query.exec("BEGIN EXCLUSIVE")) {
        const QSqlError error = query.lastError();
        return error.type() == QSqlError::NoError || IsBusy(error) ? kInUse
                                                                   : error.text().toStdString();
    }
    const std::string error = MoveFile(from, to);
    query.exec("ROLLBACK");
    return error;
}

std::string MoveUnused(const std::string& from, const std::string& to) {
    const QString connection = QStringLiteral("kestrix-archive-move");
    std::string error;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", connection);
        database.setDatabaseName(QString::fromStdString(from));
        database.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        error = database.open() ? MoveExclusively(database, from, to)
                                : database.lastError().text().toStdString();
        database.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return error;
}

} // namespace

std::string DefaultArchivePath(const std::string& configPath) {
    if (!IsDefaultConfig(configPath)) {
        return QFileInfo(QString::fromStdString(configPath))
            .absoluteDir()
            .absoluteFilePath(kArchiveFileName)
            .toStdString();
    }
    const std::string older = OlderArchivePath();
    const std::string current = DataFolderArchivePath();
    return Exists(older) && !Exists(current) ? older : current;
}

ArchiveMove MoveArchive(const std::string& from, const std::string& to) {
    if (!Exists(from)) {
        return {};
    }
    // One folder for the configuration and the data: the older place is the new one.
    if (std::error_code ignored; fs::equivalent(from, to, ignored)) {
        return {};
    }
    if (Exists(to)) {
        return {ArchiveMoveOutcome::kBothKept, "the archive is \"" + to +
                                                   "\"; the older archive \"" + from +
                                                   "\" is left as it was"};
    }
    if (!fs::is_regular_file(from)) {
        return NotMoved(from, "it is not a regular file");
    }
    if (const std::string error = MoveUnused(from, to); !error.empty()) {
        return NotMoved(from, error);
    }
    return {ArchiveMoveOutcome::kMoved,
            "the archive was moved from \"" + from + "\" to \"" + to + "\""};
}

ArchiveMove MoveOlderArchive(const std::string& configPath) {
    const ArchiveSettings settings = ReadArchiveSettings(configPath);
    if (!settings.enabled || !settings.url.empty() || !settings.defaultFile ||
        !IsDefaultConfig(configPath)) {
        return {};
    }
    return MoveArchive(OlderArchivePath(), DataFolderArchivePath());
}

} // namespace kestrix::archive
