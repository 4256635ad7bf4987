#include "kestrix/archive/PrivateCopy.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/archiveSettings.h"

namespace kestrix::archive {

namespace {

[[noreturn]] void CannotCopy(const ArchiveDatabase& original, const std::string& why) {
    throw ArchiveError("the archive \"" + original.Place() +
                       "\" was made by an older program and a reader does not change it; the "
                       "private copy to read could not be made (" +
                       why +
                       "): free space in the temporary folder, or open the archive once with "
                       "write access (archive import, a download) to bring it forward");
}

} // namespace

PrivateCopy::PrivateCopy(ArchiveDatabase& original) {
    if (!folder_.isValid()) {
        CannotCopy(original, folder_.errorString().toStdString());
    }
    path_ = folder_.filePath(kArchiveFileName).toStdString();
    try {
        // Reads the pages a reader sees, the write-ahead log's included, in one snapshot.
        original.Run("VACUUM INTO ?", {QString::fromStdString(path_)});
    } catch (const ArchiveError& error) {
        CannotCopy(original, error.what());
    }
}

} // namespace kestrix::archive
